// Encounter "event3_animal_aggressor" on its own: a predator spawned beside a ped near the
// player.

#include "encounters/event3_animal_aggressor.h"
#include <stdexcept>

#include "core/config.h"
#include "encounter_fixture.h"
#include "encounters/predator_models.h"

namespace {

const std::string kDone = "event3_animal_aggressor completed successfully";
const std::string kAttackOver = "One of the peds is dead or no longer exists, ending confrontation";
const std::string kAbortError = "Failed to spawn animal after multiple attempts, aborting event";
const std::string kAbortInfo = "event3_animal_aggressor aborted due to spawn failure";

class Event3Test : public EncounterTest {
  protected:
    int32_t Animal() const { return PedFromLine("Spawned ped "); }

    void StartAttack() {
        StartFocused(event3_animal_aggressor);
        ASSERT_TRUE(RunUntil("Initiating animal attack on victim: " + S(victim)));
    }

    int32_t victim = 0;
};

TEST_F(Event3Test, APredatorChargesTheVictimUntilItDiesAndIsWatchedUntilItIsDeadToo) {
    victim = world.AddTownsfolk(Near(5));
    // Beyond the search radius from the player, but close to where the animal appears.
    const int32_t bystander = world.AddTownsfolk(Near(110), false);
    world.FindPed(bystander)->fleeing = true;
    const int32_t lawman = world.AddLawman(Near(120));
    StartAttack();
    const int32_t animal = Animal();
    ASSERT_TRUE(RunUntil("Nearby lawman " + S(lawman) + " is engaging aggressor " + S(animal)));
    After(0, [this](World& w) { w.KillPed(victim); });
    ASSERT_TRUE(RunUntil(kAttackOver));
    run->Run(5000);  // the watch goes on while the animal lives
    EXPECT_FALSE(Logged(kDone));
    After(0, [animal](World& w) { w.KillPed(animal); });
    FinishFocused();

    // One predator, spawned 50 m east of the victim, owned, and set on the ground.
    const auto created = Calls<id::CREATE_PED>();
    ASSERT_EQ(created.size(), 1u);
    const uint32_t model = static_cast<uint32_t>(created[0].args[0]);
    EXPECT_EQ(Args(created[0]), Pushed(model, 155.0f, 200.0f, 10.0f, 0.0f, 1, 1, 1, 1));
    // The model goes back to the game's streaming as soon as the ped is made.
    const auto givenBack = Calls<id::SET_MODEL_AS_NO_LONGER_NEEDED>();
    ASSERT_EQ(givenBack.size(), 1u);
    EXPECT_EQ(Args(givenBack[0]), Pushed(model));
    EXPECT_EQ(givenBack[0].atMs, created[0].atMs);
    EXPECT_EQ(Args(Calls<id::PLACE_ENTITY_ON_GROUND_PROPERLY>().at(0)), Pushed(animal, 1));
    EXPECT_EQ(Args(Calls<id::SET_RANDOM_OUTFIT_VARIATION>().at(0)), Pushed(animal, 1));
    EXPECT_EQ(Args(Calls<id::FREEZE_ENTITY_POSITION>().at(0)), Pushed(animal, false));
    EXPECT_FALSE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(animal).empty());
    const PedModel* spawned = FindPedModel(model);
    ASSERT_NE(spawned, nullptr);
    EXPECT_TRUE(
        LoggedInOrder({"Animal (" + spawned->name + ") is now charging victim " + S(victim),
                       "Ped " + S(bystander) + " is already fleeing from aggressor " + S(animal),
                       "Nearby citizen " + S(bystander) + " is reacting to aggressor " + S(animal),
                       kAttackOver, "Event 3 logic executed successfully", kDone}));

    // The animal charges, and the law and the game's townsfolk are set to hate its group.
    EXPECT_EQ(OnlyCall<id::TASK_COMBAT_ANIMAL_CHARGE_PED>(animal),
              Pushed(animal, victim, 0, 0, 0, 0, 0));
    EXPECT_EQ(OnlyCall<id::SET_PED_KEEP_TASK>(animal), Pushed(animal, 1));
    const uint32_t own = world.FindPed(animal)->group;
    EXPECT_EQ(own, Joaat("MyRelGroup"));
    EXPECT_EQ(world.FindPed(bystander)->group, Joaat("REL_CIVFEMALE"));  // both civilian groups
    for (const int32_t ped : {victim, bystander, lawman}) {
        EXPECT_EQ(world.Relationship(world.FindPed(ped)->group, own), 6) << ped;
    }
    EXPECT_TRUE(Calls<id::TASK_FLEE_PED>(bystander).empty());
    EXPECT_EQ(Calls<id::SET_PED_KEEP_TASK>(bystander).size(), 1u);
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(lawman).empty());
    // One blip on the animal, removed once; both dead peds handed back for the game to clear.
    EXPECT_EQ(OnlyCall<id::BLIP_ADD_FOR_ENTITY>(), Pushed(0x318C617Cu, animal));
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event3Test, AModelThatNeverLoadsFailsTheAttemptWithoutCreatingAPed) {
    victim = world.AddTownsfolk(Near(5));
    for (const PredatorModel& row : PredatorModels) {
        world.settings.neverLoadModels.insert(row.hash);
    }
    RunFocused(event3_animal_aggressor);

    EXPECT_TRUE(Calls<id::CREATE_PED>().empty());
    const auto requests = Calls<id::REQUEST_MODEL>();
    ASSERT_EQ(requests.size(), 10u);
    // Ten polls a second apart, then the attempt is given up with the model named.
    EXPECT_EQ(Calls<id::HAS_MODEL_LOADED>().size(), 110u);
    for (const HostCall& request : requests) {
        EXPECT_TRUE(Logged("Model " + std::to_string(static_cast<uint32_t>(request.args[0])) +
                           " did not load after 10 polls, no ped spawned"));
    }
    EXPECT_GE(requests[1].atMs - requests[0].atMs, 11000u);
    EXPECT_TRUE(Logged(kAbortInfo));
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event3Test, ThePlayerRidingAwayLetsTheAnimalGoAndClearsItsBlip) {
    victim = world.AddTownsfolk(Near(5));
    StartAttack();
    const int32_t animal = Animal();
    // The animal stands at +55 m; the player rides to -145 m, just far enough.
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-145)); });
    FinishFocused();
    EXPECT_TRUE(
        LoggedInOrder({"Player is 200.000000 meters away from animal, ending event.", kDone}));
    EXPECT_EQ(Calls<id::CLEAR_BLIP>().size(), 1u);
    // The animal lives on, the game's to keep or clear.
    ASSERT_NE(world.FindPed(animal), nullptr);
    EXPECT_TRUE(LeftNothing());
}

// How the watch lets go each pass of an animal whose handle the game keeps, and removes a
// marker someone else put on it, is the shared watch's (pinned by the mugging's tests).
TEST_F(Event3Test, TheWatchLetsTheAnimalGoBeyond200Metres) {
    victim = world.AddTownsfolk(Near(5));
    StartAttack();
    After(0, [this](World& w) { w.KillPed(victim); });
    ASSERT_TRUE(RunUntil(kAttackOver));
    After(0, [](World& w) { w.MoveEntity(w.PlayerPed(), Near(-145)); });  // 200 m off
    FinishFocused();
    EXPECT_TRUE(LoggedInOrder({"Animal has moved beyond 200 meters, ending confrontation", kDone}));
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event3Test, AnAttackThatNeverEndsIsGivenUpAfterFiveMinutesAndAgainInTheWatch) {
    victim = world.AddTownsfolk(Near(5));  // the animal never reaches him: nobody moves
    RunFocused(event3_animal_aggressor, 1, 900000);
    const std::string attackGivenUp =
        "Attack has gone on for 5 minutes, watching the animal for up to 5 more minutes.";
    EXPECT_TRUE(LoggedInOrder(
        {attackGivenUp, "Watch has gone on for 5 minutes, ending confrontation", kDone}));
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event3Test, LawmenWomenAndGameCanFallPreyAndTenFailedSpawnsHandThePreyBack) {
    const int32_t lawman = world.AddLawman(Near(5));
    const int32_t deer = world.AddAnimal("A_C_Deer_01", Near(6));
    world.FindPed(deer)->male = false;
    const int32_t woman = world.AddTownsfolk(Near(7), false);
    world.AddAnimal("A_C_Crow_01", Near(8));
    AddInGroup(Near(9), "REL_GANG_DUTCHS");
    AddInGroup(Near(10), "REL_GANG_DUTCHS_HORSES");
    world.FindPed(world.AddTownsfolk(Near(11)))->missionEntity = true;
    world.AddShopkeeper(Near(12));
    world.KillPed(world.AddTownsfolk(Near(13)));
    world.AddTownsfolk(Near(101));
    world.settings.failNextSpawns = 10;
    StartFocused(event3_animal_aggressor);
    Config.ExcludeWomen = true;  // not applied to prey
    FinishFocused();
    EXPECT_EQ(LinesFrom({"Valid ped found ", "Excluded shopkeeper found: "}),
              (std::vector<std::string>{"Valid ped found " + S(lawman) + " at distance: 5.000000m",
                                        "Valid ped found " + S(deer) + " at distance: 6.000000m",
                                        "Valid ped found " + S(woman) + " at distance: 7.000000m",
                                        "Excluded shopkeeper found: U_M_M_ValGunsmith_01"}));

    victim = PedFromLine("Randomly assigned victim: ");
    const auto created = Calls<id::CREATE_PED>();
    ASSERT_EQ(created.size(), 10u);
    // Each attempt waits a frame for collision and a second before the next.
    for (size_t i = 1; i < created.size(); ++i) {
        EXPECT_GE(created[i].atMs - created[i - 1].atMs, 1000u);
    }
    EXPECT_TRUE(LoggedInOrder({kAbortError, kAbortInfo}));
    EXPECT_EQ(Messages().back(), kAbortInfo);
    EXPECT_EQ(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(victim).size(), 1u);
    EXPECT_FALSE(world.FindPed(victim)->missionEntity);
    EXPECT_EQ(world.OwnedPedCount(), 1u);  // the ped another script owns
    EXPECT_EQ(world.ModelsLeftRequested(), 0u);
}

// A failure while the model streams in still gives the model back, and the prey with it.
TEST_F(Event3Test, AFailureWhileTheModelLoadsGivesTheModelBack) {
    victim = world.AddTownsfolk(Near(5));
    StartFocused(event3_animal_aggressor);
    run->Host().OverrideNative(id::HAS_MODEL_LOADED::kHash,
                               [](World&, const NativeArgs&, NativeResult&) {
                                   throw std::runtime_error("streaming failed");
                               });
    for (int second = 0; !FocusedScript::done && second < 60; ++second) {
        ASSERT_TRUE(run->Run(1000));
    }
    EXPECT_EQ(FocusedScript::failure, "streaming failed");
    EXPECT_EQ(Calls<id::REQUEST_MODEL>().size(), 1u);
    EXPECT_TRUE(LeftNothing());
}

TEST_F(Event3Test, ThePlayersHorseMayBePreyButIsNeverTakenOver) {
    const int32_t horse = world.CreatePlayerHorse(Near(5));
    world.settings.failNextSpawns = 10;  // only the pick matters
    RunFocused(event3_animal_aggressor);
    EXPECT_EQ(PedFromLine("Randomly assigned victim: "), horse);
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>(horse).empty());
}

TEST_F(Event3Test, WithNobodyToAttackItEndsAtOnceWithoutSpawning) {
    world.AddAnimal("A_C_Crow_01", Near(5));
    AddInGroup(Near(6), "REL_GANG_DUTCHS");
    RunFocused(event3_animal_aggressor);
    EXPECT_TRUE(LoggedInOrder({"Could not find valid NPCs within radius. Found: 0 victims.",
                               "Event cannot proceed without required NPCs", kDone}));
    EXPECT_TRUE(Calls<id::REQUEST_MODEL>().empty());
    EXPECT_TRUE(Calls<id::SET_ENTITY_AS_MISSION_ENTITY>().empty());
}

}  // namespace
