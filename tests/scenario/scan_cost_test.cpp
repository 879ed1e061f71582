// What a scan costs a frame: each identifier is hashed through the game once, and every
// encounter's worst frame stays within 20 natives per scanned ped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "encounters/encounter_list.h"
#include "host/native_list.h"
#include "host/script_hook.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace {

const EncounterDefinition* encounterUnderTest = nullptr;
std::map<std::string, int> timesHashed;

// GET_HASH_KEY as the world answers it, counting each identifier while its text is alive.
void CountingHashKey(World&, const NativeArgs& args, NativeResult& result) {
    const std::string identifier = args.Pointer<const char>(0);
    ++timesHashed[identifier];
    result.SetUint(Joaat(identifier));
}

void RunEncounterTwice() {
    for (int run = 0; run < 2; ++run) {
        try {
            encounterUnderTest->action();
        } catch (...) {
        }
    }
    for (;;) {
        scriptWait(1000);
    }
}

// A crowd around the player, with shopkeepers, lawmen, riders, wagons and animals among them.
void Crowd(World& world, int peds) {
    for (int i = 0; i < peds; ++i) {
        const float angle = static_cast<float>(i) * 2.4f;
        const float radius = 5.0f + static_cast<float>(i % 17) * 5.0f;
        const Vec3 pos{radius * std::cos(angle), radius * std::sin(angle), 0.0f};
        switch (i % 10) {
            case 0:
                world.AddLawman(pos);
                break;
            case 1:
                world.AddShopkeeper(pos);
                break;
            case 2:
                world.AddRider(pos);
                break;
            case 3:
                world.AddWagonWithDriver("CART01", pos, 1);
                break;
            case 4:
                world.AddAnimal("A_C_Deer_01", pos);
                break;
            default:
                world.AddTownsfolk(pos, i % 3 != 0);
        }
    }
}

class ScanCost : public ::testing::TestWithParam<size_t> {};

TEST_P(ScanCost, HashesEachIdentifierOnceAndStaysWithinTwentyNativesPerPed) {
    const EncounterDefinition& encounter = AllEncounters().at(GetParam());
    TempWorkdir dir;
    World world(3);
    world.CreatePlayer(Vec3{});
    world.settings.pedsAct = false;
    Crowd(world, 150);
    SimRun run(world);
    timesHashed.clear();
    run.Host().OverrideNative(native::id::GET_HASH_KEY::kHash, CountingHashKey);
    uint32_t worstFrame = 0;
    run.Host().onFrameEnd = [&worstFrame](uint32_t natives, uint32_t) {
        worstFrame = std::max(worstFrame, natives);
    };
    encounterUnderTest = &encounter;
    run.StartScript(RunEncounterTwice);
    run.Run(20 * 60000);

    ASSERT_FALSE(timesHashed.empty());
    for (const auto& identifier : timesHashed) {
        EXPECT_EQ(identifier.second, 1) << encounter.name << " hashed " << identifier.first;
    }
    int scanned = 0;
    for (const LoggedLine& line : run.Lines()) {
        if (line.message.rfind("Found ", 0) == 0) {
            scanned = std::max(scanned, std::atoi(line.message.c_str() + 6));
        }
    }
    ASSERT_GT(scanned, 40) << encounter.name;
    EXPECT_LE(worstFrame, 20u * static_cast<uint32_t>(scanned)) << encounter.name;
}

INSTANTIATE_TEST_SUITE_P(EveryEncounter, ScanCost,
                         ::testing::Range(size_t{0}, AllEncounters().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                             return std::string(AllEncounters().at(param.param).name);
                         });

}  // namespace
