// The scene maker on facts told by hand: what it stages loads as a scenario and stands in the
// world as the recording described it (seats, mounts, models outside the catalogue, the
// player's path and the clock in time, measured ground), and the seed is found back.
#include <gtest/gtest.h>

#include <string>

#include "sim/host/run_setup.h"
#include "sim/scene/scene_builder.h"
#include "sim/scene/scene_text.h"
#include "sim/world/joaat.h"
#include "sim/world/scenario_file.h"
#include "sim/world/world.h"

namespace {

constexpr int32_t kPlayer = 4097;

template <typename T>
void Tell(ToldList<T>& list, uint64_t atMs, T value) {
    list.push_back(Told<T>{atMs, value});
}

RecordingFacts PlayerAt(const Vec3& at) {
    RecordingFacts facts;
    facts.versionLine = "Tarrowind 0.1.0 (test)";
    facts.playerPed = kPlayer;
    facts.endMs = 600000;
    Tell(facts.entities[kPlayer].position, 33, at);
    return facts;
}

void Scan(RecordingFacts& facts, uint64_t atMs, std::vector<int32_t> peds) {
    for (int32_t ped : peds) {
        facts.entities[ped].firstListedMs = atMs;
    }
    facts.scans.push_back(ScanTold{atMs, kPlayer, std::move(peds)});
}

// Builds the scene and the world it stages; fails the test when either does not come.
Scene Stage(const RecordingFacts& facts, World& world, ScenarioInfo* info,
            SceneChoice choice = SceneChoice()) {
    Scene scene;
    std::string error;
    EXPECT_TRUE(BuildScene(facts, SessionLog(), choice, &scene, &error)) << error;
    EXPECT_TRUE(LoadScenarioText(SceneText(scene.json), "scene", world, info, &error))
        << error << "\n"
        << SceneText(scene.json);
    return scene;
}

const SimPed& Staged(const World& world, const ScenarioInfo& info, int32_t recorded) {
    static const SimPed none;
    auto it = info.pedIds.find("ped_" + std::to_string(recorded));
    const SimPed* ped = it != info.pedIds.end() ? world.FindPed(it->second) : nullptr;
    EXPECT_NE(ped, nullptr) << "ped " << recorded << " was not staged";
    return ped != nullptr ? *ped : none;
}

TEST(SceneBuilder, StagesPedsAsTheGameToldThem) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    // Two peds told the driver's seat of one wagon at different times; a ped of a model the
    // catalogue lacks; a rider whose horse was never placed; a ped never placed.
    for (int32_t ped : {4100, 4101}) {
        EntityTold& told = facts.entities[ped];
        Tell(told.model, 1000, Joaat("A_M_M_ValTownfolk_01"));
        Tell(told.position, 1000, Vec3{5, 5, 10});
        Tell(told.vehicle, 1000, 4200);
        Tell(told.seat, 1000, -1);
    }
    Tell(facts.entities[4100].group, 1000, Joaat("REL_COP"));
    Tell(facts.entities[4100].weapons[0], 1000, true);
    Tell(facts.entities[4200].model, 1000, Joaat("CART01"));
    EntityTold& stranger = facts.entities[4102];
    Tell(stranger.model, 1000, uint32_t{0x12345678});
    Tell(stranger.human, 1000, false);
    Tell(stranger.position, 1000, Vec3{-8, 3, 10});
    Tell(stranger.dead, 1000, true);
    EntityTold& rider = facts.entities[4103];
    Tell(rider.model, 1000, Joaat("A_M_M_Rancher_01"));
    Tell(rider.position, 1000, Vec3{20, 0, 10});
    Tell(rider.mount, 1000, 4104);
    Tell(facts.entities[4104].model, 1000, Joaat("A_C_Horse_Morgan_Bay"));
    Tell(facts.entities[4105].model, 1000, Joaat("A_M_M_ValFarmer_01"));
    Scan(facts, 1000, {4100, 4101, 4102, 4103, 4105});

    World world;
    ScenarioInfo info;
    const Scene scene = Stage(facts, world, &info);
    const SimPed& driver = Staged(world, info, 4100);
    const SimPed& passenger = Staged(world, info, 4101);
    ASSERT_NE(driver.vehicle, 0);
    EXPECT_EQ(driver.vehicle, passenger.vehicle);
    EXPECT_EQ(driver.seat, -1);
    EXPECT_EQ(passenger.seat, 0);  // the driver's seat was taken
    EXPECT_EQ(world.FindVehicle(driver.vehicle)->model, Joaat("CART01"));
    EXPECT_EQ(driver.group, Joaat("REL_COP"));
    EXPECT_EQ(driver.weapons, static_cast<uint32_t>(kRevolver));

    const SimPed& animal = Staged(world, info, 4102);
    EXPECT_EQ(animal.model, 0x12345678u);
    EXPECT_FALSE(animal.human);
    EXPECT_TRUE(animal.dead);

    const SimPed& mounted = Staged(world, info, 4103);
    const SimPed& horse = Staged(world, info, 4104);
    EXPECT_EQ(mounted.mount, horse.handle);
    EXPECT_FLOAT_EQ(horse.pos.x, 20);  // under its rider

    EXPECT_EQ(info.pedIds.count("ped_4105"), 0u);
    EXPECT_NE(
        scene.json["description"].get<std::string>().find("1 peds whose position was never asked"),
        std::string::npos);
}

TEST(SceneBuilder, ThePlayerIsWhereHeWasWhenHeWasThere) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    EntityTold& player = facts.entities[kPlayer];
    Tell(player.position, 10000, Vec3{0, 0, 10});  // stood still ten seconds
    Tell(player.position, 20000, Vec3{10, 0, 10});
    Tell(player.position, 50000, Vec3{10, 30, 10});
    World world;
    ScenarioInfo info;
    Stage(facts, world, &info);
    const auto at = [&world](uint64_t ms) {
        world.AdvanceTo(ms);
        return world.FindPed(world.PlayerPed())->pos;
    };
    EXPECT_NEAR(at(9000).x, 0, 0.2);
    EXPECT_NEAR(at(20000).x, 10, 0.2);
    const Vec3 later = at(50000);
    EXPECT_NEAR(later.x, 10, 0.2);
    EXPECT_NEAR(later.y, 30, 0.2);
}

TEST(SceneBuilder, TheClockAgreesWithEveryHourTheGameAnswered) {
    // A game whose clock stood at 12:50 (an hour passes in two minutes): the plug-in read 12
    // at 10 s, 13 at 60 s and 15 at 300 s.
    RecordingFacts facts = PlayerAt({0, 0, 10});
    const uint64_t readings[] = {10000, 60000, 300000};
    const int hours[] = {12, 13, 15};
    for (int i = 0; i < 3; ++i) {
        Tell(facts.clockHours, readings[i], hours[i]);
    }
    World world;
    ScenarioInfo info;
    SceneChoice whole;
    whole.wholeSession = true;
    Stage(facts, world, &info, whole);
    for (int i = 0; i < 3; ++i) {
        world.AdvanceTo(readings[i]);
        EXPECT_EQ(world.Environment().ClockHours(), hours[i]) << "at " << readings[i] << " ms";
    }
}

TEST(SceneBuilder, TheGroundLiesWhereItWasProbed) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    facts.ground.push_back(ProbeTold{2000, 40, 40, 100, 12.5f});
    World world;
    ScenarioInfo info;
    Stage(facts, world, &info);
    EXPECT_FLOAT_EQ(world.terrain.GroundHeight(40, 40), 12.5f);
    EXPECT_FLOAT_EQ(world.terrain.GroundHeight(43, 40), 12.5f);  // within the reach
    EXPECT_FLOAT_EQ(world.terrain.GroundHeight(60, 40), 10.0f);  // the player's height beyond
}

TEST(SceneBuilder, AMomentTheRecordingLacksIsRefused) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    SessionLog log;
    log.encounters.push_back(
        RecordedEncounter{"event1_aggressor", 70000, 90000, SpanEnd::kCompleted, {}});
    Scene scene;
    std::string error;
    SceneChoice later;
    later.atGiven = true;
    later.atSeconds = 601;
    EXPECT_FALSE(BuildScene(facts, log, later, &scene, &error));
    EXPECT_EQ(error, "--at 601.0: the recording lasts 600.0 s");
    SceneChoice second;
    second.encounter = 2;
    EXPECT_FALSE(BuildScene(facts, log, second, &scene, &error));
    EXPECT_EQ(error, "--encounter 2: the recording ran encounters 1 to 1");
}

TEST(SceneBuilder, ALaterEncounterComesDueWhenItBegan) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    facts.settings = "Event Timing.MinEventDelayMinutes=3\nEncounters.Event5_Mugging=true\n";
    SessionLog log;
    log.encounters.push_back(
        RecordedEncounter{"event1_aggressor", 70000, 90000, SpanEnd::kCompleted, {}});
    log.encounters.push_back(
        RecordedEncounter{"event5_mugging", 300000, 320000, SpanEnd::kCompleted, {}});
    // An encounter of another build: this one's plug-in cannot be asked to stage it.
    log.encounters.push_back(
        RecordedEncounter{"event7_startled_ped", 400000, 410000, SpanEnd::kCompleted, {}});
    Scene scene;
    std::string error;
    SceneChoice second;
    second.encounter = 2;
    ASSERT_TRUE(BuildScene(facts, log, second, &scene, &error)) << error;
    EXPECT_EQ(scene.startMs, 300000 - kSceneLeadMs);
    EXPECT_EQ(scene.json["only_encounters"], nlohmann::ordered_json::array({"event5_mugging"}));
    EXPECT_EQ(scene.json["ini"],
              nlohmann::ordered_json::array({"[Event Timing]", "MinEventDelayMinutes=1"}));
    SceneChoice other;
    other.encounter = 3;
    ASSERT_TRUE(BuildScene(facts, log, other, &scene, &error)) << error;
    EXPECT_FALSE(scene.json.contains("only_encounters"));
    World world;
    ScenarioInfo info;
    EXPECT_TRUE(LoadScenarioText(SceneText(scene.json), "scene", world, &info, &error)) << error;
}

TEST(SceneBuilder, AnyBytesOfTheRecordingsTextMakeAScenario) {
    RecordingFacts facts = PlayerAt({0, 0, 10});
    facts.versionLine = "Tarrowind \x92\xff (broken)";
    facts.settings = "Logging.EnableDebugLogging=\xc3\n";
    World world;
    ScenarioInfo info;
    Stage(facts, world, &info);
    EXPECT_EQ(info.iniText.find('\xc3'), std::string::npos);
}

TEST(SeedOfRecording, FindsTheSeedWhoseTickCountTheRecordingStartsAt) {
    for (uint64_t seed : {0ull, 1ull, 29ull, 7919ull, 86399999ull}) {
        RecordingFacts facts;
        facts.sawTickCount = true;
        facts.firstTickAtMs = 33;
        facts.firstTickCount = HostOptionsForSeed(seed).startTickMs + 33;
        uint64_t found = 12345;
        ASSERT_TRUE(SeedOfRecording(facts, &found)) << seed;
        EXPECT_EQ(found, seed);
    }
    RecordingFacts game;
    game.sawTickCount = true;
    game.firstTickCount = 1000;  // a machine up for a second: no seed gives it
    uint64_t found = 0;
    EXPECT_FALSE(SeedOfRecording(game, &found));
}

}  // namespace
