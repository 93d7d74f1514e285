# What a package's maker may change without editing a source file: the version information of
# setup.exe and cleanup.exe, setup.exe's icon and the execution level its manifest asks for.
# Writes QRV_BRANDING_DIR/branding.h (read by src/resources/version.rci and setup.rc) and
# setup.manifest; an empty option takes its default at every configure, so a version raised in
# project() reaches a build tree that was configured before.
set(QRV_PRODUCT_NAME "Quorvan Installer" CACHE STRING "ProductName of both programs")
set(QRV_VERSION "" CACHE STRING "Version, one to four numbers such as 2.1.0; empty: the project's")
set(QRV_COMPANY "Quorvan" CACHE STRING "CompanyName of both programs")
set(QRV_COPYRIGHT "" CACHE STRING "LegalCopyright of both programs; empty: Copyright (C) <company>")
set(QRV_ICON "" CACHE FILEPATH "Icon (.ico) of setup.exe and its dialog; empty: the built-in one")
set(QRV_EXECUTION_LEVEL asInvoker CACHE STRING "requestedExecutionLevel of setup.exe's manifest")
set_property(CACHE QRV_EXECUTION_LEVEL PROPERTY STRINGS asInvoker highestAvailable
             requireAdministrator)

set(version "${QRV_VERSION}")
if(version STREQUAL "")
  set(version "${PROJECT_VERSION}")
endif()
if(NOT version MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
  message(FATAL_ERROR "QRV_VERSION '${version}': one to four numbers separated by dots")
endif()
string(REPLACE "." ";" numbers "${version}")
foreach(number ${numbers})
  if(number GREATER 65535)
    message(FATAL_ERROR "QRV_VERSION '${version}': each number must be at most 65535")
  endif()
endforeach()
list(LENGTH numbers count)
while(count LESS 4)
  list(APPEND numbers 0)
  math(EXPR count "${count} + 1")
endwhile()
string(REPLACE ";" "," QRV_VERSION_NUMBERS "${numbers}")

if(NOT QRV_EXECUTION_LEVEL MATCHES "^(asInvoker|highestAvailable|requireAdministrator)$")
  message(FATAL_ERROR "QRV_EXECUTION_LEVEL '${QRV_EXECUTION_LEVEL}': asInvoker, "
                      "highestAvailable or requireAdministrator")
endif()

# A text as a string literal that the resource compiler and C++ read alike.
function(qrv_literal out text)
  if(text MATCHES "[\"\n]")
    message(FATAL_ERROR "'${text}': branding texts hold no double quote and no line break")
  endif()
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(copyright "${QRV_COPYRIGHT}")
if(copyright STREQUAL "")
  set(copyright "Copyright (C) ${QRV_COMPANY}")
endif()
qrv_literal(QRV_PRODUCT_NAME_LITERAL "${QRV_PRODUCT_NAME}")
qrv_literal(QRV_COMPANY_LITERAL "${QRV_COMPANY}")
qrv_literal(QRV_COPYRIGHT_LITERAL "${copyright}")
qrv_literal(QRV_VERSION_LITERAL "${version}")
set(QRV_BRANDING_DIR ${CMAKE_BINARY_DIR}/branding)
# What the resource scripts read besides their #includes (which the dependency scan follows).
set(QRV_BRANDING_FILES ${QRV_BRANDING_DIR}/branding.h ${QRV_BRANDING_DIR}/setup.manifest)
set(QRV_ICON_DEFINE "")
if(NOT QRV_ICON STREQUAL "")
  get_filename_component(icon "${QRV_ICON}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
  if(NOT EXISTS "${icon}")
    message(FATAL_ERROR "QRV_ICON '${QRV_ICON}' does not exist")
  endif()
  list(APPEND QRV_BRANDING_FILES "${icon}")
  qrv_literal(icon "${icon}")
  set(QRV_ICON_DEFINE "#define QRV_ICON_FILE ${icon}")
endif()

configure_file(${CMAKE_SOURCE_DIR}/src/resources/branding.h.in ${QRV_BRANDING_DIR}/branding.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/resources/setup.manifest.in
               ${QRV_BRANDING_DIR}/setup.manifest @ONLY)
