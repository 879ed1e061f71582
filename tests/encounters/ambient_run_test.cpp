// Hours in the town with its people acting on their own and the three encounters enabled:
// between encounters no ped is left owned and no blip left standing.
#include <gtest/gtest.h>

#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

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

}  // namespace
