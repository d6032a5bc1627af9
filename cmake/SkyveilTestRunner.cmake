# How the test programs of a 32-bit x86 Linux build start, as scripts/probe-32bit finds it at configure
# time: natively; under qemu-i386 as CMake's cross-compiling emulator, which CTest puts before every test
# program and before their listing for discovery; or not at all, where the tests are built but not
# registered and one skipped test says why. SKYVEIL_TEST_RUNNER holds the answer's first word.
set(SKYVEIL_TEST_RUNNER native)
if(WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env CC=${CMAKE_C_COMPILER} ${PROJECT_SOURCE_DIR}/scripts/probe-32bit run
                OUTPUT_VARIABLE skyveil_probe OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^([a-z]*) ?(.*)$" skyveil_probe "${skyveil_probe}")
set(SKYVEIL_TEST_RUNNER "${CMAKE_MATCH_1}")
set(skyveil_probe_detail "${CMAKE_MATCH_2}")
if(SKYVEIL_TEST_RUNNER STREQUAL "emulated")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${skyveil_probe_detail})
  message(STATUS "32-bit test programs run under ${skyveil_probe_detail}: this machine does not start them natively")
elseif(NOT SKYVEIL_TEST_RUNNER STREQUAL "native")
  set(SKYVEIL_TEST_RUNNER none)
  set(skyveil_not_run "warning: the 32-bit tests are built but not run: ${skyveil_probe_detail}")
  message(STATUS "${skyveil_not_run}")
  add_test(NAME ThirtyTwoBit.TestsNotRunOnThisMachine COMMAND ${CMAKE_COMMAND} -E echo "${skyveil_not_run}")
  set_tests_properties(ThirtyTwoBit.TestsNotRunOnThisMachine PROPERTIES SKIP_REGULAR_EXPRESSION "^warning: ")
endif()
