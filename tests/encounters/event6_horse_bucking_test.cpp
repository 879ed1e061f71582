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

const std::string kOver = "The bucking is over, ending event.";

// Whether the agitated horse unseats its rider is the world's draw; these tests fix it.
class Event6Test : public EncounterTest {
  protected:
    void RiderComesOff(bool whenAsked, bool whenNotAsked) {
        world.settings.riderThrownChance = whenAsked ? 1.0 : 0.0;
        world.settings.riderUnseatedChance = whenNotAsked ? 1.0 : 0.0;
    }
    std::string KickedOff(int32_t rider) const {
        return "Victim " + S(rider) + " has been kicked off the horse.";
    }
};

TEST_F(Event6Test, Roll49ThrowsTheRiderWhoRunsUntilThePlayerIsFarAway) {
    RiderComesOff(true, false);
    const int32_t rider = world.AddRider(Near(10), "A_F_M_ValRider_01");
    const int32_t horse = world.FindPed(rider)->mount;
    world.Schedule(3500, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(161)); });
    StartFocused(event6_horse_bucking, SeedForRoll(49));
    Config.ExcludeWomen = true;  // riders are picked whatever their sex
    FinishFocused();
    EXPECT_TRUE(LoggedInOrder(
        {"Valid victim found " + S(rider) + " at distance: 10.000000m",
         "Randomly assigned victim: " + S(rider), "Initiating bucking event", KickedOff(rider),
         "Player is 150.000000 meters away from aggressor, ending event.", kDone}));
    EXPECT_EQ(OnlyCall<id::TASK_MOUNT_THROW_RIDER>(horse), Pushed(horse, true));
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(rider).size(), 1u);
    // One flight each, asked after, never given again while it runs (the world stands still).
    EXPECT_EQ(ArgsOf<id::TASK_FLEE_PED>(horse),
              (ArgLists{Pushed(horse, rider, 3, 0, -1.0f, -1, 0)}));
    EXPECT_EQ(ArgsOf<id::TASK_FLEE_PED>(rider),
              (ArgLists{Pushed(rider, horse, 3, 0, -1.0f, -1, 0)}));
    const auto asked = Calls<id::GET_SCRIPT_TASK_STATUS>(rider);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(Args(asked[0]), Pushed(rider, Joaat("SCRIPT_TASK_FLEE"), true));
    EXPECT_EQ(Calls<id::GET_BLIP_FROM_ENTITY>(rider).size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event6Test, Roll50KeepsTheRiderInTheSaddleAndADeadRiderIsStillHandedBack) {
    RiderComesOff(true, false);
    const int32_t rider = world.AddRider(Near(10));
    const int32_t horse = world.FindPed(rider)->mount;
    world.Schedule(2500, [rider](World& w) { w.KillPed(rider); });
    RunFocused(event6_horse_bucking, SeedForRoll(50));
    EXPECT_TRUE(Logged(kDone));
    EXPECT_FALSE(Logged(KickedOff(rider)));
    EXPECT_EQ(Calls<id::TASK_MOUNT_THROW_RIDER>(horse).at(0).args[1], 0u);
    // The horse runs from the player with the rider aboard, told once.
    EXPECT_EQ(ArgsOf<id::TASK_FLEE_PED>(horse),
              (ArgLists{Pushed(horse, player, 3, 0, -1.0f, -1, 0)}));
    EXPECT_TRUE(Calls<id::TASK_FLEE_PED>(rider).empty());
    EXPECT_TRUE(LeftNothing());
}

// The throw is asked for, not certain; and a horse told not to throw may unseat its rider.
TEST_F(Event6Test, WhatTheRiderDidDecidesNotTheRoll) {
    RiderComesOff(false, true);
    const int32_t unseated = world.AddRider(Near(10));
    world.Schedule(4500, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(200)); });
    RunFocused(event6_horse_bucking, SeedForRoll(50));
    EXPECT_TRUE(Logged(KickedOff(unseated)));
    EXPECT_EQ(Calls<id::TASK_FLEE_PED>(unseated).size(), 1u);

    world.RemovePed(unseated);
    world.MoveEntity(player, Near(0));
    const int32_t kept = world.AddRider(Near(10));
    RunFocused(event6_horse_bucking, SeedForRoll(49));
    EXPECT_FALSE(Logged(KickedOff(kept)));
    EXPECT_TRUE(Calls<id::TASK_FLEE_PED>(kept).empty());
    EXPECT_TRUE(LeftNothing());
}

// The scene the watch once held for five minutes: the horse bolts from the player, the thrown
// rider runs from the horse, back past a player who stays put.
TEST_F(Event6Test, AThrownRiderNearAPlayerWhoStaysEndsTheSceneWithinAMinute) {
    for (const bool thrown : {true, false}) {
        SCOPED_TRACE(thrown ? "thrown" : "kept in the saddle");
        world.settings.pedsAct = true;
        world.settings.despawnFarPeds = false;
        RiderComesOff(thrown, false);
        const int32_t rider = world.AddRider(Near(-20, 5));
        const int32_t horse = world.FindPed(rider)->mount;
        const uint64_t startMs = world.NowMs();
        RunFocused(event6_horse_bucking, SeedForRoll(thrown ? 10 : 90));
        EXPECT_TRUE(Logged(kDone));
        EXPECT_FALSE(Logged("Bucking event has gone on for 5 minutes, ending event."));
        EXPECT_LT(LoggedAtMs(kDone) - startMs, 65000u);
        if (thrown) {
            EXPECT_TRUE(Logged(kOver));
            EXPECT_LE(LoggedAtMs(kOver) - LoggedAtMs(KickedOff(rider)), 60000u);
            EXPECT_LE(Calls<id::TASK_FLEE_PED>(rider).size(), 2u);
        }
        EXPECT_LE(Calls<id::TASK_FLEE_PED>(horse).size(), 2u);
        EXPECT_TRUE(LeftNothing());
        world.RemovePed(rider);
        world.RemovePed(horse);
        world.MoveEntity(player, Near(0));
    }
}

// A flee the game never ends (here: the world stands still) does not hold the watch once
// the horse has gone.
TEST_F(Event6Test, ARiderStillRunningIsLetGoOnceTheHorseHasGone) {
    RiderComesOff(true, false);
    const int32_t rider = world.AddRider(Near(10));
    const int32_t horse = world.FindPed(rider)->mount;
    world.Schedule(5000, [horse](World& w) { w.MoveEntity(horse, Near(90)); });
    RunFocused(event6_horse_bucking, SeedForRoll(49));
    EXPECT_TRUE(LoggedInOrder({KickedOff(rider), kOver, kDone}));
    const uint64_t fell = LoggedAtMs(KickedOff(rider));
    EXPECT_GE(LoggedAtMs(kOver) - fell, 45000u);
    EXPECT_LE(LoggedAtMs(kOver) - fell, 47000u);
    EXPECT_EQ(Calls<id::TASK_FLEE_PED>(rider).size(), 1u);
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
