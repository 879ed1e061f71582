// Encounter "event1_aggressor" through the real main loop: two townsmen 40 m apart near the
// player, one set on the other, and the world scripted to end the fight in each way it can.
#include "encounter_fixture.h"

namespace {

const std::string kDone = "event1_aggressor completed successfully";

class Event1Test : public EncounterTest {
  protected:
    void StartFight(const std::string& extraIni = "", bool armed = false) {
        const int32_t first = world.AddTownsfolk(Near(5)), second = world.AddTownsfolk(Near(-35));
        world.FindPed(first)->weapons = world.FindPed(second)->weapons =
            armed ? uint32_t{kRifle} : 0u;
        Start(extraIni);
    }
    void Start(const std::string& extraIni = "") {
        RunPlugin(IniWith({"Event1_Aggressor"}) + extraIni, 60000);
        ASSERT_TRUE(RunUntil("Initiating NPC confrontation event"));
        aggressor = PedFromLine("Randomly assigned aggressor: ");
        victim = PedFromLine("Randomly assigned victim: ");
    }
    void PlayerAwayBy(float metres) {
        const Vec3 at = world.FindPed(aggressor)->pos;
        world.MoveEntity(player, Vec3{at.x + metres, at.y, at.z});
    }
    int32_t aggressor = 0, victim = 0;
};

TEST_F(Event1Test, StagesTheFightAndCalmsTheVictimWhenTheAggressorDies) {
    StartFight();
    After(1000, [this](World& w) { w.KillPed(aggressor); });
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_TRUE(
        LoggedInOrder({"Executing event1_aggressor", "Event 1 started - performing custom logic",
                       "Aggressor " + S(aggressor) + " is human and will use TASK_COMBAT_PED",
                       "Aggressor " + S(aggressor) + " is now attacking victim " + S(victim),
                       // The game clears the released variable, and the line shows it as left.
                       "Victim 0 is no longer needed and has been released.",
                       "Event 1 logic executed successfully", kDone}));
    // Both owned for good (mission entity, script-held), aggressor first.
    EXPECT_EQ(ArgsOf<id::SET_ENTITY_AS_MISSION_ENTITY>(),
              (ArgLists{Pushed(aggressor, 1, 1), Pushed(victim, 1, 1)}));
    // The aggressor drops what it did and attacks with the game's default combat flags.
    EXPECT_EQ(OnlyCall<id::TASK_COMBAT_PED>(aggressor), Pushed(aggressor, victim, 0, 16));
    EXPECT_EQ(Args(Calls<id::CLEAR_PED_TASKS>(aggressor).at(0)), Pushed(aggressor, 1, 1));
    EXPECT_EQ(Calls<id::CLEAR_PED_SECONDARY_TASK>(aggressor).size(), 1u);
    EXPECT_EQ(Args(Calls<id::SET_PED_KEEP_TASK>(aggressor).at(0)), Pushed(aggressor, 1));
    // The victim's tasks are cleared a second before it is handed back; the corpse follows.
    const auto calmed = Calls<id::CLEAR_PED_TASKS>(victim);
    const auto released = Calls<id::SET_ENTITY_AS_NO_LONGER_NEEDED>();
    ASSERT_EQ(calmed.size(), 1u);
    ASSERT_EQ(released.size(), 2u);
    EXPECT_EQ(released[0].atMs, calmed[0].atMs + 1000 + 23);
    EXPECT_TRUE(LeftNothing());
}

// With blips on the aggressor's own blip goes; with them off, a marker someone else put on him.
class Event1LeaveTest : public Event1Test, public ::testing::WithParamInterface<bool> {};

TEST_P(Event1LeaveTest, PlayerAt150MetresEndsItHandingBackBothAndRemovingTheAggressorsBlip) {
    const bool blips = GetParam();
    StartFight(blips ? "" : "[Blips]\nEnableBlips=false\n", true);
    if (!blips) {
        world.AddBlip(0x1234u, aggressor);
    }
    After(1000, [this](World&) { PlayerAwayBy(149.99f); });
    run->Run(3000);
    EXPECT_FALSE(Logged(kDone));
    After(0, [this](World&) { PlayerAwayBy(150.0f); });
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_TRUE(Logged("Player is 150.000000 meters away from aggressor, ending event."));
    const auto added = Calls<id::BLIP_ADD_FOR_ENTITY>();
    ASSERT_EQ(added.size(), blips ? 1u : 0u);
    if (blips) {
        EXPECT_EQ(Args(added[0]), Pushed(0x318C617Cu, aggressor));  // BLIP_STYLE_ENEMY
        EXPECT_EQ(Calls<id::CLEAR_BLIP>().at(0).args[0], added[0].result[0]);
    }
    EXPECT_EQ(Calls<id::GET_BLIP_FROM_ENTITY>(aggressor).size(), blips ? 0u : 1u);
    EXPECT_TRUE(LeftNothing());
}
INSTANTIATE_TEST_SUITE_P(Blips, Event1LeaveTest, ::testing::Bool());

TEST_F(Event1Test, ShootingFiresOnceAndSendsTheLaw) {
    const int32_t lawman = world.AddLawman(Near(-15));
    StartFight("", true);
    const std::string found = "Nearby lawman found: " + S(lawman);
    run->Run(3000);
    // Sent by the shooting trigger, then once more by the criminal trigger; no more while near.
    EXPECT_EQ(Count(found), 2u);
    EXPECT_EQ(Count("Aggressor " + S(aggressor) + " is shooting, victim will fight back"), 1u);
    EXPECT_EQ(Calls<id::TASK_FLEE_PED>(victim).size() + Calls<id::TASK_COMBAT_PED>(victim).size(),
              1u);
    EXPECT_EQ(world.FindPed(aggressor)->group, Joaat("REL_CRIMINALS"));
    After(0, [this](World& w) { w.KillPed(aggressor); });
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_EQ(Args(Calls<id::TASK_COMBAT_PED>(lawman).at(0)), Pushed(lawman, aggressor, 0, 16));
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);  // stood down at the end
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event1Test, MeleeInjuryAndPlayerCombatEachFireOnce) {
    const int32_t lawman = world.AddLawman(Near(-15));
    StartFight();
    After(600, [this](World& w) { w.FindPed(aggressor)->inMelee = true; });
    After(1600, [this](World& w) { w.HurtPed(victim, 60.0f); });
    After(2600, [this](World& w) { w.FindPed(aggressor)->combatTarget = player; });
    run->Run(5000);
    EXPECT_EQ(Count("Aggressor " + S(aggressor) + " is in melee combat"), 1u);
    EXPECT_EQ(Calls<id::TASK_COMBAT_PED>(victim).size(), 1u);  // the victim fights back
    // Melee, the criminal trigger after it, the injury and the fight with the player.
    EXPECT_EQ(Calls<id::TASK_COMBAT_PED>(lawman).size(), 4u);
    EXPECT_EQ(Calls<id::SET_PED_RELATIONSHIP_GROUP_HASH>(aggressor).size(), 2u);
    EXPECT_EQ(Calls<id::BLIP_ADD_FOR_ENTITY>().size(), 1u);
    After(0, [this](World& w) { w.KillPed(aggressor); });
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event1Test, AVanishedVictimMakesTheAggressorACriminalOnce) {
    StartFight();
    After(600, [this](World& w) { w.RemovePed(victim); });
    After(2600, [this](World& w) { w.KillPed(aggressor); });
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_EQ(Count("Victim " + S(victim) + " no longer exists"), 1u);
    EXPECT_EQ(world.FindPed(aggressor)->group, Joaat("REL_CRIMINALS"));
    EXPECT_FALSE(Logged("Victim 0 is no longer needed and has been released."));
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event1Test, AnAnimalAggressorCharges) {
    world.AddAnimal("A_C_Deer_01", Near(5));
    world.AddAnimal("A_C_Buck_01", Near(-35));
    Start();
    EXPECT_EQ(OnlyCall<id::TASK_COMBAT_ANIMAL_CHARGE_PED>(aggressor),
              Pushed(aggressor, victim, 0, 0, 0, 0, 0));
    EXPECT_TRUE(Calls<id::TASK_COMBAT_PED>(aggressor).empty());
}

TEST_F(Event1Test, OneCandidateIsNotEnough) {
    world.AddTownsfolk(Near(5));
    RunPlugin(IniWith({"Event1_Aggressor"}), 60000);
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_TRUE(LoggedInOrder({"Could not find 2 valid NPCs within radius. Found: 1 valid peds.",
                               "Event cannot proceed without at least 2 different NPCs", kDone}));
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
