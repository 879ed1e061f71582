// Encounter "event4_wagon_robbery": a robber on foot goes for the driver's seat of a wagon
// near the player, with lawmen standing by.
#include <vector>

#include "core/config.h"
#include "encounter_fixture.h"
#include "encounters/event4_wagon_robbery.h"

namespace {

const std::string kDone = "event4_wagon_robbery completed successfully";
const std::string kRobberDown = "Aggressor is no longer active - deleting blips";
const std::string kDriverLeaves =
    "Aggressor is dead and victim is leaving the area - ending event.";

class Event4Test : public EncounterTest {
  protected:
    // A robber 5 m from the player and a supply wagon with its driver 20 m away.
    void BuildStreet() {
        robber = world.AddTownsfolk(Near(5));
        wagon = world.AddWagonWithDriver("CART01", Near(20));
        driver = world.FindVehicle(wagon)->occupants.at(-1);
    }

    // Runs the encounter on its own until the robber has been sent for the wagon.
    void StartRobbery() {
        StartFocused(event4_wagon_robbery);
        ASSERT_TRUE(RunUntil("Aggressor " + S(robber) + " is attempting wagon robbery on victim " +
                             S(driver)));
    }

    // The last wait the script made before the given native call.
    uint32_t WaitBefore(const HostCall& call) const {
        uint32_t last = 0;
        for (const HostCall& each : run->Host().Calls()) {
            if (each.kind == HostCall::kNative && each.hash == call.hash &&
                each.atMs == call.atMs && ArgInt(each, 0) == ArgInt(call, 0)) {
                break;
            }
            if (each.kind == HostCall::kWait) {
                last = each.waitMs;
            }
        }
        return last;
    }

    int32_t robber = 0;
    int32_t wagon = 0;
    int32_t driver = 0;
};

TEST_F(Event4Test, TheRobberTakesTheWagonFleesAndIsLetGoWhenFarAway) {
    BuildStreet();
    const int32_t lawman = world.AddLawman(Near(-10));
    StartRobbery();
    // The robber takes the driver's seat and the driver is pushed off.
    After(1500, [this](World& w) { w.SeatPed(robber, wagon, -1); });
    ASSERT_TRUE(RunUntil("Aggressor successfully entered wagon - initiating escape"));
    After(500, [this](World& w) { w.MoveEntity(wagon, Near(220)); });
    FinishFocused();

    const std::string a = S(robber), l = S(lawman);
    EXPECT_EQ(Between("Valid aggressors found " + a + " at distance: 5.000000m", kDone),
              (std::vector<std::string>{
                  "Valid aggressors found " + a + " at distance: 5.000000m",
                  "Checking vehicle for ped " + S(driver) + ": vehicle entity " + S(wagon),
                  "Ped " + S(driver) + " is in valid wagon model " + std::to_string(0xCEDED274u) +
                      " on seat -1",
                  "Valid victims found " + S(driver) + " at distance: 20.000000m",
                  "Randomly assigned aggressor: " + a, "Randomly assigned victim: " + S(driver),
                  "Initiating NPC confrontation event",
                  "Aggressor " + a + " is attempting wagon robbery on victim " + S(driver),
                  // The roll-call repeats each pass until the law is alerted.
                  "Nearby lawman found: " + l, "Nearby lawman found: " + l,
                  "Nearby lawman found: " + l, "Lawman " + l + " responding to wagon robbery",
                  "Aggressor successfully entered wagon - initiating escape",
                  "Player is 220.000000 meters away from aggressor, ending event.",
                  "Event 4 logic executed successfully", kDone}));
    // The robber goes for the driver's seat, then flees from the driver as a marked criminal.
    const auto enter = Calls<id::TASK_ENTER_VEHICLE>(robber);
    ASSERT_EQ(enter.size(), 1u);
    EXPECT_EQ(ArgInt(enter[0], 1), wagon);
    EXPECT_EQ(ArgInt(enter[0], 3), -1);
    ASSERT_EQ(Calls<id::TASK_FLEE_PED>(robber).size(), 1u);
    EXPECT_EQ(ArgInt(Calls<id::TASK_FLEE_PED>(robber)[0], 1), driver);
    EXPECT_EQ(world.FindPed(robber)->group, Joaat("REL_CRIMINALS"));
    // The thrown-off driver fights back; the lawman is sent twice (driver off, escape).
    EXPECT_EQ(ArgInt(Calls<id::TASK_COMBAT_PED>(driver).at(0), 1), robber);
    EXPECT_EQ(Calls<id::TASK_COMBAT_PED>(lawman).size(), 2u);
    // The lawman is left far behind by the end, so he keeps his orders.
    EXPECT_TRUE(Calls<id::CLEAR_PED_TASKS>(lawman).empty());
    // The blip is gone, and so is every claim on robber, driver and lawman.
    EXPECT_EQ(Calls<id::BLIP_ADD_FOR_ENTITY>().size(), 1u);
    EXPECT_TRUE(world.Blips().empty());
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(lawman).size(), 3u);
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, ARobberKilledBeforeTheDriverLeftLetsTheDriverDriveOnAtOnce) {
    BuildStreet();
    StartRobbery();
    After(1500, [this](World& w) { w.KillPed(robber); });
    FinishFocused();
    const auto lines = Between(
        "Aggressor " + S(robber) + " is attempting wagon robbery on victim " + S(driver), kDone);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{kRobberDown, kDriverLeaves,
                                        "Event 4 logic executed successfully", kDone}));
    EXPECT_TRUE(Calls<id::TASK_ENTER_VEHICLE>(driver).empty());
    const auto drive = Calls<id::TASK_VEHICLE_DRIVE_WANDER>(driver);
    ASSERT_EQ(drive.size(), 1u);
    EXPECT_EQ(ArgInt(drive[0], 1), wagon);
    EXPECT_EQ(WaitBefore(drive[0]), 2000u);
    EXPECT_TRUE(Calls<id::BLIP_ADD_FOR_ENTITY>().empty());
    // The dead robber is handed back too, or his body would never be cleared away.
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, ARobberKilledAfterTheDriverLeftSendsTheDriverBackOnBeforeDrivingOff) {
    BuildStreet();
    StartRobbery();
    After(1500, [this](World& w) {
        w.UnseatPed(driver);
        w.KillPed(robber);
    });
    ASSERT_TRUE(RunUntil(kRobberDown));
    run->Run(3000);
    EXPECT_FALSE(Logged(kDone));
    After(0, [this](World& w) { w.SeatPed(driver, wagon, -1); });
    FinishFocused();
    EXPECT_TRUE(Logged(kDriverLeaves));
    const auto back = Calls<id::TASK_ENTER_VEHICLE>(driver);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(ArgInt(back[0], 1), wagon);
    EXPECT_EQ(WaitBefore(back[0]), 2000u);
    const auto drive = Calls<id::TASK_VEHICLE_DRIVE_WANDER>(driver);
    ASSERT_EQ(drive.size(), 1u);
    EXPECT_GT(drive[0].atMs, back[0].atMs);
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, AHurtDriverTurnsTheNearbyLawAgainstTheRobber) {
    BuildStreet();
    const int32_t lawman = world.AddLawman(Near(-10));
    const int32_t deadLawman = world.AddLawman(Near(-11));
    world.KillPed(deadLawman);
    StartRobbery();
    After(500, [this](World& w) { w.HurtPed(driver, 60); });
    ASSERT_TRUE(RunUntil("Victim injured - law enforcement now hostile to aggressor"));
    run->Run(3000);
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-200)); });
    FinishFocused();
    const std::string l = S(lawman), d = S(deadLawman);
    const auto lines = Between("Nearby lawman found: " + l, "Event 4 logic executed successfully");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Nearby lawman found: " + l, "Nearby lawman found: " + d,
                         "Nearby lawman found: " + l, "Nearby lawman found: " + d,
                         "Lawman " + l + " responding to wagon robbery",
                         "Victim injured - law enforcement now hostile to aggressor",
                         "Player is 205.000000 meters away from aggressor, ending event.",
                         "Event 4 logic executed successfully"}));
    EXPECT_TRUE(Calls<id::TASK_COMBAT_PED>(deadLawman).empty());
    // Both lawmen were made mission entities by the roll-call; both are handed back.
    EXPECT_FALSE(world.FindPed(lawman)->missionEntity);
    EXPECT_FALSE(world.FindPed(deadLawman)->missionEntity);
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, AHurtDriverWithNoLawNearOnlyNotesIt) {
    BuildStreet();
    StartRobbery();
    After(500, [this](World& w) { w.HurtPed(driver, 60); });
    ASSERT_TRUE(RunUntil("Victim injured - law enforcement now hostile to aggressor"));
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-200)); });
    FinishFocused();
    EXPECT_EQ(
        Between("Aggressor " + S(robber) + " is attempting wagon robbery on victim " + S(driver),
                "Event 4 logic executed successfully"),
        (std::vector<std::string>{
            "Aggressor " + S(robber) + " is attempting wagon robbery on victim " + S(driver),
            "Victim injured - law enforcement now hostile to aggressor",
            "Player is 205.000000 meters away from aggressor, ending event.",
            "Event 4 logic executed successfully"}));
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, ARobberWhoNeverReachesTheWagonIsGivenUpAfterFiveMinutes) {
    BuildStreet();
    const int32_t lawman = world.AddLawman(Near(-10));
    StartRobbery();
    run->Run(290000);
    EXPECT_FALSE(Logged(kDone));
    FinishFocused();
    const std::string givenUp = "Robbery has gone on for 5 minutes, ending event.";
    EXPECT_EQ(Between(givenUp, kDone).size(), 3u);
    // Five minutes on the game's clock, overrun by less than one pass.
    const uint64_t watched = LoggedAtMs(givenUp) - LoggedAtMs("Aggressor " + S(robber) +
                                                              " is attempting wagon robbery "
                                                              "on victim " +
                                                              S(driver));
    EXPECT_GE(watched, 300000u);
    EXPECT_LT(watched, 301100u);
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

TEST_F(Event4Test, PassengersAndDriversOfOtherVehiclesAreNotRobbed) {
    robber = world.AddTownsfolk(Near(5));
    const int32_t covered = world.AddWagonWithDriver("CART02", Near(20), 1);
    const int32_t passenger = world.FindVehicle(covered)->occupants.at(0);
    world.RemovePed(world.FindVehicle(covered)->occupants.at(-1));
    const int32_t coach = world.AddWagonWithDriver("STAGECOACH004_2X", Near(30));
    const int32_t coachman = world.FindVehicle(coach)->occupants.at(-1);
    RunFocused(event4_wagon_robbery);
    const std::vector<std::string> expected = {
        "Checking vehicle for ped " + S(passenger) + ": vehicle entity " + S(covered),
        "Ped " + S(passenger) + " is in valid wagon model " + std::to_string(0x85943FE0u) +
            " on seat 0",
        "Checking vehicle for ped " + S(coachman) + ": vehicle entity " + S(coach),
        "Could not find 2 valid NPCs within radius. Found: 1 aggressors.",
        "Could not find 2 valid NPCs within radius. Found: 0 victims.",
        "Event cannot proceed without required NPCs",
        "Event 4 logic executed successfully",
        kDone};
    EXPECT_EQ(Between(expected.front(), kDone), expected);
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

TEST_F(Event4Test, InALivingWorldTheRobberDragsTheDriverOffAndMakesOffWithTheWagon) {
    world.settings.pedsAct = true;
    BuildStreet();
    RunFocused(event4_wagon_robbery);
    EXPECT_TRUE(Logged("Aggressor successfully entered wagon - initiating escape"));
    EXPECT_TRUE(Logged(kDone));
    EXPECT_EQ(world.FindPed(robber)->group, Joaat("REL_CRIMINALS"));
    EXPECT_TRUE(world.Blips().empty());
    EXPECT_EQ(world.OwnedPedCount(), 0u);
}

}  // namespace
