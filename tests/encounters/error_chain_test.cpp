// A fault inside an encounter: the encounter's, the registry's and the main loop's error
// lines, the owned peds handed back on the way out, and a main loop that goes on to run the
// encounter again.
#include <stdexcept>
#include <vector>

#include "encounter_fixture.h"

namespace {

int gThrowsLeft = 0;
bool gThrowStandard = true;

void Throw(const char* what) {
    --gThrowsLeft;
    if (gThrowStandard) {
        throw std::runtime_error(what);
    }
    throw 42;
}

// Fails the first few times, then answers as the world does.
void HogtiedOrThrow(World& w, const NativeArgs& args, NativeResult& result) {
    if (gThrowsLeft > 0) {
        Throw("hogtie check failed");
    }
    const SimPed* ped = w.FindPed(args.Int(0));
    result.SetBool(ped != nullptr && ped->hogtied);
}

void ReleaseOrThrow(World& w, const NativeArgs& args, NativeResult&) {
    if (gThrowsLeft > 0) {
        Throw("release failed");
    }
    int32_t* handle = args.Pointer<int32_t>(0);
    if (SimPed* ped = w.FindPed(*handle)) {
        ped->missionEntity = false;
    }
    *handle = 0;
}

struct FaultCase {
    const char* label;
    const char* iniKey;
    const char* name;
    uint64_t hash;
    NativeHandler handler;
    int throws;
    bool standard;
    std::vector<std::string> chain;
};

class ErrorChainTest : public EncounterTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ErrorChainTest, LeavesThreeErrorLinesAndTheLoopRunsTheEncounterAgain) {
    const FaultCase& fault = GetParam();
    world.AddTownsfolk(Near(5));
    world.AddTownsfolk(Near(-35));
    world.AddRider(Near(20));
    world.Schedule(67000, [](World& w) {
        for (const auto& entry : w.Peds()) {
            if (!entry.second.isPlayer) {
                w.KillPed(entry.first);
            }
        }
    });
    gThrowsLeft = fault.throws;
    gThrowStandard = fault.standard;
    LoadPlugin(IniWith({fault.iniKey}));
    run->Host().OverrideNative(fault.hash, fault.handler);
    std::vector<std::string> expected = fault.chain;
    expected.push_back("Using backup timing WAIT(100) after exception");
    ASSERT_TRUE(RunUntil(expected.back()));
    EXPECT_TRUE(LoggedInOrder(expected));
    ASSERT_TRUE(RunUntil(std::string(fault.name) + " completed successfully"));
    EXPECT_EQ(Count("Executing " + std::string(fault.name)), 2u);
    if (fault.throws == 1) {
        EXPECT_EQ(world.OwnedPedCount(), 0u);
    }
}

std::vector<std::string> StandardChain(const std::string& first, const std::string& what) {
    return {first + what, "Exception during random event execution: " + what,
            "Exception in main loop: Event execution failed: " + what};
}

INSTANTIATE_TEST_SUITE_P(
    Encounters, ErrorChainTest,
    ::testing::Values(
        FaultCase{"Event1", "Event1_Aggressor", "event1_aggressor", id::IS_PED_HOGTIED::kHash,
                  HogtiedOrThrow, 1, true,
                  StandardChain("Exception in event1_aggressor: ", "hogtie check failed")},
        FaultCase{"Event2", "Event2_Aggressor_Player", "event2_aggressor_player",
                  id::IS_PED_HOGTIED::kHash, HogtiedOrThrow, 1, true,
                  StandardChain("Exception in event2_aggressor_player(): ", "hogtie check failed")},
        FaultCase{"Event6", "Event6_Horse_Bucking", "event6_horse_bucking",
                  id::IS_PED_HOGTIED::kHash, HogtiedOrThrow, 1, true,
                  StandardChain("Exception in event6_horse_bucking: ", "hogtie check failed")},
        FaultCase{"Event1NotStandard",
                  "Event1_Aggressor",
                  "event1_aggressor",
                  id::IS_PED_HOGTIED::kHash,
                  HogtiedOrThrow,
                  1,
                  false,
                  {"Unknown exception in event1_aggressor",
                   "Unknown exception during random event execution",
                   "Exception in main loop: Event execution failed: Unknown exception in event"}},
        // The hand-back fails, and fails again on the failing path: the first fault is the one
        // reported.
        FaultCase{"Event1HandBackFails", "Event1_Aggressor", "event1_aggressor",
                  id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash, ReleaseOrThrow, 2, true,
                  StandardChain("Exception in event1_aggressor: ", "release failed")}),
    [](const ::testing::TestParamInfo<FaultCase>& param) {
        return std::string(param.param.label);
    });

}  // namespace
