// What a scan costs a frame: each identifier is hashed through the game once, no fact about a
// ped is asked twice within the scan, and every encounter's worst frame stays within 12
// natives per scanned ped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "encounters/encounter_list.h"
#include "host/native_list.h"
#include "host/script_wait.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace {

const EncounterEntry* encounterUnderTest = nullptr;
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
        // The main loop yields between encounters: one encounter's clean-up and the next one's
        // scan never share a frame.
        YieldToGame(0);
    }
    for (;;) {
        YieldToGame(1000);
    }
}

// What the scan asks of the game about peds and their vehicles, each answer good for the frame.
bool IsFactAboutAnEntity(uint64_t hash) {
    namespace id = native::id;
    static const std::set<uint64_t> facts = {id::PLAYER_ID::kHash,
                                             id::GET_PLAYER_PED::kHash,
                                             id::GET_ACTIVE_HORSE_FOR_PLAYER::kHash,
                                             id::DOES_ENTITY_EXIST::kHash,
                                             id::IS_ENTITY_A_MISSION_ENTITY::kHash,
                                             id::IS_ENTITY_DEAD::kHash,
                                             id::GET_ENTITY_MODEL::kHash,
                                             id::GET_ENTITY_COORDS::kHash,
                                             id::GET_PED_RELATIONSHIP_GROUP_HASH::kHash,
                                             id::IS_PED_HUMAN::kHash,
                                             id::IS_PED_MALE::kHash,
                                             id::IS_PED_IN_ANY_VEHICLE::kHash,
                                             id::IS_PED_RIDING_MOUNT::kHash,
                                             id::GET_VEHICLE_PED_IS_IN::kHash,
                                             id::GET_SEAT_PED_IS_USING::kHash};
    return facts.count(hash) != 0;
}

// The facts asked more than once in the encounter's scan: from its first question (who the
// player is) up to its first order to the world. The nearby-ped query is the scan's own, and
// hashing and distances are neither facts about a ped nor orders.
std::vector<std::string> FactsAskedAgainInTheScan(const StandInHost& host) {
    namespace id = native::id;
    const auto& calls = host.Calls();
    const auto query = std::find_if(calls.begin(), calls.end(), [](const HostCall& c) {
        return c.kind == HostCall::kNative && c.hash == id::GET_PED_NEARBY_PEDS::kHash;
    });
    auto call = query;
    while (call != calls.begin() && call->hash != id::PLAYER_ID::kHash) {
        --call;
    }
    std::set<std::pair<uint64_t, uint64_t>> asked;
    std::vector<std::string> again;
    for (; call != calls.end() && call->kind == HostCall::kNative; ++call) {
        if (call == query || call->hash == id::GET_HASH_KEY::kHash ||
            call->hash == id::VDIST::kHash) {
            continue;
        }
        if (!IsFactAboutAnEntity(call->hash)) {
            break;
        }
        if (!asked.insert({call->hash, call->argCount > 0 ? call->args[0] : 0}).second) {
            again.push_back(host.Natives().Find(call->hash)->name + " " +
                            std::to_string(call->args[0]));
        }
    }
    return again;
}

class ScanCost : public ::testing::TestWithParam<size_t> {};

TEST_P(ScanCost, AsksEachFactOnceAndStaysWithinTwelveNativesPerPed) {
    const EncounterEntry& encounter = AllEncounters().at(GetParam());
    TempWorkdir dir;
    World world(3);
    world.CreatePlayer(Vec3{});
    // A crowd of 150 of the ambient mix (townsfolk, lawmen, riders, wagons, animals), standing.
    world.settings.population = PopulationSettings{true, 150, 5, 90, 150};
    world.AdvanceTo(1000);
    world.settings.pedsAct = false;
    // The whole crowd in every scan, to measure the cost per ped.
    world.settings.nearbyPedRange = 150.0f;
    world.settings.nearbyPedLimit = 1000;
    SimRun run(world);
    timesHashed.clear();
    run.Host().OverrideNative(native::id::GET_HASH_KEY::kHash, CountingHashKey);
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
    EXPECT_LE(run.Host().Stats().maxNativesInOneFrame, 12u * static_cast<uint32_t>(scanned))
        << encounter.name;
    EXPECT_EQ(FactsAskedAgainInTheScan(run.Host()), std::vector<std::string>{}) << encounter.name;
}

INSTANTIATE_TEST_SUITE_P(EveryEncounter, ScanCost,
                         ::testing::Range(size_t{0}, AllEncounters().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                             return std::string(AllEncounters().at(param.param).name);
                         });

}  // namespace
