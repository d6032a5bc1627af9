# Flies every built-in scenario of the demo runner, pictures included, and fails on the first run that
# does not end cleanly or in which the add-on showed a message (a sanitizer's report ends the run too).
#   cmake -DSIM=<skyveil-sim> -DOUT=<folder> -P fly_builtins.cmake
execute_process(COMMAND ${SIM} --list OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
string(REGEX MATCHALL "[^\n]+" names "${listing}")
if(NOT rc EQUAL 0 OR NOT names)
  message(FATAL_ERROR "skyveil-sim --list: ${rc}, no scenario names")
endif()
foreach(name IN LISTS names)
  execute_process(COMMAND ${SIM} --scenario ${name} --no-progress --out ${OUT}/${name} RESULT_VARIABLE rc
                  OUTPUT_VARIABLE said)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "scenario ${name}: ${rc}")
  endif()
  # The default host is one the add-on serves: a message box there is a failure, though the flight goes on.
  if(said MATCHES "message box")
    message(FATAL_ERROR "scenario ${name}: ${said}")
  endif()
  message(STATUS "scenario ${name}: flown")
endforeach()
