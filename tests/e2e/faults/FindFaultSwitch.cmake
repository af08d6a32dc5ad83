# Looks for the fault switch in a built program: its environment variable's name among the program's
# strings and, where the program keeps its symbols, the switch's class among them.
# cmake -DPROGRAM=<exe> -DEXPECT=absent|present [-DNM=<nm>] -P FindFaultSwitch.cmake
file(STRINGS "${PROGRAM}" found REGEX "VEXA_FAULT")
if(NM)
  execute_process(COMMAND "${NM}" -C "${PROGRAM}" OUTPUT_VARIABLE symbols ERROR_QUIET)
  string(REGEX MATCH "FaultSwitch::BeforeCommand" symbol "${symbols}")
  list(APPEND found ${symbol})
endif()
if(EXPECT STREQUAL "absent" AND found)
  message(FATAL_ERROR "${PROGRAM} carries the fault switch: ${found}")
elseif(EXPECT STREQUAL "present" AND NOT found)
  message(FATAL_ERROR "${PROGRAM} shows no fault switch, so the check cannot see one")
endif()
message(STATUS "${PROGRAM}: fault switch ${EXPECT}")
