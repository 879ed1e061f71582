// Encounter "event4_wagon_robbery": a robber on foot goes for the driver's seat of a wagon
// near the player, with lawmen standing by.

#include "encounters/event4_wagon_robbery.h"
#include "encounter_fixture.h"

namespace {

const std::string kDone = "event4_wagon_robbery completed successfully";
const std::string kRobberDown = "Aggressor is no longer active - deleting blips";
const std::string kDriverLeaves =
    "Aggressor is dead and victim is leaving the area - ending event.";

class Event4Test : public EncounterTest {
  protected:
    // A robber 5 m from the player, a supply wagon with its driver 20 m away, a lawman 10 m.
    void StartRobbery() {
        robber = world.AddTownsfolk(Near(5));
        wagon = world.AddWagonWithDriver("CART01", Near(20));
        driver = world.FindVehicle(wagon)->occupants.at(-1);
        lawman = world.AddLawman(Near(-10));
        StartFocused(event4_wagon_robbery);
        started = "Aggressor " + S(robber) + " is attempting wagon robbery on victim " + S(driver);
        ASSERT_TRUE(RunUntil(started));
    }

    // The last wait the script made before the given native call.
    uint32_t WaitBefore(const HostCall& call) const {
        uint32_t last = 0;
        for (const HostCall& each : run->Host().Calls()) {
            if (each.hash == call.hash && each.atMs == call.atMs && Args(each) == Args(call)) {
                return last;
            }
            last = each.kind == HostCall::kWait ? each.waitMs : last;
        }
        return last;
    }

    int32_t robber = 0, wagon = 0, driver = 0, lawman = 0;
    std::string started;  // the line that sends the robber for the wagon
};

TEST_F(Event4Test, TheRobberTakesTheWagonFleesAndIsLetGoWhenFarAway) {
    StartRobbery();
    // The robber takes the driver's seat and the driver is pushed off.
    After(1500, [this](World& w) { w.SeatPed(robber, wagon, -1); });
    ASSERT_TRUE(RunUntil("Aggressor successfully entered wagon - initiating escape"));
    After(500, [this](World& w) { w.MoveEntity(wagon, Near(220)); });
    FinishFocused();

    const std::string l = S(lawman);
    EXPECT_TRUE(
        LoggedInOrder({"Valid aggressors found " + S(robber) + " at distance: 5.000000m",
                       "Valid victims found " + S(driver) + " at distance: 20.000000m",
                       "Nearby lawman found: " + l, "Lawman " + l + " responding to wagon robbery",
                       "Aggressor successfully entered wagon - initiating escape",
                       "Player is 220.000000 meters away from aggressor, ending event.", kDone}));
    EXPECT_EQ(Count("Nearby lawman found: " + l), 3u);  // each pass until the driver is off
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(robber).size(), 1u);
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(driver).size(), 1u);
    // The robber goes for the driver's seat, then flees from the driver as a marked criminal.
    EXPECT_EQ(OnlyCall<id::TASK_ENTER_VEHICLE>(robber),
              Pushed(robber, wagon, 60000, -1, 3.0f, 0x10049, 0));
    EXPECT_EQ(OnlyCall<id::TASK_FLEE_PED>(robber), Pushed(robber, driver, 3, 0, -1.0f, -1, 0));
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(robber).size(), 2u);  // before boarding, and fleeing
    EXPECT_EQ(OnlyCall<id::SET_PED_KEEP_TASK>(robber), Pushed(robber, 1));
    EXPECT_EQ(world.FindPed(robber)->group, Joaat("REL_CRIMINALS"));
    // The thrown-off driver fights back; the lawman is sent twice (driver off, escape).
    EXPECT_EQ(Args(Calls<id::TASK_COMBAT_PED>(driver).at(0)), Pushed(driver, robber, 0, 16));
    EXPECT_EQ(OnlyCall<id::SET_PED_KEEP_TASK>(driver), Pushed(driver, 1));
    EXPECT_EQ(Calls<id::TASK_COMBAT_PED>(lawman).size(), 2u);
    // Neither before the driver is off the wagon.
    EXPECT_GE(Calls<id::TASK_COMBAT_PED>(driver).at(0).atMs, LoggedAtMs(started) + 1500);
    EXPECT_GE(Calls<id::TASK_COMBAT_PED>(lawman).at(0).atMs, LoggedAtMs(started) + 1500);
    // The lawman is left far behind by the end, so he keeps his orders.
    EXPECT_TRUE(Calls<id::CLEAR_PED_TASKS>(lawman).empty());
    // The blip is gone, and so is every claim on robber, driver and lawman.
    EXPECT_EQ(OnlyCall<id::BLIP_ADD_FOR_ENTITY>(), Pushed(0x318C617Cu, robber));
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(lawman).size(), 3u);
    EXPECT_TRUE(LeftNothing());
}

// The robber is killed with the driver still on the wagon, or after throwing him off.
class Event4RecoveryTest : public Event4Test, public ::testing::WithParamInterface<bool> {};

TEST_P(Event4RecoveryTest, ADeadRobberLetsTheDriverBoardAgainIfThrownOffAndDriveOn) {
    const bool thrownOff = GetParam();
    StartRobbery();
    After(1500, [this, thrownOff](World& w) {
        if (thrownOff) {
            w.UnseatPed(driver);
        }
        w.KillPed(robber);
    });
    ASSERT_TRUE(RunUntil(kRobberDown));
    if (thrownOff) {  // the event waits for him to sit again
        run->Run(3000);
        EXPECT_FALSE(Logged(kDone));
        After(0, [this](World& w) { w.SeatPed(driver, wagon, -1); });
    }
    FinishFocused();
    EXPECT_TRUE(LoggedInOrder({kRobberDown, kDriverLeaves, kDone}));
    // Each order comes after his tasks are cleared and a two-second pause.
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(driver).size(), thrownOff ? 2u : 1u);
    const auto back = Calls<id::TASK_ENTER_VEHICLE>(driver);
    ASSERT_EQ(back.size(), thrownOff ? 1u : 0u);
    if (thrownOff) {
        EXPECT_EQ(Args(back[0]), Pushed(driver, wagon, 60000, -1, 3.0f, 0x10049, 0));
        EXPECT_EQ(WaitBefore(back[0]), 2000u);
    }
    EXPECT_EQ(OnlyCall<id::TASK_VEHICLE_DRIVE_WANDER>(driver), Pushed(driver, wagon, 3.0f, 786603));
    EXPECT_EQ(WaitBefore(Calls<id::TASK_VEHICLE_DRIVE_WANDER>(driver).at(0)), 2000u);
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);  // the law stands down
    EXPECT_TRUE(Calls<id::BLIP_ADD_FOR_ENTITY>().empty());
    EXPECT_TRUE(LeftNothing());  // the dead robber too, or his body would stay
}
INSTANTIATE_TEST_SUITE_P(Driver, Event4RecoveryTest, ::testing::Bool());

TEST_F(Event4Test, ARobberKilledInTheWagonLosesHisBlipAndWithTheWagonGoneTheLawStandsDown) {
    StartRobbery();
    After(1500, [this](World& w) { w.SeatPed(robber, wagon, -1); });
    After(3000, [this](World& w) {
        w.KillPed(robber);
        w.RemoveVehicle(wagon);
    });
    FinishFocused();
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    EXPECT_TRUE(LoggedInOrder(
        {kRobberDown, "Aggressor is dead and victim vehicle no longer exists - ending event.",
         kDone}));
    EXPECT_TRUE(Calls<id::TASK_VEHICLE_DRIVE_WANDER>(driver).empty());
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event4Test, AHurtDriverTurnsTheNearbyLawAgainstTheRobber) {
    const int32_t deadLawman = world.AddLawman(Near(-11));
    world.KillPed(deadLawman);
    StartRobbery();
    After(500, [this](World& w) { w.HurtPed(driver, 60); });
    ASSERT_TRUE(RunUntil("Victim injured - law enforcement now hostile to aggressor"));
    run->Run(3000);
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-145)); });
    FinishFocused();
    // The dead lawman is called on too (the lawmen's search keeps the dead); only the living
    // one responds.
    EXPECT_TRUE(Logged("Nearby lawman found: " + S(deadLawman)));
    const std::string l = S(lawman);
    EXPECT_TRUE(
        LoggedInOrder({"Lawman " + l + " responding to wagon robbery",
                       "Victim injured - law enforcement now hostile to aggressor",
                       "Player is 150.000000 meters away from aggressor, ending event.", kDone}));
    EXPECT_EQ(Args(Calls<id::TASK_COMBAT_PED>(lawman).at(0)), Pushed(lawman, robber, 0, 16));
    EXPECT_TRUE(Calls<id::TASK_COMBAT_PED>(deadLawman).empty());
    // The player left: the lawman near the robber stands down, and both are handed back.
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event4Test, ARobberWhoStaysNearIsGivenUpAfterFiveMinutesWithHisBlip) {
    StartRobbery();
    After(1500, [this](World& w) { w.SeatPed(robber, wagon, -1); });  // and never drives off
    FinishFocused();
    const std::string givenUp = "Robbery has gone on for 5 minutes, ending event.";
    EXPECT_TRUE(LoggedInOrder({givenUp, kDone}));
    // Five minutes on the game's clock, overrun by less than one pass.
    const uint64_t watched = LoggedAtMs(givenUp) - LoggedAtMs(started);
    EXPECT_GE(watched, 300000u);
    EXPECT_LT(watched, 301100u);
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);  // the law stands down
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event4Test, PassengersAndDriversOfOtherVehiclesAreNotRobbed) {
    robber = world.AddTownsfolk(Near(5));
    const int32_t covered = world.AddWagonWithDriver("CART02", Near(20), 1);
    const int32_t passenger = world.FindVehicle(covered)->occupants.at(0);
    world.RemovePed(world.FindVehicle(covered)->occupants.at(-1));
    const int32_t coach = world.AddWagonWithDriver("STAGECOACH004_2X", Near(30));
    const int32_t coachman = world.FindVehicle(coach)->occupants.at(-1);
    RunFocused(event4_wagon_robbery);
    // A passenger of a listed wagon and the driver of a coach are looked at, not taken.
    EXPECT_TRUE(Logged("Ped " + S(passenger) + " is in valid wagon model " +
                       std::to_string(Joaat("CART02")) + " on seat 0"));
    EXPECT_TRUE(Logged("Checking vehicle for ped " + S(coachman) + ": vehicle entity " + S(coach)));
    EXPECT_FALSE(Logged("Ped " + S(coachman) + " is in valid wagon model " +
                        std::to_string(Joaat("STAGECOACH004_2X")) + " on seat -1"));
    EXPECT_TRUE(LoggedInOrder({"Could not find 2 valid NPCs within radius. Found: 1 aggressors.",
                               "Could not find 2 valid NPCs within radius. Found: 0 victims.",
                               "Event cannot proceed without required NPCs", kDone}));
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
