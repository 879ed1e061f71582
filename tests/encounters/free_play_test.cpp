// The game leaving free play while an encounter watches its scene (a story mission, the
// player's death or arrest, a loading screen; a cutscene, a fade or the control taken once it
// lasts): every watch ends within one pass, hands back what it owned, removes its blip and
// stands its lawmen down. A moment's control loss and the game's own random event end nothing.
// When a timer comes due outside free play nothing is picked, and the encounter follows soon
// after free play comes back.

#include "world/free_play.h"
#include "encounter_fixture.h"
#include "encounters/event1_aggressor.h"
#include "encounters/event2_aggressor_player.h"
#include "encounters/event3_animal_aggressor.h"
#include "encounters/event4_wagon_robbery.h"
#include "encounters/event5_mugging.h"
#include "encounters/event6_horse_bucking.h"
#include "encounters/predator_models.h"
#include "encounters/watch_limit.h"

#include <optional>
#include <ostream>
#include <tuple>

namespace {

const std::string kMissionLine = "A story mission has started, ending event.";

class StoryMissionTest;

// A way out of free play that begins mid-watch, the line that names it, and how long after it
// begins the watch may still run before it counts (a blackout is allowed kBlackoutLimitMs).
struct StateCase {
    const char* name;
    void (*begin)(World& world);
    const char* line;
    uint64_t allowedMs;
};

void MissionStarts(World& w) {
    w.Environment().SetMissionFlag(true);
}
void PlayerDies(World& w) {
    w.GameStates().SetRespawn(w.NowMs() + 600000, std::nullopt);
    w.KillPed(w.PlayerPed());
}
void PlayerArrested(World& w) {
    w.GameStates().Add(GameStateKind::Arrest, w.NowMs(), w.NowMs() + 600000);
}
void LoadingScreen(World& w) {
    w.GameStates().Add(GameStateKind::LoadingScreen, w.NowMs(), w.NowMs() + 600000);
}
void Cutscene(World& w) {
    w.GameStates().Add(GameStateKind::Cutscene, w.NowMs(), w.NowMs() + 600000);
}
void ControlOffSixSeconds(World& w) {
    w.GameStates().Add(GameStateKind::ControlLoss, w.NowMs(), w.NowMs() + 6000);
}
void FadeSixSeconds(World& w) {
    w.GameStates().Add(GameStateKind::Fade, w.NowMs(), w.NowMs() + 6000);
}

const StateCase kStates[] = {
    {"Mission", MissionStarts, "A story mission has started, ending event.", 0},
    {"Death", PlayerDies, "The scene has ended: the player is dead or dying, ending event.", 0},
    {"Arrest", PlayerArrested, "The scene has ended: the player is being arrested, ending event.",
     0},
    {"LoadingScreen", LoadingScreen, "The scene has ended: a loading screen is up, ending event.",
     0},
    {"Cutscene", Cutscene,
     "The scene has ended: the screen is faded out and has been for 3.5 s, ending event.",
     kBlackoutLimitMs},
    {"ControlOff6s", ControlOffSixSeconds,
     "The scene has ended: the player's control is off and has been for 3.5 s, ending event.",
     kBlackoutLimitMs},
    {"Fade6s", FadeSixSeconds,
     "The scene has ended: the screen is faded out and has been for 3.5 s, ending event.",
     kBlackoutLimitMs},
};

// One watch: the scene it is staged in, the start of the line that says the watch is under way
// (with the lawmen it sent, where it sends any), and the longest the watch may go on once the
// flag is up.
struct WatchCase {
    const char* name;
    void (*event)();
    const char* done;
    std::string (*stage)(StoryMissionTest& test);  // builds the scene, returns the line
    uint64_t passMs;
};

// Names for the test's output, not bytes.
void PrintTo(const StateCase& state, std::ostream* out) {
    *out << state.name;
}

class StoryMissionTest : public EncounterTest,
                         public ::testing::WithParamInterface<std::tuple<WatchCase, StateCase>> {
  public:
    using EncounterTest::After;
    using EncounterTest::Near;
    using EncounterTest::world;

    int32_t Armed(const Vec3& at) {
        const int32_t ped = world.AddTownsfolk(at);
        world.FindPed(ped)->weapons = kRevolver;
        return ped;
    }
    int32_t lawman = 0;

    // No lawman is left with an order of ours.
    ::testing::AssertionResult NoLawmanTasked() const {
        for (const auto& [handle, ped] : world.Peds()) {
            if (ped.role == PedRole::Lawman && ped.task.kind != TaskKind::None) {
                return ::testing::AssertionFailure() << "lawman " << handle << " still tasked";
            }
        }
        return ::testing::AssertionSuccess();
    }
};

void PrintTo(const WatchCase& watch, std::ostream* out) {
    *out << watch.name;
}

std::string FightWithLawman(StoryMissionTest& t) {
    t.Armed(t.Near(5));
    t.Armed(t.Near(6));
    t.lawman = t.world.AddLawman(t.Near(-10));
    return "Nearby lawman found: " + S(t.lawman);
}

std::string AttackOnPlayerWithLawman(StoryMissionTest& t) {
    t.Armed(t.Near(5));
    t.lawman = t.world.AddLawman(t.Near(-10));
    return "Nearby lawman found: " + S(t.lawman);
}

// The lawman stands beyond the search radius, near where the animal appears.
std::string PredatorWithLawman(StoryMissionTest& t) {
    t.world.AddTownsfolk(t.Near(5));
    t.lawman = t.world.AddLawman(t.Near(120));
    return "Nearby lawman " + S(t.lawman) + " is engaging aggressor";
}

// No predator model ever loads: the mission starts while the first attempt waits for one.
std::string PredatorNeverLoads(StoryMissionTest& t) {
    for (const PredatorModel& model : PredatorModels) {
        t.world.settings.neverLoadModels.insert(model.hash);
    }
    return "Randomly assigned victim: " + S(t.world.AddTownsfolk(t.Near(5)));
}

// Once the robbery is staged, the driver is off his wagon: the lawman responds.
std::string RobberyWithLawman(StoryMissionTest& t) {
    t.world.AddTownsfolk(t.Near(5));  // the robber
    const int32_t wagon = t.world.AddWagonWithDriver("CART01", t.Near(20));
    const int32_t driver = t.world.FindVehicle(wagon)->occupants.at(-1);
    t.lawman = t.world.AddLawman(t.Near(-10));
    t.After(1500, [driver](World& w) { w.UnseatPed(driver); });
    return "Lawman " + S(t.lawman) + " responding to wagon robbery";
}

// The man robs the woman (women are spared as robbers); nobody sends the law.
std::string MuggingUnderWay(StoryMissionTest& t) {
    t.world.AddTownsfolk(t.Near(5));
    t.world.AddTownsfolk(t.Near(6), false);
    return "In progress ...";
}

// A lawman ends the robbery at once; the robber is then watched as he flees.
std::string MuggerFleeingFromLawman(StoryMissionTest& t) {
    const int32_t robber = t.world.AddTownsfolk(t.Near(5));
    t.world.AddTownsfolk(t.Near(6), false);
    t.lawman = t.world.AddLawman(t.Near(-20));
    return "Aggressor " + S(robber) + " is fleeing from scene";
}

std::string BuckingHorse(StoryMissionTest& t) {
    t.world.AddRider(t.Near(10));
    return "Initiating bucking event";
}

TEST_P(StoryMissionTest, EndsTheWatchWithinOnePassAndLeavesAClearScene) {
    const WatchCase& watch = std::get<0>(GetParam());
    const StateCase& state = std::get<1>(GetParam());
    if (state.allowedMs != 0 && watch.passMs > 2000) {
        GTEST_SKIP() << "a blackout of 6 s falls between two spawn attempts";
    }
    const std::string underWay = watch.stage(*this);
    StartFocused(watch.event);
    Config.EnableBlips = true;
    Config.ExcludeWomen = true;
    for (uint64_t waited = 0; LinesFrom({underWay}).empty(); waited += 100) {
        ASSERT_TRUE(waited < 60000 && run->Run(100)) << "never logged: " << underWay;
    }
    const uint64_t stateAtMs = world.NowMs();
    After(0, state.begin);
    FinishFocused();

    EXPECT_EQ(Count(state.line), 1u);
    EXPECT_TRUE(LoggedInOrder({state.line, watch.done}));
    // A blackout is counted from the last look that saw free play: up to a pass before it.
    const uint64_t passes = state.allowedMs != 0 ? 2 : 1;
    EXPECT_LE(LoggedAtMs(watch.done) - stateAtMs,
              state.allowedMs + passes * watch.passMs + kFrameAllowanceMs);
    EXPECT_TRUE(LeftNothing());
    EXPECT_TRUE(NoLawmanTasked());
}

// The spawn's pass is one attempt: ten model polls, the settling pause and the retry pause.
INSTANTIATE_TEST_SUITE_P(
    EveryWatch, StoryMissionTest,
    ::testing::Combine(
        ::testing::Values(
            WatchCase{"Fight", event1_aggressor, "event1_aggressor completed successfully",
                      FightWithLawman, 500},
            WatchCase{"AttackOnPlayer", event2_aggressor_player,
                      "event2_aggressor_player completed successfully", AttackOnPlayerWithLawman,
                      500},
            WatchCase{"PredatorAttack", event3_animal_aggressor,
                      "event3_animal_aggressor completed successfully", PredatorWithLawman, 2000},
            WatchCase{"PredatorSpawn", event3_animal_aggressor,
                      "event3_animal_aggressor completed successfully", PredatorNeverLoads, 12000},
            WatchCase{"Robbery", event4_wagon_robbery,
                      "event4_wagon_robbery completed successfully", RobberyWithLawman, 1000},
            WatchCase{"Mugging", event5_mugging, "event5_mugging completed successfully",
                      MuggingUnderWay, 2000},
            WatchCase{"MuggerFleeing", event5_mugging, "event5_mugging completed successfully",
                      MuggerFleeingFromLawman, 1000},
            WatchCase{"BuckingHorse", event6_horse_bucking,
                      "event6_horse_bucking completed successfully", BuckingHorse, 1000}),
        ::testing::ValuesIn(kStates)),
    [](const ::testing::TestParamInfo<std::tuple<WatchCase, StateCase>>& each) {
        return std::string(std::get<0>(each.param).name) + "_" + std::get<1>(each.param).name;
    });

// In the real main loop: the encounter ends, and the very next pass pauses for the mission.
TEST_F(EncounterTest, TheMainLoopPausesOnceTheEncounterHasEndedForAMission) {
    world.AddRider(Near(10));
    LoadPlugin(IniWith({"Event6_Horse_Bucking"}));
    ASSERT_TRUE(RunUntil("Initiating bucking event"));
    After(0, [](World& w) { w.Environment().SetMissionFlag(true); });
    ASSERT_TRUE(RunUntil("Mission flag is set, skipping event and weather updates", 5000));
    EXPECT_TRUE(LoggedInOrder({kMissionLine, "event6_horse_bucking completed successfully",
                               "Mission flag is set, skipping event and weather updates"}));
    EXPECT_TRUE(LeftNothing());
}

}  // namespace

namespace {

// A timer's moment inside a state: nothing is picked or scanned, and the encounter comes
// within the retry's 5 s of the state's end.
struct StagingCase {
    const char* name;
    GameStateKind kind;
    const char* text;
};

void PrintTo(const StagingCase& state, std::ostream* out) {
    *out << state.name;
}

class OutsideFreePlayStagingTest : public EncounterTest,
                                   public ::testing::WithParamInterface<StagingCase> {};

constexpr uint64_t kStateFromMs = 50000;  // the timer comes due at about 65 s
constexpr uint64_t kStateToMs = 100000;

TEST_P(OutsideFreePlayStagingTest, PicksNothingScansNothingAndStagesSoonAfter) {
    const StagingCase& state = GetParam();
    world.AddRider(Near(10));
    if (state.kind == GameStateKind::Death) {
        world.settings.pedsAct = true;  // the world stands a dead player up again
        world.Schedule(kStateFromMs, [](World& w) {
            w.GameStates().SetRespawn(kStateToMs, std::nullopt);
            w.KillPed(w.PlayerPed());
        });
    } else {
        world.GameStates().Add(state.kind, kStateFromMs, kStateToMs);
    }
    LoadPlugin(IniWith({"Event6_Horse_Bucking"}));
    ASSERT_TRUE(RunUntil("Executing event6_horse_bucking", 200000));

    const std::string refusal = std::string("Event timer expired outside free play (") +
                                state.text + "), trying again in 5 seconds";
    EXPECT_GE(Count(refusal), 6u) << "one line a try, 5 s apart, over the 35 s";
    EXPECT_GE(LoggedAtMs("Selected Event: event6_horse_bucking"), kStateToMs);
    EXPECT_LE(LoggedAtMs("Selected Event: event6_horse_bucking"),
              kStateToMs + 5000 + kFrameAllowanceMs);
    for (const HostCall& call : run->Host().Calls()) {
        if (call.kind == HostCall::kNative && call.hash == id::GET_PED_NEARBY_PEDS::kHash) {
            EXPECT_GE(call.atMs, kStateToMs) << "a scan inside the state";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryState, OutsideFreePlayStagingTest,
    ::testing::Values(
        StagingCase{"Death", GameStateKind::Death, "the player is dead or dying"},
        StagingCase{"Arrest", GameStateKind::Arrest, "the player is being arrested"},
        StagingCase{"LoadingScreen", GameStateKind::LoadingScreen, "a loading screen is up"},
        StagingCase{"Cutscene", GameStateKind::Cutscene, "the screen is faded out"},
        StagingCase{"ControlOff", GameStateKind::ControlLoss, "the player's control is off"},
        StagingCase{"Fade", GameStateKind::Fade, "the screen is faded out"},
        StagingCase{"RandomEvent", GameStateKind::RandomEvent,
                    "a random event of the game's own is running"}),
    [](const ::testing::TestParamInfo<StagingCase>& each) { return each.param.name; });

// The weather waits out a loading screen the same way.
TEST_F(EncounterTest, TheWeatherWaitsOutALoadingScreen) {
    world.GameStates().Add(GameStateKind::LoadingScreen, kStateFromMs, kStateToMs);
    LoadPlugin(IniWith({"Sudden_Fog"}));
    ASSERT_TRUE(RunUntil("Executing event_weather_fog", 200000));
    EXPECT_GE(Count("Weather timer expired in a cutscene or loading screen (a loading screen is "
                    "up), trying again in 5 seconds"),
              6u);
    EXPECT_GE(LoggedAtMs("Executing event_weather_fog"), kStateToMs);
    EXPECT_LE(LoggedAtMs("Executing event_weather_fog"), kStateToMs + 5000 + kFrameAllowanceMs);
}

// A door or a shop takes the control for a moment, and the game runs a random event of its
// own beside ours: the watch goes on through both.
TEST_F(EncounterTest, AMomentsControlLossAndTheGamesOwnRandomEventEndNothing) {
    world.AddRider(Near(10));
    world.settings.pedsAct = false;  // the rider stays in the saddle: the watch runs on
    LoadPlugin(IniWith({"Event6_Horse_Bucking"}));
    ASSERT_TRUE(RunUntil("Initiating bucking event"));
    After(1500, [](World& w) {
        w.GameStates().Add(GameStateKind::ControlLoss, w.NowMs(), w.NowMs() + 1000);
        w.GameStates().Add(GameStateKind::Fade, w.NowMs() + 3000, w.NowMs() + 4000);
        w.GameStates().Add(GameStateKind::RandomEvent, w.NowMs(), w.NowMs() + 60000);
    });
    run->Run(30000);
    EXPECT_EQ(Count("event6_horse_bucking completed successfully"), 0u);
    for (const std::string& message : Messages()) {
        EXPECT_EQ(message.find("The scene has ended"), std::string::npos) << message;
    }
}

}  // namespace
