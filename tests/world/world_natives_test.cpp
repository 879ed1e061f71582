// How the simulated world answers natives: the nearby-ped buffer, positions of riders and
// passengers, identifier hashes, the weapon tests, hand-backs, spawning and blips.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sim/world/joaat.h"
#include "world/world_test_support.h"

namespace {

class WorldNativesTest : public ::testing::Test {
  protected:
    WorldNativesTest() : host(world) {
        player = world.CreatePlayer(Vec3{0, 0, 0});
        world.settings.pedsAct = false;
    }

    int32_t Nearby(int32_t centre, std::vector<uint64_t>& buffer) {
        return CallInt(host, native::kNearbyPeds,
                       {HandleArg(centre), PointerArg(buffer.data()), HandleArg(-1), 0});
    }

    Vec3 Coords(int32_t entity) {
        const uint64_t* r = CallNative(host, native::kGetEntityCoords, {HandleArg(entity), 1, 0});
        return Vec3{FloatResult(r[0]), FloatResult(r[1]), FloatResult(r[2])};
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
    EXPECT_EQ(buffer[1], HandleArg(nearest));
    EXPECT_EQ(buffer[2], HandleArg(middle));
    EXPECT_EQ(buffer[3], kUntouched) << "nothing is written past the capacity";

    buffer.assign(6, kUntouched);
    buffer[0] = 5;
    EXPECT_EQ(Nearby(player, buffer), 3);
    EXPECT_EQ(buffer[3], HandleArg(far));
    EXPECT_EQ(buffer[4], kUntouched);
}

TEST_F(WorldNativesTest, NearbyPedsLeaveOutTheCentreAndWriteHandlesInTheLowHalf) {
    const int32_t ped = world.AddTownsfolk(Vec3{3, 0, 0});
    std::vector<uint64_t> buffer(4, kUntouched);
    buffer[0] = 3;
    ASSERT_EQ(Nearby(ped, buffer), 1);
    EXPECT_EQ(buffer[1], HandleArg(player)) << "the player is a ped like any other";
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
    const uint64_t* own = CallNative(host, native::kGetEntityCoords, {HandleArg(rider), 1, 1});
    EXPECT_FLOAT_EQ(FloatResult(own[0]), -50);
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
            EXPECT_EQ(static_cast<uint32_t>(
                          CallNative(host, native::kHashKey, {PointerArg(text.c_str())})[0]),
                      example.second)
                << text;
        }
    }
}

TEST_F(WorldNativesTest, FiringTestsReportWhichWeaponsThePedCarries) {
    const uint32_t kinds[6] = {kRevolver, kPistol, kRepeater, kRifle, kSniper, kShotgun};
    for (int carried = 0; carried < 6; ++carried) {
        SimPed armed = World::MakePed(*FindPedModelByName("A_M_M_ValTownfolk_01"), Vec3{});
        armed.weapons = kinds[carried];
        const int32_t ped = world.AddPed(armed);
        for (int test = 0; test < 6; ++test) {
            EXPECT_EQ(CallInt(host, native::kFiringTests[test], {HandleArg(ped), 1}) != 0,
                      test == carried)
                << "weapon " << carried << ", test " << test + 1;
        }
    }
    const int32_t unarmed = world.AddTownsfolk(Vec3{});
    for (uint64_t test : native::kFiringTests) {
        EXPECT_EQ(CallInt(host, test, {HandleArg(unarmed), 1}), 0);
    }
}

TEST_F(WorldNativesTest, HandingBackRewritesTheVariableAndDropsOrdersNotKept) {
    const int32_t kept = world.AddTownsfolk(Vec3{5, 0, 0});
    const int32_t dropped = world.AddTownsfolk(Vec3{6, 0, 0});
    for (int32_t ped : {kept, dropped}) {
        CallNative(host, native::kSetMissionEntity, {HandleArg(ped), 1, 1});
        CallNative(host, native::kFlee,
                   {HandleArg(ped), HandleArg(player), 3, 0, FloatArg(-1), HandleArg(-1), 0});
    }
    CallNative(host, native::kKeepTask, {HandleArg(kept), 1});
    for (int32_t ped : {kept, dropped}) {
        int32_t variable = ped;
        CallNative(host, native::kNoLongerNeeded, {PointerArg(&variable)});
        EXPECT_EQ(variable, 0);
        EXPECT_FALSE(world.FindPed(ped)->missionEntity);
    }
    EXPECT_TRUE(world.FindPed(kept)->fleeing);
    EXPECT_EQ(world.FindPed(dropped)->task.kind, TaskKind::None);

    world.settings.rewriteReleasedHandle = false;
    int32_t variable = kept;
    CallNative(host, native::kNoLongerNeeded, {PointerArg(&variable)});
    EXPECT_EQ(variable, kept);
}

TEST_F(WorldNativesTest, CreatePedMakesTheCatalogueKindOnceTheModelHasLoaded) {
    const uint32_t bear = Joaat("A_C_Bear_01");
    const auto create = [&](uint32_t model) {
        return CallInt(host, native::kCreatePed,
                       {model, FloatArg(50), FloatArg(0), FloatArg(0), FloatArg(0), 1, 1, 1, 1});
    };
    CallNative(host, native::kRequestModel, {bear, 1});
    EXPECT_EQ(CallInt(host, native::kModelLoaded, {bear}), 0);
    EXPECT_EQ(create(bear), 0) << "no ped before the model has loaded";
    world.AdvanceTo(world.settings.modelLoadMs);
    ASSERT_NE(CallInt(host, native::kModelLoaded, {bear}), 0);

    const int32_t ped = create(bear);
    ASSERT_NE(ped, 0);
    EXPECT_EQ(CallInt(host, native::kIsHuman, {HandleArg(ped)}), 0);
    EXPECT_EQ(static_cast<uint32_t>(CallInt(host, native::kGroupOf, {HandleArg(ped)})),
              Joaat("REL_WILD_ANIMAL"));
    EXPECT_NE(CallInt(host, native::kIsMissionEntity, {HandleArg(ped)}), 0)
        << "what a script creates is the script's";
    EXPECT_EQ(world.PedsSpawned(), 1u);

    world.settings.failNextSpawns = 2;
    EXPECT_EQ(create(bear), 0);
    EXPECT_EQ(create(bear), 0);
    EXPECT_NE(create(bear), 0);
    EXPECT_EQ(world.PedsSpawned(), 2u);

    const uint32_t unknown = Joaat("A_C_Dragon_01");
    CallNative(host, native::kRequestModel, {unknown, 1});
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_EQ(CallInt(host, native::kModelLoaded, {unknown}), 0) << "a model that is none";
    world.settings.neverLoadModels.insert(Joaat("A_C_Wolf"));
    CallNative(host, native::kRequestModel, {Joaat("A_C_Wolf"), 1});
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_EQ(CallInt(host, native::kModelLoaded, {Joaat("A_C_Wolf")}), 0);
}

TEST_F(WorldNativesTest, EveryPredatorThePlugInSpawnsIsAnAnimalOfTheWild) {
    for (const uint32_t model :
         {0xBCFD0E7Fu, 0xBBD91DDAu, 0xCB391381u, 0xCE924A27u, 0x1CA6B883u, 0x056154F7u}) {
        const PedModel* known = FindPedModel(model);
        ASSERT_NE(known, nullptr) << std::hex << model;
        EXPECT_FALSE(known->human);
        EXPECT_EQ(known->group, "REL_WILD_ANIMAL");
    }
}

TEST_F(WorldNativesTest, RemovingABlipTakesTheClearingCallAndTheRemoval) {
    const int32_t ped = world.AddTownsfolk(Vec3{5, 0, 0});
    const int32_t blip = CallInt(host, native::kBlipAdd, {0x318C617Cu, HandleArg(ped)});
    ASSERT_NE(blip, 0);
    CallNative(host, native::kClearBlip, {HandleArg(blip)});
    EXPECT_EQ(world.Blips().size(), 1u) << "clearing alone leaves the blip standing";
    int32_t copy = blip;
    CallNative(host, native::kRemoveBlip, {PointerArg(&copy)});
    EXPECT_TRUE(world.Blips().empty());
}

TEST_F(WorldNativesTest, ClockAndMissionFlagFollowVirtualTime) {
    world.Environment().SetClock(20, 59);
    EXPECT_EQ(CallInt(host, native::kClockHours, {}), 20);
    world.AdvanceTo(4000);  // two in-game minutes at the game's pace
    EXPECT_EQ(CallInt(host, native::kClockHours, {}), 21);

    world.Environment().AddMissionWindow(10000, 20000);
    EXPECT_EQ(CallInt(host, native::kMissionFlag, {}), 0);
    world.AdvanceTo(10000);
    EXPECT_NE(CallInt(host, native::kMissionFlag, {}), 0);
    world.AdvanceTo(20000);
    EXPECT_EQ(CallInt(host, native::kMissionFlag, {}), 0);
    world.Environment().SetMissionFlag(true);
    EXPECT_NE(CallInt(host, native::kMissionFlag, {}), 0);
}

}  // namespace
