// Encounter "event2_aggressor_player" through the real main loop: a townsman near the player
// turns on the player, and lawmen come and go.

#include "encounter_fixture.h"

namespace {

const std::string kDone = "event2_aggressor_player completed successfully";

class Event2Test : public EncounterTest {
  protected:
    void StartAttack(const std::string& extraIni = "") {
        aggressor = world.AddTownsfolk(Near(5));
        RunPlugin(IniWith({"Event2_Aggressor_Player"}) + extraIni, 60000);
        ASSERT_TRUE(RunUntil("Initiating NPC confrontation event"));
    }
    int32_t aggressor = 0;
};

// Nobody lands a blow (peds do not act), so the attack goes on until it is given up.
TEST_F(Event2Test, TurnsAPedOnThePlayerSendsLawmenEachTimeTheyArriveAndGivesUpAfterFiveMinutes) {
    const int32_t lawman = world.AddLawman(Near(600));
    StartAttack();
    // The fight with the player makes the aggressor a criminal at once, with no lawman near.
    run->Run(1000);
    for (const float east : {-15.0f, 600.0f, -15.0f}) {
        After(0, [=](World& w) { w.MoveEntity(lawman, Near(east)); });
        run->Run(2000);
    }
    ASSERT_TRUE(RunUntil(kDone, 310000));
    EXPECT_TRUE(
        LoggedInOrder({"Aggressor " + S(aggressor) + " is now attacking player!",
                       "Attack on the player has gone on for 5 minutes, ending event.", kDone}));
    EXPECT_EQ(Count("Nearby lawman found: " + S(lawman)), 2u);  // once each time he came
    EXPECT_EQ(OnlyCall<id::TASK_COMBAT_PED>(aggressor), Pushed(aggressor, player, 0, 16));
    EXPECT_EQ(Calls<id::SET_PED_RELATIONSHIP_GROUP_HASH>(aggressor).size(), 1u);
    EXPECT_EQ(Calls<id::BLIP_ADD_FOR_ENTITY>().size(), 1u);
    EXPECT_EQ(Calls<id::CLEAR_PED_TASKS>(lawman).size(), 1u);  // the law stands down
    // The player's ped was owned for the fight and is never handed back; nobody else stays.
    EXPECT_TRUE(world.FindPed(player)->missionEntity);
    EXPECT_TRUE(LeftNothing());
}

// A brawl the game does not count as combat with the player still makes the aggressor a
// criminal and sends the law after him.
TEST_F(Event2Test, MeleeAloneSendsTheLaw) {
    const int32_t lawman = world.AddLawman(Near(-15));
    aggressor = world.AddTownsfolk(Near(5));
    LoadPlugin(IniWith({"Event2_Aggressor_Player"}));
    run->Host().OverrideNative(
        id::IS_PED_IN_COMBAT::kHash,
        [](World&, const NativeArgs&, NativeResult& r) { r.SetBool(false); });
    ASSERT_TRUE(RunUntil("Initiating NPC confrontation event", 130000));
    EXPECT_TRUE(Calls<id::TASK_COMBAT_PED>(lawman).empty());
    After(0, [this](World& w) { w.FindPed(aggressor)->inMelee = true; });
    ASSERT_TRUE(RunUntil("Nearby lawman found: " + S(lawman), 2000));
    // On the pass that saw the brawl: the blip, and the lawman sent.
    const uint64_t brawlMs = LoggedAtMs("Aggressor " + S(aggressor) + " is in melee combat");
    EXPECT_EQ(LoggedAtMs("Nearby lawman found: " + S(lawman)), brawlMs);
    EXPECT_EQ(OnlyCall<id::BLIP_ADD_FOR_ENTITY>(), Pushed(0x318C617Cu, aggressor));
    EXPECT_EQ(OnlyCall<id::TASK_COMBAT_PED>(lawman), Pushed(lawman, aggressor, 0, 16));
    EXPECT_EQ(ArgsOf<id::SET_PED_RELATIONSHIP_GROUP_HASH>(aggressor),
              ArgLists{Pushed(aggressor, Joaat("REL_CRIMINALS"))});
}

TEST_F(Event2Test, NoCandidateEndsAtOnce) {
    world.AddLawman(Near(5));
    RunPlugin(IniWith({"Event2_Aggressor_Player"}), 60000);
    ASSERT_TRUE(RunUntil(kDone));
    EXPECT_TRUE(LoggedInOrder({"Could not find valid NPC within radius. Found: 0 valid peds.",
                               "Event cannot proceed without at least 1 aggressor", kDone}));
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
