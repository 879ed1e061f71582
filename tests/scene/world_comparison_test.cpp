// The world asked what the recorded game was asked: the recording's handles become the
// world's, the peds the plug-in creates are paired as they are made, the world's handles come
// back as the recording's in a scan, near places are the same answer, and orders are heard
// without being counted.
#include <gtest/gtest.h>

#include "host/native_list.h"
#include "sim/host/native_table.h"
#include "sim/scene/world_comparison.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

namespace id = native::id;

uint64_t Bits(float value) {
    return NativeResult::FloatBits(value);
}

NativeResult Position(float x, float y, float z) {
    NativeResult result;
    result.SetVector(x, y, z);
    return result;
}

class WorldComparisonTest : public ::testing::Test {
  protected:
    WorldComparisonTest() { RegisterWorldNatives(natives_); }

    // One call as the plug-in makes it, answered by the recording with `recorded`.
    void Call(WorldComparison& comparison, uint64_t hash, std::vector<uint64_t> slots,
              const NativeResult& recorded) {
        const NativeArgs args(slots.data(), static_cast<int>(slots.size()));
        comparison.AskWorld(hash, args, 1000);
        comparison.Compare(hash, args, recorded);
    }

    World world_;
    NativeTable natives_;
};

TEST_F(WorldComparisonTest, AsksTheWorldAboutThePedTheRecordingNamed) {
    const int32_t near = world_.AddTownsfolk({1, 2, 3});
    const int32_t other = world_.AddTownsfolk({50, 50, 3});
    // The recording's 4200 is the world's first ped; the recording's number of the world's
    // second ped is nothing the world has.
    WorldComparison comparison(world_, natives_, {{4200, near}}, false);
    Call(comparison, id::GET_ENTITY_COORDS::kHash, {4200, 1, 0}, Position(1.3f, 2, 3));
    Call(comparison, id::GET_ENTITY_COORDS::kHash, {4200, 1, 0}, Position(5, 2, 3));
    NativeResult exists;
    exists.SetBool(true);
    Call(comparison, id::DOES_ENTITY_EXIST::kHash, {static_cast<uint32_t>(other)}, exists);

    const NativeTally& coords = comparison.Tallies().at(id::GET_ENTITY_COORDS::kHash);
    EXPECT_EQ(coords.asked, 2u);
    EXPECT_EQ(coords.differ, 1u);  // 0.3 m off is the same place; 4 m is not
    ASSERT_EQ(coords.firstCases.size(), 1u);
    EXPECT_EQ(
        coords.firstCases[0],
        "1.000 s: GET_ENTITY_COORDS(4200, true, false): recorded (5, 2, 3); the world (1, 2, 3)");
    EXPECT_EQ(comparison.Tallies().at(id::DOES_ENTITY_EXIST::kHash).differ, 1u);
}

TEST_F(WorldComparisonTest, PairsThePedsThePluginCreatesAndNamesScansInTheRecordingsHandles) {
    const int32_t standing = world_.AddTownsfolk({3, 0, 0});
    const int32_t player = world_.CreatePlayer({0, 0, 0});
    const uint32_t wolf = Joaat("A_C_Wolf");
    world_.RequestModel(wolf);
    world_.AdvanceTo(5000);
    WorldComparison comparison(world_, natives_, {{4097, player}, {4300, standing}}, false);
    NativeResult created;
    created.SetInt(9001);
    Call(comparison, id::CREATE_PED::kHash, {wolf, Bits(6), Bits(0), Bits(0), Bits(0), 0, 0, 0, 0},
         created);
    Call(comparison, id::GET_ENTITY_COORDS::kHash, {9001, 1, 0}, Position(6, 0, 0));

    // The recording's scan: the townsman and the wolf, nearest first.
    uint64_t buffer[21] = {20};
    const std::vector<uint64_t> slots = {4097, reinterpret_cast<uintptr_t>(buffer),
                                         static_cast<uint32_t>(-1), static_cast<uint32_t>(-1)};
    const NativeArgs args(slots.data(), 4);
    comparison.AskWorld(id::GET_PED_NEARBY_PEDS::kHash, args, 6000);
    buffer[1] = 4300;  // as the replay writes the recorded answer back
    buffer[2] = 9001;
    NativeResult count;
    count.SetInt(2);
    comparison.Compare(id::GET_PED_NEARBY_PEDS::kHash, args, count);
    // An order: heard by the world, nothing to compare.
    Call(comparison, id::TASK_COMBAT_PED::kHash, {9001, 4097, 0, 16}, NativeResult());

    EXPECT_EQ(comparison.Differ(), 0u);
    EXPECT_EQ(comparison.Tallies().count(id::TASK_COMBAT_PED::kHash), 0u);
    EXPECT_EQ(comparison.Tallies().at(id::GET_PED_NEARBY_PEDS::kHash).asked, 1u);
    int32_t ordered = 0;
    for (const auto& [handle, ped] : world_.Peds()) {
        if (ped.model == wolf) {
            ordered = ped.task.targetPed;
        }
    }
    EXPECT_EQ(ordered, player);  // the world's wolf was ordered at the world's player
}

}  // namespace
