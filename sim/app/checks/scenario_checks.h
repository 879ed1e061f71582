// The two blocks of checks a scenario may have. "always" must hold in every run of it, whatever
// its seed and length; "expect" is what the scenario's own run (its seed, its minutes) shows,
// and is checked on that run only: on another, one line says why it was not.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/app/checks/expectations.h"
#include "sim/app/run/sim_options.h"

struct ScenarioChecks {
    Expectations always;
    Expectations expect;
    // Why "expect" does not apply to this run; empty when it does.
    std::string expectNotChecked;
};

// Reads both blocks for a run of this seed and length. `figures` as for ReadExpectations; a
// mistake in either block throws ScenarioError naming the field, whether or not it applies.
ScenarioChecks ReadScenarioChecks(const ScenarioReader& in, const ScenarioRunSettings& scenario,
                                  const RunChoice& run, const nlohmann::json& figures);

// Why the scenario's own expectations say nothing about this run ("this run's seed 1 and 5
// minutes differ from the scenario's seed 29 and 60 minutes"); empty when it is its own run.
std::string ExpectNotCheckedReason(const RunChoice& own, const RunChoice& run);

// What a finished run broke, in the order it is told: breaches of the call contract (which
// stopped it), then "always", then "expect" when it applies.
struct CheckResults {
    std::vector<std::string> breaches;
    std::vector<std::string> alwaysUnmet;
    std::vector<std::string> expectUnmet;
    bool Passed() const { return breaches.empty() && alwaysUnmet.empty() && expectUnmet.empty(); }
    // The first of them, as one line; empty when the run passed.
    std::string FirstProblem() const;
};

CheckResults CheckRun(const ScenarioChecks& checks, const nlohmann::json& figures,
                      const std::vector<LoggedLine>& lines,
                      const std::vector<std::string>& contractBreaches);

// The lines that end a run's summary: how many of each block were met, or why "expect" was not
// checked (nothing for a block the scenario does not have).
std::string ChecksText(const ScenarioChecks& checks, const CheckResults& results);
// The same for --summary-json, with every unmet check.
nlohmann::json ChecksJson(const ScenarioChecks& checks, const CheckResults& results);
