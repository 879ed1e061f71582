// The shared moves on chosen peds: lawmen and bystanders, reactions, and the ledger that hands
// every owned ped back. (The aggressor's blip is tested through the encounters.)

#include "world/ped_moves.h"
#include "encounter_fixture.h"
#include "world/ped_ledger.h"

namespace {

World* gWorld = nullptr;
std::vector<Ped> gPeds;  // the peds a body works on, set by the test
std::vector<Ped> gFound;
std::vector<Ped> gFound2;

class PedMovesTest : public EncounterTest {
  protected:
    PedMovesTest() { gWorld = &world; }
};

void OwnAndHandBack() {
    const Ped player = gPeds[0], kept = gPeds[1], released = gPeds[2], vanished = gPeds[3];
    PedLedger ledger;
    ledger.Own(kept);
    ledger.Own(kept);
    ledger.Own(released);
    ledger.Own(player);
    ledger.Own(vanished);
    gWorld->RemovePed(vanished);
    Ped variable = released;
    ledger.Release(&variable);
    gFound = {variable};
    ledger.ReleaseRemaining();
    ledger.ReleaseRemaining();  // nothing left: no further calls
}

TEST_F(PedMovesTest, LedgerHandsBackEachOwnedPedOnceButNeverThePlayer) {
    gPeds = {player, world.AddTownsfolk(Near(2)), world.AddTownsfolk(Near(3)),
             world.AddTownsfolk(Near(4))};
    RunFocused(OwnAndHandBack);
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().size(), 5u);
    // The released ped through its variable (which the game cleared), then the kept one; the
    // player and the vanished ped are skipped.
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_NO_LONGER_NEEDED>().size(), 2u);
    EXPECT_EQ(gFound, std::vector<Ped>{0});
    EXPECT_TRUE(LeftNothing());
    EXPECT_TRUE(world.FindPed(player)->missionEntity);
}

void FindLawmenAndBystanders() {
    gFound = FindNearbyLawmen(gPeds[0]);
    gFound2 = FindNearbyBystanders(gPeds[0], gPeds[1]);
}

TEST_F(PedMovesTest, LawmenIncludeTheDeadAndBystandersLeaveOutTheParties) {
    const Ped centre = world.AddTownsfolk(Near(0, 20));
    const Ped excluded = world.AddTownsfolk(Near(0, 21));
    const Ped deadLawman = world.AddLawman(Near(0, 22));
    world.KillPed(deadLawman);
    const Ped lawman = world.AddLawman(Near(0, 23));
    const Ped woman = world.AddTownsfolk(Near(0, 24), false);
    AddInGroup(Near(0, 25), "REL_GANG_DUTCHS");
    AddInGroup(Near(0, 26), "REL_GANG_DUTCHS_HORSES");
    const Ped townsman = world.AddTownsfolk(Near(0, 27));
    gPeds = {centre, excluded};
    RunFocused(FindLawmenAndBystanders);
    EXPECT_EQ(gFound, (std::vector<Ped>{deadLawman, lawman}));
    // The player stands 20 m from the centre and is listed by the game, but is no bystander.
    EXPECT_EQ(gFound2, (std::vector<Ped>{woman, townsman}));
}

void ReactAll() {
    for (size_t i = 1; i < gPeds.size(); ++i) {
        ReactToAggressor(gPeds[i], gPeds[0]);
    }
}

TEST_F(PedMovesTest, ReactorsFleeOrFightBackAndKeepTheTaskUnlessAlreadyFleeing) {
    const Ped aggressor = world.AddTownsfolk(Near(5));
    gPeds = {aggressor};
    for (int i = 0; i < 12; ++i) {
        gPeds.push_back(world.AddTownsfolk(Near(6 + static_cast<float>(i))));
    }
    const Ped alreadyFleeing = gPeds[1];
    world.OrderFlee(alreadyFleeing, player);
    const Ped dead = gPeds[2];
    world.KillPed(dead);
    RunFocused(ReactAll);

    EXPECT_EQ(
        Count("Ped " + S(alreadyFleeing) + " is already fleeing from aggressor " + S(aggressor)),
        1u);
    EXPECT_EQ(world.FindPed(alreadyFleeing)->task.targetPed, player);
    // The ten others flee on an odd draw and fight back on an even one, in the order they
    // react, say so, and keep the task; the fleeing and the dead ped keep none.
    SeedRandom(1);
    ArgLists flee, fight, keep;
    for (size_t i = 3; i < gPeds.size(); ++i) {
        const bool flees = RandomInt() % 2 == 1;
        (flees ? flee : fight)
            .push_back(flees ? Pushed(gPeds[i], aggressor, 3, 0, -1.0f, -1, 0)
                             : Pushed(gPeds[i], aggressor, 0, 16));
        keep.push_back(Pushed(gPeds[i], 1));
        EXPECT_TRUE(Logged("Ped " + S(gPeds[i]) +
                           (flees ? " is fleeing from" : " is fighting back against") +
                           " aggressor " + S(aggressor)));
    }
    EXPECT_FALSE(flee.empty() || fight.empty());
    EXPECT_EQ(ArgsOf<id::TASK_FLEE_PED>(), flee);
    EXPECT_EQ(ArgsOf<id::TASK_COMBAT_PED>(), fight);
    EXPECT_EQ(ArgsOf<id::SET_PED_KEEP_TASK>(), keep);
}

}  // namespace
