# Flies every built-in scenario of the demo runner, pictures included, and fails on the first run that
# does not end cleanly (a sanitizer's report ends the run too).
#   cmake -DSIM=<skyveil-sim> -DOUT=<folder> -P fly_builtins.cmake
execute_process(COMMAND ${SIM} --list OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
string(REGEX MATCHALL "[^\n]+" names "${listing}")
if(NOT rc EQUAL 0 OR NOT names)
  message(FATAL_ERROR "skyveil-sim --list: ${rc}, no scenario names")
endif()
foreach(name IN LISTS names)
  execute_process(COMMAND ${SIM} --scenario ${name} --no-progress --out ${OUT}/${name} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "scenario ${name}: ${rc}")
  endif()
  message(STATUS "scenario ${name}: flown")
endforeach()
