// The native catalogue, the stand-in host's table and the plug-in's wrappers.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "host/native_list.h"
#include "host/natives.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/world.h"
#include "support/reference_table.h"

namespace {

// The database's columns: our_name, hash, db_name, db_return_type, db_param_count, db_params.
TEST(NativeCatalogue, AgreesWithTheNativeDatabase) {
    std::map<uint64_t, std::vector<std::string>> reference;
    for (const auto& fields : ReadReferenceTable("natives-reference.tsv")) {
        reference[std::stoull(fields[1], nullptr, 16)] = fields;
    }
    ASSERT_FALSE(reference.empty()) << "reference file not found";
    ASSERT_EQ(native::CatalogueSize(), reference.size());
    // The stand-in host answers every one of them, taking the same number of arguments.
    World world;
    StandInHost host(world);
    for (size_t i = 0; i < native::CatalogueSize(); ++i) {
        const native::NativeInfo& info = native::Catalogue()[i];
        auto row = reference.find(info.hash);
        ASSERT_NE(row, reference.end()) << info.name << " has a hash the database lacks";
        EXPECT_EQ(info.argCount, std::stoi(row->second[4])) << info.name;
        const NativeHandlerEntry* entry = host.Natives().Find(info.hash);
        ASSERT_NE(entry, nullptr) << info.name;
        EXPECT_EQ(entry->argCount, info.argCount) << info.name;
        reference.erase(row);  // each row answered once
    }
}

uint64_t F(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// Each wrapper that adds arguments of its own sends the game's flags, timeouts and amounts:
// integers not sign-extended (-1 is 0xFFFFFFFF), floats as their single-precision bits.
TEST(NativeEncoding, EachWrapperSendsItsArgumentsAsTheGameTakesThem) {
    World world;
    StandInHost host(world);
    const Ped p = world.CreatePlayer(Vec3{1.5f, -2.0f, 3.25f});
    const Ped q = world.AddTownsfolk(Vec3{5, 0, 0});
    const Vehicle v = world.AddVehicleOfModel("CART01", Vec3{9, 0, 0});
    static uint64_t buffer[3] = {2, 0, 0};
    const uint64_t P = static_cast<uint64_t>(p), Q = static_cast<uint64_t>(q);
    const uint64_t V = static_cast<uint64_t>(v), kMinus1 = 0xFFFFFFFFull;
    const std::pair<std::function<void()>, std::vector<uint64_t>> cases[] = {
        {[&] { GET_ENTITY_COORDS(p); }, {P, 1, 0}},
        {[&] { GET_PED_NEARBY_PEDS(p, buffer); },
         {P, reinterpret_cast<uintptr_t>(buffer), kMinus1, kMinus1}},
        {[&] { IS_PED_SHOOTING_TEST_1(p); }, {P, 1}},
        {[&] { IS_PED_SHOOTING_TEST_2(p); }, {P, 1}},
        {[&] { IS_PED_SHOOTING_TEST_3(p); }, {P, 1}},
        {[&] { IS_PED_SHOOTING_TEST_4(p); }, {P, 1}},
        {[&] { IS_PED_SHOOTING_TEST_5(p); }, {P, 1}},
        {[&] { IS_PED_SHOOTING_TEST_6(p); }, {P, 1}},
        {[&] { IS_PED_IN_ANY_VEHICLE(p); }, {P, 0}},
        {[&] { IS_PED_IN_VEHICLE(p, v); }, {P, V, 0}},
        {[&] { GET_VEHICLE_PED_IS_IN(p); }, {P, 0}},
        {[&] { IS_PED_RIDING_MOUNT(p); }, {P, 1}},
        {[&] { GET_SCRIPT_TASK_STATUS(q, 0xABCD, false); }, {Q, 0xABCD, 0}},
        {[&] { SET_ENTITY_AS_MISSION_ENTITY(q); }, {Q, 1, 1}},
        {[&] { SET_PED_KEEP_TASK(q); }, {Q, 1}},
        {[&] { CLEAR_PED_TASKS(q); }, {Q, 1, 1}},
        {[&] { TASK_COMBAT_PED(q, p); }, {Q, P, 0, 16}},
        {[&] { TASK_COMBAT_ANIMAL_CHARGE_PED(q, p); }, {Q, P, 0, 0, 0, 0, 0}},
        {[&] { TASK_FLEE_PED(q, p); }, {Q, P, 3, 0, F(-1), kMinus1, 0}},
        {[&] { TASK_ROB_PED(q, p); }, {Q, P, F(0), 2, 0}},
        {[&] { TASK_ENTER_VEHICLE(q, v); }, {Q, V, 60000, kMinus1, F(3), 0x10049, 0}},
        {[&] { TASK_VEHICLE_DRIVE_WANDER(q, v); }, {Q, V, F(3), 786603}},
        {[&] { GIVE_WEAPON_TO_PED(q); },
         {Q, 0x0797FBF5, 100, 0, 1, 14, 0, F(0.5f), F(1), 0x2CD419DC, 1, F(0), 0}},
        {[&] { SET_RELATIONSHIP_BETWEEN_GROUPS(6, 0xA, 0xB); }, {6, 0xA, 0xB}},
        {[&] { REQUEST_MODEL(0xABCD); }, {0xABCD, 1}},
        {[&] { CREATE_PED(0xABCD, 1, 2, 3); }, {0xABCD, F(1), F(2), F(3), F(0), 1, 1, 1, 1}},
        {[&] { PLACE_ENTITY_ON_GROUND_PROPERLY(q); }, {Q, 1}},
        {[&] { SET_RANDOM_OUTFIT_VARIATION(q); }, {Q, 1}},
        {[&] { SET_WEATHER_TYPE(0xABCD); }, {0xABCD, 1, 1, 1, F(30), 0}},
        {[&] { CLEAR_WEATHER_TYPE_OVER_TIME(300000); }, {300000}},
        {[&] { FORCE_LIGHTNING_FLASH_AT_COORDS(1, 2, 3); }, {F(1), F(2), F(3), F(-1)}},
    };
    for (const auto& c : cases) {
        c.first();
        const HostCall& call = host.Calls().back();
        EXPECT_EQ(std::vector<uint64_t>(call.args, call.args + call.argCount), c.second)
            << host.Natives().Find(call.hash)->name;
    }
    EXPECT_TRUE(host.Violations().empty());
}

}  // namespace
