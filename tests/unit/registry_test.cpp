// The in-game hour rules of the two night encounters (the registries' rebuilding is the main
// loop test's second start).
#include <gtest/gtest.h>

#include "scheduling/encounter_registry.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

TEST(RegistryTest, NightEncountersAreSkippedByDay) {
    TempWorkdir dir;
    World world;
    world.settings.gameMinutesPerRealSecond = 0;
    SimRun run(world);
    // The hour, and whether the predator attack, the mugging and any other encounter run.
    const int cases[][4] = {{5, 1, 0, 1},  {6, 0, 0, 1},  {12, 0, 0, 1}, {19, 0, 0, 1},
                            {20, 1, 0, 1}, {21, 1, 1, 1}, {0, 1, 1, 1},  {4, 1, 1, 1}};
    const char* const names[] = {"event3_animal_aggressor", "event5_mugging", "event1_aggressor"};
    static int ran = 0;
    for (const auto& c : cases) {
        world.Environment().SetClock(c[0], 30);
        for (int e = 0; e < 3; ++e) {
            EncounterRegistry.clear();
            RegisterEvent(names[e], [] { ++ran; });
            ran = 0;
            EXPECT_EQ(SelectAndRunEvent(), c[e + 1] == 0) << names[e] << " at " << c[0];
            EXPECT_EQ(ran, c[e + 1]) << names[e] << " at " << c[0];
        }
    }
}

}  // namespace
