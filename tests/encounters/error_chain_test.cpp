// A fault inside an encounter: the encounter's, the registry's and the main loop's error
// lines, the owned peds handed back on the way out, and a main loop that goes on to run the
// encounter again.
#include <stdexcept>

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

// Event 1 or 2 with a native that throws: the hogtie check once, or the hand-back twice
// (it fails again on the failing path: the first fault is the one reported).
struct FaultCase {
    const char* iniKey;
    const char* name;
    const char* errorName;  // the encounter's name in its error line
    bool handBackFails;
    bool standard;  // a standard exception, or something else thrown
};

class ErrorChainTest : public EncounterTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ErrorChainTest, LeavesThreeErrorLinesAndTheLoopRunsTheEncounterAgain) {
    const FaultCase& fault = GetParam();
    world.AddTownsfolk(Near(5));
    world.AddTownsfolk(Near(-35));
    world.Schedule(67000, [](World& w) {
        for (const auto& entry : w.Peds()) {
            if (!entry.second.isPlayer) {
                w.KillPed(entry.first);
            }
        }
    });
    gThrowsLeft = fault.handBackFails ? 2 : 1;
    gThrowStandard = fault.standard;
    LoadPlugin(IniWith({fault.iniKey}));
    run->Host().OverrideNative(
        fault.handBackFails ? id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash : id::IS_PED_HOGTIED::kHash,
        fault.handBackFails ? ReleaseOrThrow : HogtiedOrThrow);
    const std::string what = fault.handBackFails ? "release failed" : "hogtie check failed";
    const std::string name = fault.name, in = std::string(fault.errorName);
    const std::string backup = "Using backup timing WAIT(100) after exception";
    ASSERT_TRUE(RunUntil(backup));
    EXPECT_TRUE(LoggedInOrder(
        fault.standard
            ? std::vector<std::string>{"Exception in " + in + ": " + what,
                                       "Exception during random event execution: " + what,
                                       "Exception in main loop: Event execution failed: " + what,
                                       backup}
            : std::vector<std::string>{
                  "Unknown exception in " + in, "Unknown exception during random event execution",
                  "Exception in main loop: Event execution failed: Unknown exception in event",
                  backup}));
    ASSERT_TRUE(RunUntil(name + " completed successfully"));
    EXPECT_EQ(Count("Executing " + name), 2u);
    if (!fault.handBackFails) {
        EXPECT_EQ(world.OwnedPedCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encounters, ErrorChainTest,
    ::testing::Values(
        FaultCase{"Event1_Aggressor", "event1_aggressor", "event1_aggressor", false, true},
        FaultCase{"Event2_Aggressor_Player", "event2_aggressor_player", "event2_aggressor_player()",
                  false, true},
        FaultCase{"Event1_Aggressor", "event1_aggressor", "event1_aggressor", false, false},
        FaultCase{"Event1_Aggressor", "event1_aggressor", "event1_aggressor", true, true}));

}  // namespace
