// Every typed native pushes the arguments the game expects: the fixed flags, timeouts, seats,
// weapon and ammunition, each encoded as the call contract says (32-bit integers not sign
// extended, floats as their single-precision bits). A changed constant changes how the game
// behaves, so each one is pinned here.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/native_list.h"
#include "host/natives.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/world.h"

namespace {

namespace id = native::id;

uint64_t I(int32_t value) {
    return static_cast<uint32_t>(value);
}
uint64_t F(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

struct PushedCase {
    std::string name;
    std::function<void()> call;
    uint64_t hash;
    std::vector<uint64_t> args;
};

TEST(NativeArguments, EveryWrapperPushesWhatTheGameExpects) {
    World world;
    StandInHost host(world);
    const int32_t ped = world.CreatePlayer(Vec3{1.0f, 2.0f, 3.0f});
    const int32_t other = 77;
    const int32_t kTrue = 1;
    const int32_t kFalse = 0;

    const std::vector<PushedCase> cases = {
        {"GET_ENTITY_COORDS",
         [&] { GET_ENTITY_COORDS(ped); },
         id::GET_ENTITY_COORDS::kHash,
         {I(ped), I(kTrue), I(kFalse)}},
        {"IS_PED_SHOOTING_TEST_1",
         [&] { IS_PED_SHOOTING_TEST_1(ped); },
         id::IS_PED_SHOOTING_TEST_1::kHash,
         {I(ped), I(kTrue)}},
        {"IS_PED_SHOOTING_TEST_6",
         [&] { IS_PED_SHOOTING_TEST_6(ped); },
         id::IS_PED_SHOOTING_TEST_6::kHash,
         {I(ped), I(kTrue)}},
        {"IS_PED_IN_ANY_VEHICLE",
         [&] { IS_PED_IN_ANY_VEHICLE(ped); },
         id::IS_PED_IN_ANY_VEHICLE::kHash,
         {I(ped), I(kFalse)}},
        {"IS_PED_IN_VEHICLE",
         [&] { IS_PED_IN_VEHICLE(ped, other); },
         id::IS_PED_IN_VEHICLE::kHash,
         {I(ped), I(other), I(kFalse)}},
        {"GET_VEHICLE_PED_IS_IN",
         [&] { GET_VEHICLE_PED_IS_IN(ped); },
         id::GET_VEHICLE_PED_IS_IN::kHash,
         {I(ped), I(kFalse)}},
        {"IS_PED_RIDING_MOUNT",
         [&] { IS_PED_RIDING_MOUNT(ped); },
         id::IS_PED_RIDING_MOUNT::kHash,
         {I(ped), I(kTrue)}},
        {"GET_SCRIPT_TASK_STATUS",
         [&] { GET_SCRIPT_TASK_STATUS(ped, 0xABCDu); },
         id::GET_SCRIPT_TASK_STATUS::kHash,
         {I(ped), 0xABCDu, I(kFalse)}},
        {"SET_ENTITY_AS_MISSION_ENTITY",
         [&] { SET_ENTITY_AS_MISSION_ENTITY(other); },
         id::SET_ENTITY_AS_MISSION_ENTITY::kHash,
         {I(other), I(kTrue), I(kTrue)}},
        {"SET_PED_KEEP_TASK",
         [&] { SET_PED_KEEP_TASK(ped); },
         id::SET_PED_KEEP_TASK::kHash,
         {I(ped), I(kTrue)}},
        {"CLEAR_PED_TASKS",
         [&] { CLEAR_PED_TASKS(ped); },
         id::CLEAR_PED_TASKS::kHash,
         {I(ped), I(kTrue), I(kTrue)}},
        {"TASK_COMBAT_PED",
         [&] { TASK_COMBAT_PED(ped, other); },
         id::TASK_COMBAT_PED::kHash,
         {I(ped), I(other), 0, 16}},
        {"TASK_COMBAT_ANIMAL_CHARGE_PED",
         [&] { TASK_COMBAT_ANIMAL_CHARGE_PED(ped, other); },
         id::TASK_COMBAT_ANIMAL_CHARGE_PED::kHash,
         {I(ped), I(other), 0, 0, 0, 0, 0}},
        {"TASK_FLEE_PED",
         [&] { TASK_FLEE_PED(ped, other); },
         id::TASK_FLEE_PED::kHash,
         {I(ped), I(other), 3, 0, F(-1.0f), I(-1), 0}},
        {"TASK_ROB_PED",
         [&] { TASK_ROB_PED(ped, other); },
         id::TASK_ROB_PED::kHash,
         {I(ped), I(other), F(0.0f), 2, 0}},
        {"TASK_ENTER_VEHICLE",
         [&] { TASK_ENTER_VEHICLE(ped, other); },
         id::TASK_ENTER_VEHICLE::kHash,
         {I(ped), I(other), 60000, I(-1), F(3.0f), 0x10049, 0}},
        {"TASK_VEHICLE_DRIVE_WANDER",
         [&] { TASK_VEHICLE_DRIVE_WANDER(ped, other); },
         id::TASK_VEHICLE_DRIVE_WANDER::kHash,
         {I(ped), I(other), F(3.0f), 786603}},
        {"TASK_MOUNT_THROW_RIDER",
         [&] { TASK_MOUNT_THROW_RIDER(ped, true); },
         id::TASK_MOUNT_THROW_RIDER::kHash,
         {I(ped), 1}},
        {"GIVE_WEAPON_TO_PED",
         [&] { GIVE_WEAPON_TO_PED(ped); },
         id::GIVE_WEAPON_TO_PED::kHash,
         {I(ped), 0x0797FBF5u, 100, I(kFalse), I(kTrue), 14, I(kFalse), F(0.5f), F(1.0f),
          0x2CD419DCu, I(kTrue), F(0.0f), I(kFalse)}},
        {"SET_RELATIONSHIP_BETWEEN_GROUPS",
         [&] { SET_RELATIONSHIP_BETWEEN_GROUPS(game_constant::kRelationshipHate, 11u, 22u); },
         id::SET_RELATIONSHIP_BETWEEN_GROUPS::kHash,
         {6, 11, 22}},
        {"REQUEST_MODEL",
         [&] { REQUEST_MODEL(0xBCFD0E7Fu); },
         id::REQUEST_MODEL::kHash,
         {0xBCFD0E7Fu, I(kTrue)}},
        {"CREATE_PED",
         [&] { CREATE_PED(0xBCFD0E7Fu, 1.0f, 2.0f, 3.0f); },
         id::CREATE_PED::kHash,
         {0xBCFD0E7Fu, F(1.0f), F(2.0f), F(3.0f), F(0.0f), I(kTrue), I(kTrue), I(kTrue), I(kTrue)}},
        {"PLACE_ENTITY_ON_GROUND_PROPERLY",
         [&] { PLACE_ENTITY_ON_GROUND_PROPERLY(ped); },
         id::PLACE_ENTITY_ON_GROUND_PROPERLY::kHash,
         {I(ped), I(kTrue)}},
        {"SET_RANDOM_OUTFIT_VARIATION",
         [&] { SET_RANDOM_OUTFIT_VARIATION(ped); },
         id::SET_RANDOM_OUTFIT_VARIATION::kHash,
         {I(ped), I(kTrue)}},
        {"FREEZE_ENTITY_POSITION",
         [&] { FREEZE_ENTITY_POSITION(ped, true); },
         id::FREEZE_ENTITY_POSITION::kHash,
         {I(ped), 1}},
        {"SET_WEATHER_TYPE",
         [&] { SET_WEATHER_TYPE(0x7C1C4A13u); },
         id::SET_WEATHER_TYPE::kHash,
         {0x7C1C4A13u, I(kTrue), I(kTrue), I(kTrue), F(30.0f), I(kFalse)}},
        {"CLEAR_WEATHER_TYPE_OVER_TIME",
         [&] { CLEAR_WEATHER_TYPE_OVER_TIME(5000); },
         id::CLEAR_WEATHER_TYPE_OVER_TIME::kHash,
         {5000}},
        {"FORCE_LIGHTNING_FLASH_AT_COORDS",
         [&] { FORCE_LIGHTNING_FLASH_AT_COORDS(1, 2, 3); },
         id::FORCE_LIGHTNING_FLASH_AT_COORDS::kHash,
         {F(1.0f), F(2.0f), F(3.0f), F(-1.0f)}},
    };
    for (const PushedCase& c : cases) {
        host.ClearCalls();
        c.call();
        ASSERT_FALSE(host.Calls().empty()) << c.name;
        const HostCall& call = host.Calls().back();
        EXPECT_EQ(call.hash, c.hash) << c.name;
        EXPECT_EQ(std::vector<uint64_t>(call.args, call.args + call.argCount), c.args) << c.name;
    }
    EXPECT_TRUE(host.Violations().empty());
}

}  // namespace
