# A scenario that says how long it runs, with which seed and what should come of it, run as a
# mod author would: met expectations exit 0; a wrong one exits 1 with one line naming it; a
# mistake in them exits 2 before running; --report writes the page. "expect" is checked on the
# scenario's own run only, "always" on every run.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})

function(write_scenario name expect)
    set(always "")
    if(ARGC GREATER 2)
        set(always ", \"always\": ${ARGV2}")
    endif()
    file(WRITE ${WORKDIR}/${name}.json "{\"player\": {\"position\": [0, 0, 0]},
  \"minutes\": 2, \"seed\": 5,
  \"only_encounters\": [],
  \"expect\": ${expect}${always}}")
endfunction()

function(run_sim name)
    execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/game --quiet
                            --scenario ${WORKDIR}/${name}.json ${ARGN}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(status ${status} PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
    # The sanitizer build warns about script fibers on standard error; that is not ours.
    string(REGEX REPLACE "==[0-9]+==WARNING: ASan[^\n]*\n" "" err "${err}")
    string(STRIP "${err}" err)
    set(err "${err}" PARENT_SCOPE)
endfunction()

# Met: the scenario's own length is used, and the command line wins over it.
write_scenario(met "{\"summary\": {\"peds_left_owned\": 0, \"simulated_minutes\": {\"at_least\": 2, \"at_most\": 2.1}},
                     \"log_has\": [\"[INFO] Tarrowind script started\"]}")
run_sim(met --report ${WORKDIR}/met.html)
if(NOT status EQUAL 0 OR NOT out MATCHES "expectations met: 3 of 3")
    message(FATAL_ERROR "met expectations gave status ${status}:\n${out}\n${err}")
endif()
file(READ ${WORKDIR}/met.html page)
if(NOT page MATCHES "<svg class=\"timeline\"" OR page MATCHES "https?:")
    message(FATAL_ERROR "--report did not write a self-contained page")
endif()
# Another length is not the scenario's own run: its expectations are not checked, and one line
# says why; what must hold in every run still must.
run_sim(met --minutes 1)
if(NOT status EQUAL 0 OR NOT out MATCHES
   "expectations not checked: this run's 1 minute differs from the scenario's 2 minutes\n")
    message(FATAL_ERROR "--minutes 1 checked the scenario's own expectations (${status}): ${out}")
endif()
write_scenario(always "{\"encounters_run\": {\"event1_aggressor\": 0}}"
               "{\"summary\": {\"simulated_minutes\": {\"at_least\": 2}}}")
run_sim(always --minutes 1 --seed 8)
if(NOT status EQUAL 1 OR NOT out MATCHES "always checks met: 0 of 1\n" OR NOT err MATCHES
   "^tarrowind-sim: unmet expectation: always.summary.simulated_minutes: expected at least 2, got 1[.][0-9]+$")
    message(FATAL_ERROR "--minutes 1 did not override the scenario's 2 (${status}): ${err}")
endif()

# The scenario's seed is the run's unless --seed says otherwise: the same delays are drawn.
function(log_lines out_var)
    execute_process(COMMAND ${SIM} --workdir ${WORKDIR}/game --scenario ${WORKDIR}/met.json
                            ${ARGN} OUTPUT_VARIABLE out ERROR_QUIET)
    string(REGEX MATCHALL "Generated random delay: [0-9]+ms" delays "${out}")
    set(${out_var} "${delays}" PARENT_SCOPE)
endfunction()
log_lines(own)
log_lines(same --seed 5)
log_lines(other --seed 6)
if(own STREQUAL "" OR NOT own STREQUAL same OR own STREQUAL other)
    message(FATAL_ERROR "the scenario's seed 5 was not the run's: '${own}', '${same}', '${other}'")
endif()

# Unmet: one line that names the expectation, what was expected and what happened.
write_scenario(wrong "{\"encounters_run\": {\"event1_aggressor\": {\"at_least\": 1}}}")
run_sim(wrong)
if(NOT status EQUAL 1 OR NOT err STREQUAL
   "tarrowind-sim: unmet expectation: expect.encounters_run.event1_aggressor: expected at least 1, got 0")
    message(FATAL_ERROR "a wrong expectation gave status ${status} and: '${err}'")
endif()

# A mistake: refused before the run, like any other mistake in the file.
write_scenario(bad "{\"summary\": {\"peds_left\": 0}}")
run_sim(bad)
if(NOT status EQUAL 2 OR err MATCHES "\n" OR NOT err MATCHES
   "^tarrowind-sim: .*bad.json: expect.summary.peds_left: unknown field; expected one of ")
    message(FATAL_ERROR "a mistaken expectation gave status ${status} and: '${err}'")
endif()
