# Runs the simulator on scenario files as a mod author would: a bad file exits with 2 and one
# line naming the file and the field; a good one writes its INI for the plug-in and runs.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})

file(WRITE ${WORKDIR}/bad.json "{\"player\": {\"position\": [0, 0]}}")
execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/game --minutes 1 --scenario ${WORKDIR}/bad.json
                RESULT_VARIABLE bad_status ERROR_VARIABLE bad_error OUTPUT_QUIET)
if(NOT bad_status EQUAL 2)
    message(FATAL_ERROR "a bad scenario gave status ${bad_status}, not 2")
endif()
string(STRIP "${bad_error}" bad_error)
if(bad_error MATCHES "\n" OR NOT bad_error MATCHES "^tarrowind-sim: .*bad.json: player.position: expected ")
    message(FATAL_ERROR "a bad scenario's error is not the one line naming file and field: '${bad_error}'")
endif()

file(WRITE ${WORKDIR}/quiet.json "{\"player\": {\"position\": [0, 0, 0]},
  \"ini\": [\"[Logging]\", \"EnableDebugLogging=false\", \"[Encounters]\", \"Event1_Aggressor=false\"]}")
execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/game --minutes 2 --quiet
                        --scenario ${WORKDIR}/quiet.json
                RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "a good scenario failed (${status}): ${err}")
endif()
file(READ ${WORKDIR}/game/Tarrowind/Tarrowind.ini ini)
if(NOT ini MATCHES "Event1_Aggressor=false")
    message(FATAL_ERROR "the scenario's INI was not written for the plug-in: '${ini}'")
endif()
