// The predator attack at night in the shipped town, through the real main loop: the townsfolk
// around its victim, of the game's civilian groups, are set against the predator's group.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "sim/world/scenario_file.h"
#include "support/temp_workdir.h"

namespace {

// The handle at the end of the last message that starts with `prefix` (0 when none).
int32_t HandleAfter(const SimRun& run, const std::string& prefix) {
    int32_t handle = 0;
    for (const std::string& message : run.Messages()) {
        if (message.rfind(prefix, 0) == 0) {
            handle = std::stoi(message.substr(prefix.size()));
        }
    }
    return handle;
}

TEST(PredatorInTown, TheTownsfolkAroundTheVictimAreHostileToThePredatorsGroup) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({"Event3_Animal_Predator"}));
    World world(3);
    std::string error;
    ASSERT_TRUE(LoadScenarioFile(std::string(TARROWIND_SOURCE_DIR) + "/scenarios/town.json", world,
                                 nullptr, &error))
        << error;
    ASSERT_GE(world.Environment().ClockHours(), 20) << "the town is meant to be at night";
    SimRun run(world);
    run.LoadPlugin();
    const std::string kAttack = "Initiating animal attack on victim: ";
    for (int second = 0; second < 180 && HandleAfter(run, kAttack) == 0; ++second) {
        ASSERT_TRUE(run.Run(1000));
    }
    const int32_t victim = HandleAfter(run, kAttack);
    ASSERT_NE(victim, 0) << "no attack within three minutes";
    const SimPed* animal = world.FindPed(HandleAfter(run, "Spawned ped "));
    ASSERT_NE(animal, nullptr);

    // The people the game lists around the victim, other than the law and the player.
    std::vector<uint32_t> townsfolkGroups;
    for (const int32_t handle : world.NearbyPeds(victim, 50)) {
        const SimPed* ped = world.FindPed(handle);
        if (ped->human && !ped->isPlayer && ped->group != Joaat("REL_COP")) {
            townsfolkGroups.push_back(ped->group);
            EXPECT_TRUE(world.Hates(ped->group, animal->group))
                << ped->modelName << " (" << handle << ") is not hostile to the predator";
        }
    }
    // Men and women both, or the check above proved little.
    EXPECT_NE(std::count(townsfolkGroups.begin(), townsfolkGroups.end(), Joaat("REL_CIVMALE")), 0);
    EXPECT_NE(std::count(townsfolkGroups.begin(), townsfolkGroups.end(), Joaat("REL_CIVFEMALE")),
              0);
    EXPECT_TRUE(run.Host().Violations().empty());
}

}  // namespace
