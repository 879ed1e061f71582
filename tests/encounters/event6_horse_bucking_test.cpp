// Encounter "event6_horse_bucking" on its own, with the generator seeded so the bucking roll
// falls just either side of the throw.

#include "encounters/event6_horse_bucking.h"
#include "core/config.h"
#include "encounter_fixture.h"

namespace {

const std::string kDone = "event6_horse_bucking completed successfully";

// A seed under which, with one rider to pick, the roll comes out as wanted.
uint32_t SeedForRoll(int wanted) {
    for (uint32_t seed = 1;; ++seed) {
        SeedRandom(seed);
        RandomInt();  // the rider
        if (RandomInt() % 100 == wanted) {
            return seed;
        }
    }
}

class Event6Test : public EncounterTest {};

TEST_F(Event6Test, Roll49ThrowsTheRiderWhoRunsUntilThePlayerIsFarAway) {
    const int32_t rider = world.AddRider(Near(10), "A_F_M_ValRider_01");
    const int32_t horse = world.FindPed(rider)->mount;
    // The rider lands a metre beside the horse.
    world.Schedule(3500, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(161)); });
    StartFocused(event6_horse_bucking, SeedForRoll(49));
    Config.ExcludeWomen = true;  // riders are picked whatever their sex
    FinishFocused();
    EXPECT_TRUE(
        LoggedInOrder({"Valid victim found " + S(rider) + " at distance: 10.000000m",
                       "Randomly assigned victim: " + S(rider), "Initiating bucking event",
                       "Victim " + S(rider) + " has been kicked off the horse.",
                       "Player is 150.000000 meters away from aggressor, ending event.", kDone}));
    EXPECT_EQ(OnlyCall<id::TASK_MOUNT_THROW_RIDER>(horse), Pushed(horse, true));
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(rider).size(), 1u);
    const auto horseFlees = Calls<id::TASK_FLEE_PED>(horse);
    ASSERT_EQ(horseFlees.size(), 4u);  // one per cycle
    EXPECT_EQ(Args(horseFlees[0]), Pushed(horse, rider, 3, 0, -1.0f, -1, 0));
    EXPECT_EQ(ArgInt(horseFlees[3], 1), player);
    EXPECT_EQ(Calls<id::TASK_FLEE_PED>(rider).size(), 4u);
    EXPECT_EQ(Calls<id::GET_BLIP_FROM_ENTITY>(rider).size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event6Test, Roll50KeepsTheRiderInTheSaddleAndADeadRiderIsStillHandedBack) {
    const int32_t rider = world.AddRider(Near(10));
    const int32_t horse = world.FindPed(rider)->mount;
    world.Schedule(2500, [rider](World& w) { w.KillPed(rider); });
    RunFocused(event6_horse_bucking, SeedForRoll(50));
    EXPECT_TRUE(Logged(kDone));
    EXPECT_FALSE(Logged("Victim " + S(rider) + " has been kicked off the horse."));
    EXPECT_EQ(Calls<id::TASK_MOUNT_THROW_RIDER>(horse).at(0).args[1], 0u);
    const auto horseFlees = Calls<id::TASK_FLEE_PED>(horse);
    ASSERT_EQ(horseFlees.size(), 2u);
    EXPECT_EQ(ArgInt(horseFlees[0], 1), player);
    EXPECT_TRUE(Calls<id::TASK_FLEE_PED>(rider).empty());
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event6Test, OnlyLivingUnprotectedRidersWithinReachArePicked) {
    world.FindPed(world.AddRider(Near(5)))->group = Joaat("REL_WILD_ANIMAL");
    world.FindPed(world.AddRider(Near(6)))->group = Joaat("REL_COP");
    world.FindPed(world.AddRider(Near(7)))->missionEntity = true;
    world.KillPed(world.AddRider(Near(8)));
    world.AddRider(Near(9), "U_M_M_ValGunsmith_01");
    world.AddRider(Near(0, 100.01f));
    world.AddTownsfolk(Near(3));
    RunFocused(event6_horse_bucking);
    EXPECT_TRUE(Logged("Excluded shopkeeper found: U_M_M_ValGunsmith_01"));
    EXPECT_TRUE(LoggedInOrder({"Could not find valid NPCs within radius. Found: 0 victims.",
                               "Event cannot proceed without required NPCs", kDone}));
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
