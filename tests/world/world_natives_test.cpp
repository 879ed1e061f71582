// How the simulated world answers natives: the nearby-ped buffer, positions of riders and
// passengers, identifier hashes, the weapon tests, hand-backs, spawning and blips.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
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

    int32_t Nearby(int32_t centre, std::vector<uint64_t>& buffer) {
        return Call<id::GET_PED_NEARBY_PEDS>(centre, buffer.data(), -1, 0);
    }

    Vec3 Coords(int32_t entity) {
        const Vector3 v = Invoke<id::GET_ENTITY_COORDS, Vector3>(entity, true, false);
        return Vec3{v.x, v.y, v.z};
    }

    World world{7};
    StandInHost host;
    int32_t player = 0;
};

constexpr uint64_t kUntouched = 0xABABABABABABABABULL;

TEST_F(WorldNativesTest, NearbyPedBufferHoldsTheNearestFirstWithinCapacity) {
    const int32_t far = world.AddTownsfolk(Vec3{30, 0, 0});
    const int32_t nearest = world.AddTownsfolk(Vec3{0, 5, 0});
    const int32_t middle = world.AddLawman(Vec3{-12, 0, 0});
    world.KillPed(nearest);               // the dead are still there to be found
    world.AddTownsfolk(Vec3{400, 0, 0});  // beyond reach

    std::vector<uint64_t> buffer(6, kUntouched);
    buffer[0] = 2;
    EXPECT_EQ(Nearby(player, buffer), 2);
    EXPECT_EQ(buffer[0], 2u) << "slot 0 keeps the capacity";
    EXPECT_EQ(buffer[1], static_cast<uint32_t>(nearest));
    EXPECT_EQ(buffer[2], static_cast<uint32_t>(middle));
    EXPECT_EQ(buffer[3], kUntouched) << "nothing is written past the capacity";

    buffer.assign(6, kUntouched);
    buffer[0] = 5;
    EXPECT_EQ(Nearby(player, buffer), 3);
    EXPECT_EQ(buffer[3], static_cast<uint32_t>(far));
    EXPECT_EQ(buffer[4], kUntouched);
}

TEST_F(WorldNativesTest, NearbyPedsLeaveOutTheCentreAndWriteHandlesInTheLowHalf) {
    const int32_t ped = world.AddTownsfolk(Vec3{3, 0, 0});
    std::vector<uint64_t> buffer(4, kUntouched);
    buffer[0] = 3;
    ASSERT_EQ(Nearby(ped, buffer), 1);
    EXPECT_EQ(buffer[1], static_cast<uint32_t>(player)) << "the player is a ped like any other";
    EXPECT_EQ(buffer[1] >> 32, 0u);
}

TEST_F(WorldNativesTest, NearbyPedsWithNoRoomAnswerNothing) {
    world.AddTownsfolk(Vec3{3, 0, 0});
    for (const uint64_t capacity : {uint64_t{0}, uint64_t{0xFFFFFFFFu}}) {
        std::vector<uint64_t> buffer(3, kUntouched);
        buffer[0] = capacity;
        EXPECT_EQ(Nearby(player, buffer), 0) << "capacity " << capacity;
        EXPECT_EQ(buffer[1], kUntouched);
    }
}

TEST_F(WorldNativesTest, RidersAndPassengersAreWhereTheirMountOrVehicleIs) {
    const int32_t rider = world.AddRider(Vec3{10, 10, 1});
    const int32_t horse = world.FindPed(rider)->mount;
    world.FindPed(horse)->pos = Vec3{11, 12, 2};
    world.FindPed(rider)->pos = Vec3{-50, -50, 0};  // stale: the horse's place is what counts
    const Vec3 riding = Coords(rider);
    EXPECT_FLOAT_EQ(riding.x, 11);
    EXPECT_FLOAT_EQ(riding.y, 12);
    EXPECT_FLOAT_EQ(riding.z, 2);

    const int32_t wagon = world.AddWagonWithDriver("CART02", Vec3{20, 0, 0}, 1);
    const int32_t passenger = world.FindVehicle(wagon)->occupants.at(0);
    world.MoveEntity(wagon, Vec3{25, 5, 0});
    const Vec3 seated = Coords(passenger);
    EXPECT_FLOAT_EQ(seated.x, 25);
    EXPECT_FLOAT_EQ(seated.y, 5);

    // With its last argument TRUE the ped's own place is given.
    EXPECT_FLOAT_EQ((Invoke<id::GET_ENTITY_COORDS, Vector3>(rider, true, true).x), -50);
}

// The examples the native reference gives, read from its README, plus a few of our own.
std::vector<std::pair<std::string, uint32_t>> HashExamples() {
    std::vector<std::pair<std::string, uint32_t>> examples = {
        {"thunderstorm", 0x7C1C4A13u},     {"A_C_Bear_01", 0xBCFD0E7Fu}, {"A_C_Wolf", 0xBBD91DDAu},
        {"BLIP_STYLE_ENEMY", 0x318C617Cu}, {"hurricane", 0x320D0951u},   {"fog", 0xD61BDE01u}};
    std::ifstream readme(std::string(TARROWIND_REFERENCE_DIR) + "/README.md");
    std::stringstream text;
    text << readme.rdbuf();
    const std::string all = text.str();
    // Pairs written as "NAME" 0x12345678 or "NAME" gives 0x12345678.
    for (size_t open = all.find('"'); open != std::string::npos; open = all.find('"', open + 1)) {
        const size_t close = all.find('"', open + 1);
        if (close == std::string::npos) {
            break;
        }
        size_t at = close + 1;
        if (all.compare(at, 6, " gives") == 0) {
            at += 6;
        }
        if (all.compare(at, 3, " 0x") == 0 && at + 11 <= all.size()) {
            const std::string hex = all.substr(at + 3, 8);
            if (hex.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos) {
                examples.emplace_back(all.substr(open + 1, close - open - 1),
                                      static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
            }
        }
        open = close;
    }
    return examples;
}

TEST_F(WorldNativesTest, HashKeyIsTheCaseBlindIdentifierHash) {
    const auto examples = HashExamples();
    ASSERT_GE(examples.size(), 10u) << "the reference's own four examples were read";
    for (const auto& example : examples) {
        const std::string lower = [&] {
            std::string s = example.first;
            for (char& c : s) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            return s;
        }();
        for (const std::string& text : {example.first, lower}) {
            EXPECT_EQ(static_cast<uint32_t>(Call<id::GET_HASH_KEY>(text.c_str())), example.second)
                << text;
        }
    }
}

// The six firing tests, in order, for one ped.
std::vector<bool> FiringTests(int32_t ped) {
    return {Call<id::IS_PED_SHOOTING_TEST_1>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_2>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_3>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_4>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_5>(ped, true) != 0,
            Call<id::IS_PED_SHOOTING_TEST_6>(ped, true) != 0};
}

TEST_F(WorldNativesTest, FiringTestsReportWhichWeaponsThePedCarries) {
    const uint32_t kinds[6] = {kRevolver, kPistol, kRepeater, kRifle, kSniper, kShotgun};
    for (int carried = 0; carried < 6; ++carried) {
        SimPed armed = World::MakePed(*FindPedModelByName("A_M_M_ValTownfolk_01"), Vec3{});
        armed.weapons = kinds[carried];
        std::vector<bool> expected(6, false);
        expected[carried] = true;
        EXPECT_EQ(FiringTests(world.AddPed(armed)), expected) << "weapon " << carried;
    }
    EXPECT_EQ(FiringTests(world.AddTownsfolk(Vec3{})), std::vector<bool>(6, false));
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

    world.settings.failNextSpawns = 2;
    EXPECT_EQ(create(bear), 0);
    EXPECT_EQ(create(bear), 0);
    EXPECT_NE(create(bear), 0);
    EXPECT_EQ(world.PedsSpawned(), 2u);

    const uint32_t unknown = Joaat("A_C_Dragon_01");
    Call<id::REQUEST_MODEL>(unknown, true);
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_EQ(Call<id::HAS_MODEL_LOADED>(unknown), 0) << "a model that is none";
    world.settings.neverLoadModels.insert(Joaat("A_C_Wolf"));
    Call<id::REQUEST_MODEL>(Joaat("A_C_Wolf"), true);
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_EQ(Call<id::HAS_MODEL_LOADED>(Joaat("A_C_Wolf")), 0);
}

TEST_F(WorldNativesTest, EveryPredatorThePlugInSpawnsIsAnAnimalOfTheWild) {
    for (const PredatorModel& model : PredatorModels) {
        const PedModel* known = FindPedModel(model.hash);
        ASSERT_NE(known, nullptr) << model.name;
        EXPECT_EQ(known->name, model.name);
        EXPECT_FALSE(known->human);
        EXPECT_EQ(known->group, "REL_WILD_ANIMAL");
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

TEST_F(WorldNativesTest, ClockAndMissionFlagFollowVirtualTime) {
    world.Environment().SetClock(20, 59);
    EXPECT_EQ(Call<id::GET_CLOCK_HOURS>(), 20);
    world.AdvanceTo(4000);  // two in-game minutes at the game's pace
    EXPECT_EQ(Call<id::GET_CLOCK_HOURS>(), 21);

    world.Environment().AddMissionWindow(10000, 20000);
    EXPECT_EQ(Call<id::GET_MISSION_FLAG>(), 0);
    world.AdvanceTo(10000);
    EXPECT_NE(Call<id::GET_MISSION_FLAG>(), 0);
    world.AdvanceTo(20000);
    EXPECT_EQ(Call<id::GET_MISSION_FLAG>(), 0);
    world.Environment().SetMissionFlag(true);
    EXPECT_NE(Call<id::GET_MISSION_FLAG>(), 0);
}

}  // namespace
