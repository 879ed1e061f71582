// How the simulated world answers natives: the nearby-ped buffer, positions of riders and
// passengers, identifier hashes, the weapon tests, hand-backs, spawning, blips and the clock.
// Models that never load are played through the predator's tests.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "encounters/predator_models.h"
#include "host/native_invoker.h"
#include "host/native_list.h"
#include "host/natives.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

using native::Invoke;
namespace id = native::id;

// A native of the catalogue called as the plug-in calls it, its answer read as a number.
template <typename Id, typename... Args>
int32_t Call(Args... args) {
    return Invoke<Id, int32_t>(args...);
}

class WorldNativesTest : public ::testing::Test {
  protected:
    WorldNativesTest() : host(world) {
        player = world.CreatePlayer(Vec3{0, 0, 0});
        world.settings.pedsAct = false;
    }

    Vec3 Coords(int32_t entity, bool ownPlace = false) {
        const Vector3 v = Invoke<id::GET_ENTITY_COORDS, Vector3>(entity, true, ownPlace);
        return Vec3{v.x, v.y, v.z};
    }

    World world{7};
    StandInHost host;  // the host the plug-in's calls reach
    int32_t player = 0;
};

TEST_F(WorldNativesTest, NearbyPedsFillTheBufferNearestFirstUpToItsCapacity) {
    const int32_t far = world.AddTownsfolk(Vec3{30, 0, 0});
    const int32_t nearest = world.AddTownsfolk(Vec3{0, 5, 0});
    const int32_t middle = world.AddLawman(Vec3{-12, 0, 0});
    world.KillPed(nearest);               // the dead are still there to be found
    world.AddTownsfolk(Vec3{400, 0, 0});  // beyond reach
    const struct {
        int32_t centre;
        uint64_t capacity;  // slot 0, which the native leaves as it is
        std::vector<int32_t> found;
    } cases[] = {
        {player, 2, {nearest, middle}},
        {player, 5, {nearest, middle, far}},
        {middle, 5, {player, nearest, far}},  // not the centre; the player like any other ped
        {player, 0, {}},
        {player, 0xFFFFFFFFu, {}},
    };
    constexpr uint64_t kUntouched = 0xABABABABABABABABULL;
    for (const auto& c : cases) {
        std::vector<uint64_t> buffer(7, kUntouched);
        buffer[0] = c.capacity;
        std::vector<uint64_t> expected = buffer;
        for (size_t i = 0; i < c.found.size(); ++i) {
            expected[i + 1] = static_cast<uint32_t>(c.found[i]);  // the low half, zero above
        }
        EXPECT_EQ(Call<id::GET_PED_NEARBY_PEDS>(c.centre, buffer.data(), -1, 0),
                  static_cast<int32_t>(c.found.size()));
        EXPECT_EQ(buffer, expected) << "centre " << c.centre << ", capacity " << c.capacity;
    }
}

TEST_F(WorldNativesTest, RidersAndPassengersAreWhereTheirMountOrVehicleIs) {
    const int32_t rider = world.AddRider(Vec3{10, 10, 1});
    world.FindPed(world.FindPed(rider)->mount)->pos = Vec3{11, 12, 2};
    world.FindPed(rider)->pos = Vec3{-50, -50, 0};  // stale: the horse's place is what counts
    EXPECT_EQ(Distance(Coords(rider), Vec3{11, 12, 2}), 0.0f);
    EXPECT_FLOAT_EQ(Coords(rider, true).x, -50) << "with its last argument TRUE, its own place";

    const int32_t wagon = world.AddWagonWithDriver("CART02", Vec3{20, 0, 0}, 1);
    const int32_t passenger = world.FindVehicle(wagon)->occupants.at(0);
    world.MoveEntity(wagon, Vec3{25, 5, 0});
    EXPECT_EQ(Distance(Coords(passenger), Vec3{25, 5, 0}), 0.0f);
}

TEST_F(WorldNativesTest, HashKeyIsTheCaseBlindIdentifierHash) {
    // The four examples of the native reference's README, two weathers of our own, and two of
    // them in the other case.
    const std::pair<const char*, uint32_t> examples[] = {
        {"thunderstorm", 0x7C1C4A13u}, {"A_C_Bear_01", 0xBCFD0E7Fu},
        {"A_C_Wolf", 0xBBD91DDAu},     {"BLIP_STYLE_ENEMY", 0x318C617Cu},
        {"hurricane", 0x320D0951u},    {"fog", 0xD61BDE01u},
        {"THUNDERSTORM", 0x7C1C4A13u}, {"blip_style_enemy", 0x318C617Cu}};
    for (const auto& example : examples) {
        EXPECT_EQ(static_cast<uint32_t>(Call<id::GET_HASH_KEY>(example.first)), example.second)
            << example.first;
    }
}

std::vector<bool> FiringTests(int32_t ped) {
    return {Call<id::IS_PED_SHOOTING_TEST_1>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_2>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_3>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_4>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_5>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_6>(ped, true) != 0};
}

TEST_F(WorldNativesTest, FiringTestsReportWhichWeaponsThePedCarries) {
    const uint32_t kinds[7] = {kRevolver, kPistol, kRepeater, kRifle, kSniper, kShotgun, 0};
    for (int carried = 0; carried < 7; ++carried) {  // the last carries none
        const int32_t ped = world.AddTownsfolk(Vec3{});
        world.FindPed(ped)->weapons = kinds[carried];
        std::vector<bool> expected(7, false);
        expected[carried] = true;
        expected.resize(6);
        EXPECT_EQ(FiringTests(ped), expected) << "weapon " << carried;
    }
}

TEST_F(WorldNativesTest, HandingBackRewritesTheVariableAndDropsOrdersNotKept) {
    const int32_t kept = world.AddTownsfolk(Vec3{5, 0, 0});
    const int32_t dropped = world.AddTownsfolk(Vec3{6, 0, 0});
    for (int32_t ped : {kept, dropped}) {
        Call<id::SET_ENTITY_AS_MISSION_ENTITY>(ped, true, true);
        Call<id::TASK_FLEE_PED>(ped, player, 3, 0, -1.0f, -1, 0);
    }
    Call<id::SET_PED_KEEP_TASK>(kept, true);
    for (int32_t ped : {kept, dropped}) {
        int32_t variable = ped;
        Call<id::SET_ENTITY_AS_NO_LONGER_NEEDED>(&variable);
        EXPECT_EQ(variable, 0);
        EXPECT_FALSE(world.FindPed(ped)->missionEntity);
    }
    EXPECT_TRUE(world.FindPed(kept)->fleeing);
    EXPECT_EQ(world.FindPed(dropped)->task.kind, TaskKind::None);

    world.settings.rewriteReleasedHandle = false;
    int32_t variable = kept;
    Call<id::SET_ENTITY_AS_NO_LONGER_NEEDED>(&variable);
    EXPECT_EQ(variable, kept);
}

TEST_F(WorldNativesTest, CreatePedMakesTheCatalogueKindOnceTheModelHasLoaded) {
    const uint32_t bear = Joaat("A_C_Bear_01");
    const auto create = [&](uint32_t model) {
        return Call<id::CREATE_PED>(model, 50.0f, 0.0f, 0.0f, 0.0f, true, true, true, true);
    };
    Call<id::REQUEST_MODEL>(bear, true);
    EXPECT_EQ(Call<id::HAS_MODEL_LOADED>(bear), 0);
    EXPECT_EQ(create(bear), 0) << "no ped before the model has loaded";
    world.AdvanceTo(world.settings.modelLoadMs);
    ASSERT_NE(Call<id::HAS_MODEL_LOADED>(bear), 0);

    const int32_t ped = create(bear);
    ASSERT_NE(ped, 0);
    EXPECT_EQ(Call<id::IS_PED_HUMAN>(ped), 0);
    EXPECT_EQ(static_cast<uint32_t>(Call<id::GET_PED_RELATIONSHIP_GROUP_HASH>(ped)),
              Joaat("REL_WILD_ANIMAL"));
    EXPECT_NE(Call<id::IS_ENTITY_A_MISSION_ENTITY>(ped), 0)
        << "what a script creates is the script's";
    EXPECT_EQ(world.PedsSpawned(), 1u);

    const uint32_t unknown = Joaat("A_C_Dragon_01");
    Call<id::REQUEST_MODEL>(unknown, true);
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_EQ(Call<id::HAS_MODEL_LOADED>(unknown), 0) << "a model that is none";
}

TEST_F(WorldNativesTest, EveryPredatorThePlugInSpawnsIsAnAnimalOfTheWild) {
    for (const PredatorModel& model : PredatorModels) {
        const PedModel* known = FindPedModel(model.hash);
        ASSERT_NE(known, nullptr) << model.name;
        EXPECT_EQ(std::make_tuple(known->name, known->human, known->group),
                  std::make_tuple(std::string(model.name), false, std::string("REL_WILD_ANIMAL")));
    }
}

TEST_F(WorldNativesTest, RemovingABlipTakesTheClearingCallAndTheRemoval) {
    const int32_t ped = world.AddTownsfolk(Vec3{5, 0, 0});
    const int32_t blip = Call<id::BLIP_ADD_FOR_ENTITY>(game_constant::kBlipStyleEnemy, ped);
    ASSERT_NE(blip, 0);
    Call<id::CLEAR_BLIP>(blip);
    EXPECT_EQ(world.Blips().size(), 1u) << "clearing alone leaves the blip standing";
    int32_t copy = blip;
    Call<id::REMOVE_BLIP_BY_ADDRESS>(&copy);
    EXPECT_TRUE(world.Blips().empty());
}

TEST_F(WorldNativesTest, TheClockFollowsVirtualTime) {
    world.Environment().SetClock(20, 59);
    EXPECT_EQ(Call<id::GET_CLOCK_HOURS>(), 20);
    world.AdvanceTo(4000);  // two in-game minutes at the game's pace
    EXPECT_EQ(Call<id::GET_CLOCK_HOURS>(), 21);
}

}  // namespace
