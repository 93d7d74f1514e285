# The launcher's text rules: code free of Windows calls, kept in the rules/ folder of its
# subsystem (src/<subsystem>/rules/<Name>.cpp; the header stays beside the classes that call it).
# Every such file is built on the host as well, with sanitizers, for its unit test
# tests/<subsystem>/<Name>_test.cpp and the fuzz targets.
file(GLOB_RECURSE QRV_RULE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER QRV_RULE_SOURCES INCLUDE REGEX "/rules/[^/]+\\.cpp$")
set(QRV_RULE_TESTS "")
foreach(source ${QRV_RULE_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  get_filename_component(dir ${source} DIRECTORY)
  get_filename_component(dir ${dir} DIRECTORY)
  file(RELATIVE_PATH subsystem ${CMAKE_SOURCE_DIR}/src ${dir})
  set(test ${CMAKE_SOURCE_DIR}/tests/${subsystem}/${name}_test.cpp)
  if(EXISTS ${test})
    list(APPEND QRV_RULE_TESTS ${test})
  endif()
endforeach()
