# Host (Linux, clang) build of the text rules with AddressSanitizer and UndefinedBehaviorSanitizer:
# their unit tests, and one libFuzzer target per tests/fuzz/*.cpp with a seed corpus beside it.
include(${CMAKE_SOURCE_DIR}/cmake/text-rules.cmake)

set(QRV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -Werror -g -O1)

add_library(qrv_rules STATIC ${QRV_RULE_SOURCES})
target_include_directories(qrv_rules PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qrv_rules PUBLIC ${QRV_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(qrv_rules PUBLIC ${QRV_SANITIZE})

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

enable_testing()
add_executable(host_rules_tests ${QRV_RULE_TESTS})
target_link_libraries(host_rules_tests PRIVATE qrv_rules gtest_main)
# Every test file reads GoogleTest's header: parsed once.
target_precompile_headers(host_rules_tests PRIVATE <gtest/gtest.h> <string> <vector>)
add_test(NAME host_rules COMMAND host_rules_tests --gtest_brief=1)

# The package author's checker for this machine, from the same rules, and its test program.
file(GLOB QRV_CHECK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/check/*.cpp)
list(FILTER QRV_CHECK_SOURCES EXCLUDE REGEX "/CheckMain\\.cpp$")
add_library(qrv_check STATIC ${QRV_CHECK_SOURCES})
target_link_libraries(qrv_check PUBLIC qrv_rules)
add_executable(qrv-check ${CMAKE_SOURCE_DIR}/src/check/CheckMain.cpp)
target_link_libraries(qrv-check PRIVATE qrv_check)
file(GLOB QRV_CHECK_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/check/*Check_test.cpp)
add_executable(host_check_tests ${QRV_CHECK_TESTS})
target_link_libraries(host_check_tests PRIVATE qrv_check gtest_main)
add_test(NAME host_check COMMAND host_check_tests --gtest_brief=1)

# Each fuzz target runs briefly in the test suite as a smoke test; scripts/fuzz runs them longer.
file(GLOB QRV_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
foreach(source ${QRV_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(fuzz_${name} ${source})
  target_link_libraries(fuzz_${name} PRIVATE qrv_rules)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  # New inputs go to a scratch corpus in the build tree, and a failing input (crash-, leak-,
  # timeout-, oom-) below it too, whatever directory the target runs in; the kept seeds are
  # only read.
  set(scratch ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${scratch} ${CMAKE_BINARY_DIR}/fuzz-out)
  add_test(NAME fuzz_smoke_${name}
           COMMAND fuzz_${name} -max_total_time=2 -timeout=10
                   -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-out/${name}- ${scratch}
                   ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
endforeach()
