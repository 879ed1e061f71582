#include "sim/app/checks/scenario_checks.h"

using nlohmann::json;

namespace {

std::string Minutes(uint64_t minutes) {
    return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
}

}  // namespace

std::string ExpectNotCheckedReason(const RunChoice& own, const RunChoice& run) {
    const bool otherSeed = own.seed != run.seed;
    const bool otherLength = own.minutes != run.minutes;
    if (otherSeed && otherLength) {
        return "this run's seed " + std::to_string(run.seed) + " and " + Minutes(run.minutes) +
               " differ from the scenario's seed " + std::to_string(own.seed) + " and " +
               Minutes(own.minutes);
    }
    if (otherSeed) {
        return "this run's seed " + std::to_string(run.seed) +
               " differs from the scenario's seed " + std::to_string(own.seed);
    }
    if (otherLength) {
        return "this run's " + Minutes(run.minutes) + (run.minutes == 1 ? " differs" : " differ") +
               " from the scenario's " + Minutes(own.minutes);
    }
    return "";
}

ScenarioChecks ReadScenarioChecks(const ScenarioReader& in, const ScenarioRunSettings& scenario,
                                  const RunChoice& run, const json& figures) {
    ScenarioChecks checks;
    checks.always = ReadExpectations(in, "always", scenario.always, figures);
    checks.expect = ReadExpectations(in, "expect", scenario.expect, figures);
    checks.expectNotChecked = ExpectNotCheckedReason(ScenarioOwnRun(scenario), run);
    return checks;
}

std::string CheckResults::FirstProblem() const {
    if (!breaches.empty()) {
        return "call contract broken: " + breaches.front();
    }
    if (!alwaysUnmet.empty()) {
        return alwaysUnmet.front();
    }
    return expectUnmet.empty() ? "" : expectUnmet.front();
}

CheckResults CheckRun(const ScenarioChecks& checks, const json& figures,
                      const std::vector<LoggedLine>& lines,
                      const std::vector<std::string>& contractBreaches) {
    CheckResults results;
    results.breaches = contractBreaches;
    results.alwaysUnmet = UnmetExpectations(checks.always, figures, lines);
    if (checks.expectNotChecked.empty()) {
        results.expectUnmet = UnmetExpectations(checks.expect, figures, lines);
    }
    return results;
}

std::string ChecksText(const ScenarioChecks& checks, const CheckResults& results) {
    std::string text;
    if (checks.always.Count() > 0) {
        text += "always checks met: " +
                std::to_string(checks.always.Count() - results.alwaysUnmet.size()) + " of " +
                std::to_string(checks.always.Count()) + "\n";
    }
    if (checks.expect.Count() > 0 && !checks.expectNotChecked.empty()) {
        text += "expectations not checked: " + checks.expectNotChecked + "\n";
    } else if (checks.expect.Count() > 0) {
        text += "expectations met: " +
                std::to_string(checks.expect.Count() - results.expectUnmet.size()) + " of " +
                std::to_string(checks.expect.Count()) + "\n";
    }
    return text;
}

json ChecksJson(const ScenarioChecks& checks, const CheckResults& results) {
    json j;
    j["always"] = {{"count", checks.always.Count()}, {"unmet", results.alwaysUnmet}};
    j["expect"] = {{"count", checks.expect.Count()},
                   {"checked", checks.expectNotChecked.empty()},
                   {"unmet", results.expectUnmet}};
    if (!checks.expectNotChecked.empty()) {
        j["expect"]["not_checked_because"] = checks.expectNotChecked;
    }
    j["contract_breaches"] = results.breaches;
    j["passed"] = results.Passed();
    j["first_problem"] = results.FirstProblem();
    return j;
}
