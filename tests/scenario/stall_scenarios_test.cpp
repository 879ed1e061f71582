// Scenes in which an encounter once held the script for the evening (tests/scenario/stalls/),
// for two simulated hours: the watch gives up at its limit and leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "encounters/watch_limit.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/world/scenario_file.h"
#include "support/temp_workdir.h"

namespace {

struct StallScene {
    const char* file;
    const char* encounter;
    const char* givenUp;  // the watch's line at its limit
    int number;           // the encounter's number in its closing lines
};

void PrintTo(const StallScene& scene, std::ostream* out) {
    *out << scene.file;
}

class StallScenarioTest : public ::testing::TestWithParam<StallScene> {};

TEST_P(StallScenarioTest, TheWatchGivesUpCleanlyAndEncountersGoOn) {
    const StallScene& scene = GetParam();
    TempWorkdir dir;
    World world(1);
    ScenarioInfo info;
    std::string error;
    ASSERT_TRUE(
        LoadScenarioFile(std::string(TARROWIND_SOURCE_DIR) + "/tests/scenario/stalls/" + scene.file,
                         world, &info, &error))
        << error;
    ASSERT_TRUE(WriteScenarioIni(info, ".", &error)) << error;
    SimRun run(world, HostOptionsForSeed(1));
    run.LoadPlugin();

    const auto& spans = run.Spans().Spans();
    while (spans.empty() || spans.front().end == SpanEnd::kRunning) {
        ASSERT_TRUE(run.Run(1000));
        ASSERT_LT(run.Host().NowMs(), 20 * 60000u) << "the first encounter never ended";
    }
    const EventSpan first = spans.front();
    EXPECT_EQ(first.name, scene.encounter);
    EXPECT_EQ(first.end, SpanEnd::kBounded);
    EXPECT_GE(first.HeldMs(0), kWatchLimitMs);
    const std::vector<std::string> messages = run.Messages();
    const auto givenUp = std::find(messages.begin(), messages.end(), scene.givenUp);
    ASSERT_GE(messages.end() - givenUp, 3);
    EXPECT_EQ(
        std::vector<std::string>(givenUp, givenUp + 3),
        (std::vector<std::string>{
            scene.givenUp, "Event " + std::to_string(scene.number) + " logic executed successfully",
            std::string(scene.encounter) + " completed successfully"}));

    ASSERT_TRUE(run.Run(2 * 3600 * 1000));
    ASSERT_TRUE(run.FinishRunningEvent(kLongestEncounterHoldMs));
    EXPECT_GE(run.Figures().encountersRun.at(scene.encounter), 10u);
    EXPECT_LE(run.Spans().LongestEncounter(run.Host().NowMs())->HeldMs(0), kLongestEncounterHoldMs);
    EXPECT_EQ(world.OwnedPedCount(), 0u);
    EXPECT_TRUE(world.Blips().empty());
    EXPECT_TRUE(run.Host().Violations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stalls, StallScenarioTest,
    ::testing::Values(StallScene{"gunman_lives_on.json", "event1_aggressor",
                                 "Confrontation has gone on for 5 minutes, ending event.", 1},
                      StallScene{"rider_stays_near.json", "event6_horse_bucking",
                                 "Bucking event has gone on for 5 minutes, ending event.", 6}));

}  // namespace
