// A scenario's "always" checks hold in every run; its "expect" only in its own run, and any
// other run says why it was not checked.
#include <gtest/gtest.h>

#include "sim/app/checks/scenario_checks.h"

namespace {

using nlohmann::json;

const json kFigures = json::parse(R"({"encounters_run": {}, "peds_left_owned": 2})");

ScenarioRunSettings Scenario() {
    ScenarioRunSettings scenario;
    scenario.minutes = 60;
    scenario.hasSeed = true;
    scenario.seed = 29;
    scenario.always = json::parse(R"({"summary": {"peds_left_owned": 0}})");
    scenario.expect = json::parse(R"({"encounters_run": {"event4_wagon_robbery": 1}})");
    return scenario;
}

ScenarioChecks Read(const ScenarioRunSettings& scenario, uint64_t seed, uint64_t minutes) {
    RunChoice run;
    run.seed = seed;
    run.minutes = minutes;
    return ReadScenarioChecks(ScenarioReader("town.json"), scenario, run, kFigures);
}

TEST(ScenarioChecksTest, ExpectIsCheckedOnTheScenariosOwnRunOnly) {
    const ScenarioChecks own = Read(Scenario(), 29, 60);
    CheckResults results = CheckRun(own, kFigures, {}, {});
    EXPECT_EQ(
        results.alwaysUnmet,
        std::vector<std::string>{"always.summary.peds_left_owned: expected exactly 0, got 2"});
    EXPECT_EQ(results.expectUnmet,
              std::vector<std::string>{
                  "expect.encounters_run.event4_wagon_robbery: expected exactly 1, got 0"});
    EXPECT_EQ(ChecksText(own, results), "always checks met: 0 of 1\nexpectations met: 0 of 1\n");

    const ScenarioChecks shorter = Read(Scenario(), 1, 5);
    results = CheckRun(shorter, kFigures, {}, {});
    EXPECT_EQ(results.alwaysUnmet.size(), 1u);
    EXPECT_TRUE(results.expectUnmet.empty());
    EXPECT_EQ(ChecksText(shorter, results),
              "always checks met: 0 of 1\nexpectations not checked: this run's seed 1 and 5 "
              "minutes differ from the scenario's seed 29 and 60 minutes\n");
    EXPECT_EQ(ChecksJson(shorter, results)["expect"]["checked"], false);
}

TEST(ScenarioChecksTest, TheReasonNamesWhatDiffers) {
    RunChoice own;
    own.seed = 29;
    own.minutes = 60;
    RunChoice run = own;
    EXPECT_EQ(ExpectNotCheckedReason(own, run), "");
    run.seed = 3;
    EXPECT_EQ(ExpectNotCheckedReason(own, run),
              "this run's seed 3 differs from the scenario's seed 29");
    run = own;
    run.minutes = 1;
    EXPECT_EQ(ExpectNotCheckedReason(own, run),
              "this run's 1 minute differs from the scenario's 60 minutes");
}

TEST(ScenarioChecksTest, AScenarioThatSaysNothingHasTheDefaultRunForItsOwn) {
    ScenarioRunSettings scenario = Scenario();
    scenario.minutes = 0;
    scenario.hasSeed = false;
    EXPECT_TRUE(Read(scenario, 1, 30).expectNotChecked.empty());
    EXPECT_EQ(Read(scenario, 1, 31).expectNotChecked,
              "this run's 31 minutes differ from the scenario's 30 minutes");
}

TEST(ScenarioChecksTest, TheFirstProblemIsABreachThenAlwaysThenExpect) {
    const ScenarioChecks own = Read(Scenario(), 29, 60);
    EXPECT_EQ(
        CheckRun(own, kFigures, {}, {"scriptWait called outside the script fiber"}).FirstProblem(),
        "call contract broken: scriptWait called outside the script fiber");
    EXPECT_EQ(CheckRun(own, kFigures, {}, {}).FirstProblem(),
              "always.summary.peds_left_owned: expected exactly 0, got 2");
    const json clean = json::parse(R"({"encounters_run": {}, "peds_left_owned": 0})");
    EXPECT_EQ(CheckRun(own, clean, {}, {}).FirstProblem(),
              "expect.encounters_run.event4_wagon_robbery: expected exactly 1, got 0");
    EXPECT_TRUE(CheckRun(Read(Scenario(), 1, 60), clean, {}, {}).Passed());
}

}  // namespace
