// The main loop with encounters enabled: hours in a living town leave nothing behind between
// encounters, and the two night encounters keep to the night.

#include "encounter_fixture.h"
#include "sim/host/run_setup.h"

namespace {

TEST(AmbientRunTest, HoursInTownLeaveNoPedOwnedAndNoBlipBetweenEncounters) {
    TempWorkdir dir;
    World world(3);
    std::string error;
    ASSERT_TRUE(BuildWorldForRun(world, TARROWIND_SOURCE_DIR "/scenarios/town.json", &error))
        << error;
    dir.WriteIni(IniWith({"Event1_Aggressor", "Event2_Aggressor_Player", "Event6_Horse_Bucking"}));
    HostOptions options = HostOptionsForSeed(3);
    options.recordCalls = false;
    SimRun run(world, options);
    run.LoadPlugin();
    size_t idleChecks = 0;
    for (int second = 0; second < 3 * 3600; ++second) {
        ASSERT_TRUE(run.Run(1000));
        if (run.EventInProgress().empty()) {
            ASSERT_EQ(world.OwnedPedCount(), 0u) << "at " << world.NowMs() << " ms";
            ASSERT_TRUE(world.Blips().empty()) << "at " << world.NowMs() << " ms";
            ++idleChecks;
        }
    }
    ASSERT_TRUE(run.FinishRunningEvent(30 * 60000));
    EXPECT_EQ(world.OwnedPedCount(), 0u);
    EXPECT_TRUE(world.Blips().empty());
    EXPECT_GT(idleChecks, 0u);
    const RunFigures& figures = run.Figures();
    for (const char* name :
         {"event1_aggressor", "event2_aggressor_player", "event6_horse_bucking"}) {
        EXPECT_GT(figures.encountersRun.count(name) ? figures.encountersRun.at(name) : 0u, 5u)
            << name;
    }
    EXPECT_EQ(figures.mainLoopExceptions, 0u);
    EXPECT_TRUE(run.Host().Violations().empty());
}

// Each night encounter's switch registers it under the night rule (whose hours the registry's
// tests cover): at noon the main loop skips it.
struct NightEncounter {
    const char* iniKey;
    const char* name;
};
class NightEncounterTest : public EncounterTest,
                           public ::testing::WithParamInterface<NightEncounter> {};

TEST_P(NightEncounterTest, IsSkippedAtNoon) {
    world.AddTownsfolk(Near(5));
    world.AddTownsfolk(Near(6), false);
    world.Environment().SetClock(12, 0);
    RunPlugin(IniWith({GetParam().iniKey}), 90000);
    const std::string name = GetParam().name;
    EXPECT_TRUE(Logged("Skipping " + name + " due to time constraints (current hour: 12)"));
    EXPECT_FALSE(Logged("Executing " + name));
}
INSTANTIATE_TEST_SUITE_P(Encounters, NightEncounterTest,
                         ::testing::Values(NightEncounter{"Event3_Animal_Predator",
                                                          "event3_animal_aggressor"},
                                           NightEncounter{"Event5_Mugging", "event5_mugging"}));

}  // namespace
