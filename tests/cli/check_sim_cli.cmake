# Runs the simulator from the command line as a user would: a bad argument exits with 2 and
# one line; a default run (the town scenario, its length, another seed) writes the start-up lines
# and a JSON summary, and meets what every run of the town must.
execute_process(COMMAND ${SIM} --minutes banana RESULT_VARIABLE bad_status
                ERROR_VARIABLE bad_error OUTPUT_QUIET)
if(NOT bad_status EQUAL 2)
    message(FATAL_ERROR "bad argument gave status ${bad_status}, not 2")
endif()
string(STRIP "${bad_error}" bad_error)
if(bad_error MATCHES "\n" OR NOT bad_error MATCHES "^tarrowind-sim: ")
    message(FATAL_ERROR "bad argument error is not one line: '${bad_error}'")
endif()

file(REMOVE_RECURSE ${WORKDIR})
execute_process(COMMAND ${SIM} --workdir ${WORKDIR} --seed 3
                        --summary-json ${WORKDIR}/summary.json
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "default run failed (${status}): ${err}")
endif()
foreach(expected "Tarrowind script started" "Weather event registry initialized with 3 events"
                 "---- summary")
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "'${expected}' missing from the run's output:\n${out}")
    endif()
endforeach()
file(READ ${WORKDIR}/summary.json summary)
foreach(key simulated_minutes wall_seconds frames encounters_run encounter_picks_skipped
            weather_events_run natives_called max_natives_in_one_frame natives_per_idle_frame
            peds_left_owned blips_left longest_encounter_s)
    string(JSON value ERROR_VARIABLE missing GET "${summary}" ${key})
    if(missing)
        message(FATAL_ERROR "summary.json has no ${key}")
    endif()
endforeach()
# A first short run of the default town passes: the town's own expectations are for its own
# hour and seed, and the run says it did not check them.
execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/short --minutes 5 --seed 1 --quiet
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "\nalways checks met: [0-9]+ of [0-9]+\n" OR NOT out MATCHES
   "\nexpectations not checked: this run's seed 1 and 5 minutes differ from the scenario's seed 29 and 60 minutes\n")
    message(FATAL_ERROR "a short run of the default town gave status ${status}:\n${out}\n${err}")
endif()
file(GLOB logs ${WORKDIR}/Tarrowind/logs/Tarrowind_*.log)
if(NOT logs)
    message(FATAL_ERROR "no log file was written under ${WORKDIR}/Tarrowind/logs")
endif()

# A trace names each native with its arguments and holds the log lines among the calls; two
# runs of one seed trace the same bytes (no address or wall time leaks into it), which is
# what lets a trace prove a change of the code changed nothing. Another seed is another
# evening.
foreach(copy one two other)
    set(seed 3)
    if(copy STREQUAL "other")
        set(seed 4)
    endif()
    file(REMOVE_RECURSE ${WORKDIR}/traced)  # the same folder: its path is in a log line
    execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/traced --minutes 10 --seed ${seed}
                            --quiet --trace ${WORKDIR}/${copy}.trace
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "traced run failed (${status}): ${err}")
    endif()
endforeach()
file(READ ${WORKDIR}/one.trace one)
file(READ ${WORKDIR}/two.trace two)
file(READ ${WORKDIR}/other.trace other)
if(NOT one STREQUAL two)
    message(FATAL_ERROR "two traced runs of seed 3 differ")
endif()
if(one STREQUAL other)
    message(FATAL_ERROR "seeds 3 and 4 traced the same run")
endif()
foreach(expected "\n5.049 log INFO Tarrowind script started\n" " GET_MISSION_FLAG() = false\n"
                 " wait 0\n")
    string(FIND "${one}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "'${expected}' missing from the trace")
    endif()
endforeach()
