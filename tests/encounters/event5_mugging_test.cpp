// Encounter "event5_mugging": an armed man robs a woman near the player, on its own.

#include "encounters/event5_mugging.h"
#include "core/config.h"
#include "encounter_fixture.h"

namespace {

const std::string kDone = "event5_mugging completed successfully";
const std::string kPedsDown = "One of the peds is dead or no longer exists, ending confrontation";
const std::string kFarWatch = "Aggressor has moved beyond 75 meters, ending confrontation";

class Event5Test : public EncounterTest {
  protected:
    // A man and a woman near the player; with women excluded from robbing he robs her.
    void StartMugging(bool blips = true) {
        robber = world.AddTownsfolk(Near(5));
        victim = world.AddTownsfolk(Near(6), false);
        StartFocused(event5_mugging);
        Config.ExcludeWomen = true;
        Config.EnableBlips = blips;
        ASSERT_TRUE(RunUntil("Aggressor " + S(robber) + " is now mugging victim " + S(victim)));
    }

    int32_t robber = 0, victim = 0;
};

TEST_F(Event5Test, LawmenNearOnTheFirstPassEndTheRobberyAndBothPartiesFlee) {
    const int32_t lawman = world.AddLawman(Near(-20));
    const int32_t bystander = world.AddTownsfolk(Near(-110));  // beyond the search radius
    StartMugging();
    ASSERT_TRUE(RunUntil("Victim " + S(victim) + " is fleeing from scene"));
    After(1500, [this](World& w) { w.KillPed(robber); });
    FinishFocused();

    const std::string a = S(robber), v = S(victim);
    EXPECT_TRUE(LoggedInOrder({"Valid ped found " + a + " at distance: 5.000000m",
                               "Valid ped found " + v + " at distance: 6.000000m",
                               "Assigned aggressor: " + a, "Assigned victim: " + v,
                               "Gave weapon " + std::to_string(0x0797FBF5u) + " to aggressor " + a,
                               "Nearby citizen " + S(bystander) + " is reacting to aggressor " + a,
                               "Nearby lawman " + S(lawman) + " is engaging aggressor " + a,
                               "Lawmen are engaging the aggressor, ending mugging event",
                               "Aggressor " + a + " is fleeing from scene",
                               "Victim " + v + " is fleeing from scene", kDone}));
    // The victim flees or fights back, on an even draw.
    EXPECT_NE(Logged("Ped " + v + " is fleeing from aggressor " + a),
              Logged("Ped " + v + " is fighting back against aggressor " + a));
    // Both are the event's; the robber gets a revolver with 100 rounds and robs her.
    EXPECT_EQ(ArgsOf<id::SET_ENTITY_AS_MISSION_ENTITY>(),
              (ArgLists{Pushed(robber, 1, 1), Pushed(victim, 1, 1), Pushed(lawman, 1, 1)}));
    EXPECT_EQ(OnlyCall<id::GIVE_WEAPON_TO_PED>(robber),
              Pushed(robber, 0x0797FBF5u, 100, 0, 1, 14, 0, 0.5f, 1.0f, 0x2CD419DCu, 1, 0.0f, 0));
    EXPECT_EQ(OnlyCall<id::TASK_ROB_PED>(robber), Pushed(robber, victim, 0.0f, 2, 0));
    EXPECT_EQ(Calls<id::SET_PED_KEEP_TASK>(robber).size(), 2u);  // robbing, then fleeing
    EXPECT_EQ(OnlyCall<id::BLIP_ADD_FOR_ENTITY>(), Pushed(0x318C617Cu, robber));
    EXPECT_EQ(ArgsOf<id::SET_PED_RELATIONSHIP_GROUP_HASH>(robber),
              (ArgLists{Pushed(robber, Joaat("REL_GANG_ODRISCOLL")),
                        Pushed(robber, Joaat("REL_CRIMINALS"))}));
    EXPECT_EQ(ArgInt(Calls<id::TASK_FLEE_PED>(robber).at(0), 1), victim);
    EXPECT_EQ(ArgInt(Calls<id::TASK_FLEE_PED>(victim).back(), 1), robber);
    // The lawman keeps his orders but is no longer held by the event; the dead robber's blip
    // goes with the watch.
    EXPECT_TRUE(Calls<id::CLEAR_PED_TASKS>(lawman).empty());
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, TenQuietPassesEndTheRobberyAndAHogtiedRobberEndsTheWatch) {
    const int32_t bystander = world.AddTownsfolk(Near(-110));
    StartMugging();
    ASSERT_TRUE(RunUntil("Mugging has ended", 30000));
    ASSERT_TRUE(RunUntil("Aggressor " + S(robber) + " is fleeing from scene"));
    run->Run(3000);
    EXPECT_FALSE(Logged(kDone));
    After(0, [this](World& w) { w.HogtiePed(robber); });
    FinishFocused();
    EXPECT_EQ(Count("In progress ..."), 10u);
    EXPECT_EQ(Count("Nearby citizen " + S(bystander) + " is reacting to aggressor " + S(robber)),
              10u);
    EXPECT_TRUE(
        LoggedInOrder({"Mugging has ended", "Aggressor " + S(robber) + " is fleeing from scene",
                       "Victim " + S(victim) + " is fleeing from scene", kDone}));
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, AKilledVictimLeavesTheRobberToFleeAloneAndHeIsLetGoBeyond75Metres) {
    StartMugging();
    After(500, [this](World& w) { w.KillPed(victim); });
    ASSERT_TRUE(RunUntil("Aggressor " + S(robber) + " is fleeing from scene"));
    run->Run(2000);
    After(0, [this](World& w) { w.MoveEntity(robber, Near(75)); });
    FinishFocused();
    EXPECT_TRUE(LoggedInOrder(
        {kPedsDown, "Aggressor " + S(robber) + " is fleeing from scene", kFarWatch, kDone}));
    EXPECT_TRUE(Calls<id::TASK_FLEE_PED>(victim).empty());
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, WhereTheGameKeepsTheHandleTheRobberStillFleesAndIsWatchedUntilGone) {
    world.settings.rewriteReleasedHandle = false;
    StartMugging(false);
    world.AddBlip(0x1234u, robber);  // someone else's marker on the robber
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-145)); });
    ASSERT_TRUE(RunUntil(kFarWatch));
    run->Run(3000);
    After(0, [this](World& w) { w.RemovePed(robber); });
    FinishFocused();
    EXPECT_TRUE(
        LoggedInOrder({"Player is 150.000000 meters away from aggressor, ending mugging event.",
                       "Aggressor " + S(robber) + " is fleeing from scene", kFarWatch}));
    EXPECT_GE(Count(kFarWatch), 3u);
    EXPECT_TRUE(Logged(kDone));
    EXPECT_TRUE(Calls<id::BLIP_ADD_FOR_ENTITY>().empty());
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, AStalledRobberyAndALingeringRobberAreEachGivenUpAfterFiveMinutes) {
    StartMugging();
    // The robber gives up before the first look: no pass counts toward the quiet ten.
    After(0, [this](World& w) { w.ClearTasks(robber); });
    FinishFocused(900000);
    EXPECT_FALSE(Logged("In progress ..."));
    const std::string muggingGivenUp =
        "Mugging has gone on for 5 minutes, robber and victim flee, watching the robber for up to "
        "5 more minutes.";
    EXPECT_TRUE(LoggedInOrder({muggingGivenUp, "Aggressor " + S(robber) + " is fleeing from scene",
                               "Victim " + S(victim) + " is fleeing from scene",
                               "Watch has gone on for 5 minutes, ending confrontation", kDone}));
    EXPECT_TRUE(LeftNothing());
}

// A seed under which two independent draws between two peds would pick the same one.
uint32_t SeedForSameDraw() {
    for (uint32_t seed = 1;; ++seed) {
        SeedRandom(seed);
        const int first = RandomInt() % 2;
        if (RandomInt() % 2 == first) {
            return seed;
        }
    }
}

// The player walks off mid-robbery: the robber is let go there and then, blip and all, and is
// neither turned criminal nor watched as he flees.
TEST_F(Event5Test, ThePlayerLeavingMidRobberyLetsTheRobberGoAtOnce) {
    StartMugging();
    ASSERT_TRUE(RunUntil("In progress ..."));
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(0, 400)); });
    FinishFocused();
    const std::vector<std::string> left =
        LinesFrom({"Player is ", "Aggressor " + S(robber) + " is fleeing", kFarWatch});
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].find("Player is "), 0u);
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_NO_LONGER_NEEDED>().at(0).atMs,
              LoggedAtMs(left[0]));  // the robber goes back first, on that pass
    EXPECT_EQ(Calls<id::SET_PED_RELATIONSHIP_GROUP_HASH>(robber).size(), 1u);  // no criminal
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, TheVictimIsNeverTheRobber) {
    world.AddTownsfolk(Near(5));
    world.AddTownsfolk(Near(6));
    StartFocused(event5_mugging, SeedForSameDraw());
    ASSERT_TRUE(RunUntil("Initiating NPC confrontation event"));
    robber = PedFromLine("Randomly assigned aggressor: ");
    victim = PedFromLine("Randomly assigned victim: ");
    EXPECT_NE(robber, victim);
    After(0, [this](World& w) { w.KillPed(robber); });
    FinishFocused();
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event5Test, WithoutTwoDifferentPeopleNobodyIsTouched) {
    world.AddTownsfolk(Near(5));
    world.AddAnimal("A_C_Deer_01", Near(6));  // no victim: only people are robbed
    RunFocused(event5_mugging);
    EXPECT_EQ(PedFromLine("Randomly assigned aggressor: "), 0);
    EXPECT_TRUE(LoggedInOrder({"Could not find 2 valid NPCs within radius. Found: 1 NPCs",
                               "Event cannot proceed without required NPCs", kDone}));
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
