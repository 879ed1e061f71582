// The native catalogue and the stand-in host's table must agree with the public native
// database on every hash and argument count, and the plug-in's wrappers must send arguments
// and read results as the call contract says.
#include <gtest/gtest.h>

#include <map>

#include "host/native_list.h"
#include "host/natives.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"
#include "support/reference_table.h"

namespace {

struct ReferenceRow {
    std::string ourName;
    int paramCount;
};

// By hash; columns our_name, hash, db_name, db_return_type, db_param_count, db_params.
std::map<uint64_t, ReferenceRow> LoadReference() {
    std::map<uint64_t, ReferenceRow> rows;
    for (const auto& fields : ReadReferenceTable("natives-reference.tsv")) {
        rows[std::stoull(fields[1], nullptr, 16)] = ReferenceRow{fields[0], std::stoi(fields[4])};
    }
    return rows;
}

TEST(NativeCatalogue, AgreesWithTheNativeDatabase) {
    const auto reference = LoadReference();
    ASSERT_FALSE(reference.empty()) << "reference file not found";
    ASSERT_EQ(native::CatalogueSize(), reference.size());
    for (size_t i = 0; i < native::CatalogueSize(); ++i) {
        const native::NativeInfo& info = native::Catalogue()[i];
        auto row = reference.find(info.hash);
        ASSERT_NE(row, reference.end()) << info.name << " has a hash the database lacks";
        EXPECT_EQ(info.argCount, row->second.paramCount) << info.name;
    }
    // The stand-in host answers every one of them, taking the same number of arguments.
    World world;
    StandInHost host(world);
    for (const auto& row : reference) {
        const NativeHandlerEntry* entry = host.Natives().Find(row.first);
        ASSERT_NE(entry, nullptr) << row.second.ourName;
        EXPECT_EQ(entry->argCount, row.second.paramCount) << row.second.ourName;
    }
}

class NativeEncoding : public ::testing::Test {
  protected:
    NativeEncoding() : host_(world_) {}
    const HostCall& Last() const { return host_.Calls().back(); }
    World world_;
    StandInHost host_;
};

TEST_F(NativeEncoding, IntegersAreNotSignExtendedAndFloatsAreSingleBits) {
    Ped ped = world_.CreatePlayer(Vec3{1.5f, -2.0f, 3.25f});
    uint64_t buffer[3] = {2, 0, 0};
    GET_PED_NEARBY_PEDS(ped, buffer);
    EXPECT_EQ(Last().args[0], static_cast<uint64_t>(ped));
    EXPECT_EQ(Last().args[1], reinterpret_cast<uintptr_t>(buffer));
    EXPECT_EQ(Last().args[2], 0x00000000FFFFFFFFull);
    EXPECT_EQ(Last().args[3], 0u);

    FORCE_LIGHTNING_FLASH_AT_COORDS(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(Last().args[0], 0x3F800000u);
    EXPECT_EQ(Last().args[3], 0xBF800000u);  // -1.0

    TASK_ENTER_VEHICLE(ped, 5);
    EXPECT_EQ(Last().args[3], 0xFFFFFFFFull);  // seat -1
    EXPECT_EQ(Last().args[4], 0x40400000u);    // 3.0
    EXPECT_EQ(Last().args[5], 0x10049u);
    EXPECT_TRUE(host_.Violations().empty());
}

TEST_F(NativeEncoding, VectorResultsAndOutParameters) {
    Ped ped = world_.CreatePlayer(Vec3{1.5f, -2.0f, 3.25f});
    const Vector3 pos = GET_ENTITY_COORDS(ped);
    EXPECT_FLOAT_EQ(pos.x, 1.5f);
    EXPECT_FLOAT_EQ(pos.y, -2.0f);
    EXPECT_FLOAT_EQ(pos.z, 3.25f);

    Hash group = 0;
    ADD_RELATIONSHIP_GROUP("MyRelGroup", &group);
    EXPECT_EQ(group, Joaat("MyRelGroup"));

    Entity handle = ped;
    SET_ENTITY_AS_MISSION_ENTITY(handle);
    SET_ENTITY_AS_NO_LONGER_NEEDED(&handle);
    EXPECT_EQ(handle, 0);  // the game rewrote the variable
    EXPECT_FALSE(world_.FindPed(ped)->missionEntity);

    const Blip blip = BLIP_ADD_FOR_ENTITY(Joaat("BLIP_STYLE_ENEMY"), ped);
    ASSERT_NE(blip, 0);
    REMOVE_BLIP(blip);
    EXPECT_TRUE(world_.Blips().empty());
    // The clearing call comes first, then the removal through the handle's address.
    const auto& calls = host_.Calls();
    EXPECT_EQ(calls[calls.size() - 2].hash, native::id::CLEAR_BLIP::kHash);
    EXPECT_EQ(calls[calls.size() - 2].args[0], static_cast<uint64_t>(blip));
    EXPECT_EQ(calls.back().hash, native::id::REMOVE_BLIP_BY_ADDRESS::kHash);
    EXPECT_TRUE(host_.Violations().empty());
}

}  // namespace
