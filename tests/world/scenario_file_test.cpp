// Scenario files: every field landing where it should, the timeline, the INI a scenario
// brings, the town when there is no file, and one clear line for each kind of mistake.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "sim/host/run_setup.h"
#include "sim/world/default_world.h"
#include "sim/world/joaat.h"
#include "sim/world/scenario_file.h"
#include "support/temp_workdir.h"

namespace {

int CountPeds(const World& world, const std::function<bool(const SimPed&)>& what) {
    int count = 0;
    for (const auto& entry : world.Peds()) {
        count += what(entry.second) ? 1 : 0;
    }
    return count;
}

const char* const kFullScenario = R"({
  // Comments are allowed.
  "description": "every field",
  "time_of_day": "06:35",
  "game_minutes_per_real_second": 2,
  "weather": "0x7C1C4A13",
  "player": {"position": [1, 2, 3], "horse": {"position": [4, 2, 3]}, "riding": true,
             "weapons": ["rifle"], "path": [{"to": [1, 50, 3], "speed": 5, "wait_s": 2}],
             "loop_path": true},
  "vehicles": [{"id": "cart", "model": "HANDCART", "position": [10, 0, 0], "owned": true},
               {"id": "odd", "model": "0x12345678", "position": [30, 0, 0], "seats": 3}],
  "peds": [
    {"id": "drv", "model": "A_F_M_ValWagonDriver_01", "position": [10, 0, 0], "vehicle": "cart"},
    {"id": "pax", "model": "A_M_M_ValTownfolk_01", "position": [10, 0, 0], "vehicle": "odd", "seat": 1},
    {"id": "horse", "model": "A_C_Horse_Morgan_Bay", "position": [20, 0, 0]},
    {"id": "rider", "model": "A_M_M_Rancher_01", "position": [20, 0, 0], "mount": "horse",
     "group": "REL_GANG_DUTCHS", "weapons": [], "male": false, "owned": true},
    {"id": "hurt", "model": "S_M_M_ValDeputy_01", "position": [5, 5, 0], "state": "injured"},
    {"id": "body", "model": "A_M_M_ValFarmer_01", "position": [6, 5, 0], "state": "dead"},
    {"id": "tied", "model": "A_M_M_ValFarmer_01", "position": [7, 5, 0], "state": "hogtied"},
    {"model": "A_C_Crow_01", "position": [0, 0, 0], "count": 4, "spread": 3, "wanders": true},
    {"id": "mountie", "model": "A_M_Y_ValRider_01", "position": [40, 0, 0], "riding": "A_C_Horse_Turkoman_Gold", "health": 75}
  ],
  "population": {"enabled": false, "target": 7, "min_distance": 10, "max_distance": 20,
                 "spawns_per_second": 3, "mix": {"deer": 2, "birds": 0}},
  "settings": {"peds_act": false, "model_load_ms": 250, "never_loading_models": ["A_C_Bear_01", "0x1CA6B883"],
               "failed_spawns": 2, "nearby_ped_range": 90, "despawn_range": 300,
               "despawn_far_peds": false, "corpse_lifetime_s": 5, "player_fights_back": false,
               "player_respawn_s": 3, "rewrite_released_handle": false, "hogtie_escape_s": 0,
               "abandoned_vehicle_s": 60},
  "ini": ["[Logging]", "EnableDebugLogging=false"]
})";

int32_t PedWithModel(const World& world, const std::string& model) {
    for (const auto& entry : world.Peds()) {
        if (entry.second.modelName == model) {
            return entry.first;
        }
    }
    return 0;
}

TEST(ScenarioFieldsTest, EveryFieldLandsInTheWorld) {
    using std::make_tuple;
    using std::string;
    World world(1);
    ScenarioInfo info;
    std::string error;
    ASSERT_TRUE(LoadScenarioText(kFullScenario, "full.json", world, &info, &error)) << error;
    EXPECT_EQ(make_tuple(info.description, world.Environment().ClockMinutes(),
                         world.Environment().BaseWeather(), world.settings.gameMinutesPerRealSecond,
                         info.hasIni, info.iniText),
              make_tuple(string("every field"), 6 * 60 + 35, 0x7C1C4A13u, 2.0, true,
                         string("[Logging]\nEnableDebugLogging=false\n")));

    const SimPed& player = *world.FindPed(world.PlayerPed());
    const SimPlayerPath& path = world.PlayerPath();
    ASSERT_EQ(path.Points().size(), 1u);
    EXPECT_EQ(make_tuple(player.weapons, player.mount, world.FindPed(player.mount)->pos.x,
                         path.Loops(), path.Points()[0].waitS),
              make_tuple(uint32_t{kRifle}, world.PlayerHorse(), 4.0f, true, 2.0));

    const auto ped = [&](const char* model) { return *world.FindPed(PedWithModel(world, model)); };
    const auto mountOf = [&](const SimPed& rider) { return world.FindPed(rider.mount)->modelName; };
    const SimPed driver = ped("A_F_M_ValWagonDriver_01"), passenger = ped("A_M_M_ValTownfolk_01");
    const SimVehicle &cart = *world.FindVehicle(driver.vehicle),
                     &odd = *world.FindVehicle(passenger.vehicle);
    EXPECT_EQ(make_tuple(driver.seat, cart.missionEntity, passenger.seat, odd.model, odd.seatCount),
              make_tuple(-1, true, 1, 0x12345678u, 3));
    const SimPed rider = ped("A_M_M_Rancher_01"), mountie = ped("A_M_Y_ValRider_01");
    EXPECT_EQ(make_tuple(mountOf(rider), rider.group, rider.weapons, rider.male,
                         rider.missionEntity, mountOf(mountie), mountie.health),
              make_tuple(string("A_C_Horse_Morgan_Bay"), Joaat("REL_GANG_DUTCHS"), 0u, false, true,
                         string("A_C_Horse_Turkoman_Gold"), 75.0f));
    EXPECT_TRUE(ped("S_M_M_ValDeputy_01").Injured());
    EXPECT_EQ(
        make_tuple(CountPeds(world, [](const SimPed& p) { return p.dead; }),
                   CountPeds(world, [](const SimPed& p) { return p.hogtied; }),
                   CountPeds(world, [](const SimPed& p) { return p.modelName == "A_C_Crow_01"; }),
                   world.PedsKilled()),
        make_tuple(1, 1, 4, uint64_t{0}))
        << "dead, hogtied, crows, and the dead of the file did not die in the run";

    const PopulationSettings& population = world.settings.population;
    EXPECT_EQ(make_tuple(population.enabled, population.targetPeds, population.spawnsPerSecond,
                         population.mix.size()),
              make_tuple(false, 7, 3, size_t{2}));
    const WorldSettings& s = world.settings;  // each switch is on by default
    EXPECT_FALSE(s.pedsAct || s.despawnFarPeds || s.playerFightsBack || s.rewriteReleasedHandle);
    EXPECT_EQ(s.neverLoadModels, (std::set<uint32_t>{Joaat("A_C_Bear_01"), 0x1CA6B883u}));
    EXPECT_EQ(make_tuple(s.modelLoadMs, s.failNextSpawns, s.nearbyPedRange, s.despawnRange,
                         s.corpseLifetimeMs, s.playerRespawnMs, s.hogtieEscapeMs,
                         s.abandonedVehicleLifetimeMs),
              make_tuple(uint64_t{250}, 2, 90.0f, 300.0f, uint64_t{5000}, uint64_t{3000},
                         uint64_t{0}, uint64_t{60000}));
}

TEST(ScenarioTimelineTest, HappeningsComeAtTheirTimes) {
    World world(1);
    std::string error;
    ASSERT_TRUE(LoadScenarioText(R"({
      "player": {"position": [0, 0, 0]},
      "settings": {"peds_act": false},
      "vehicles": [{"id": "w", "model": "CART03", "position": [9, 9, 0]}],
      "peds": [{"id": "v", "model": "A_M_M_ValTownfolk_01", "position": [5, 0, 0]},
               {"id": "t", "model": "A_M_M_ValTownfolk_01", "position": [6, 0, 0]}],
      "timeline": [
        {"at_s": 12, "do": "kill", "ped": "v"},
        {"at_s": 5, "do": "hogtie", "ped": "t"},
        {"at_s": 20, "do": "spawn", "ped": {"id": "late", "model": "A_C_Wolf", "position": [30, 0, 0]}},
        {"at_s": 25, "do": "hurt", "ped": "late", "amount": 60},
        {"at_s": 30, "do": "player_move", "to": [0, 20, 0], "speed": 2},
        {"at_s": 40, "do": "mission_on"},
        {"at_s": 50, "do": "mission_off"},
        {"at_s": 55, "do": "despawn", "vehicle": "w"},
        {"at_s": 56, "do": "weather", "weather": "fog"},
        {"at_s": 57, "do": "time_of_day", "time_of_day": "03:15"},
        {"at_s": 58, "do": "crash", "native": "GET_PED_NEARBY_PEDS", "call": 2}
      ]})",
                                 "timeline.json", world, nullptr, &error))
        << error;
    const auto at = [&](double seconds) { world.AdvanceTo(static_cast<uint64_t>(seconds * 1000)); };
    const int32_t victim = PedWithModel(world, "A_M_M_ValTownfolk_01");
    at(11.9);
    EXPECT_FALSE(world.FindPed(victim)->dead);
    EXPECT_NE(CountPeds(world, [](const SimPed& p) { return p.hogtied; }), 0);
    at(12);
    EXPECT_TRUE(world.FindPed(victim)->dead);
    at(25);
    const int32_t wolf = PedWithModel(world, "A_C_Wolf");
    ASSERT_NE(wolf, 0);
    EXPECT_EQ(world.FindPed(wolf)->health, 40.0f) << "the spawned ped answers to its id";
    EXPECT_EQ(world.PedsSpawned(), 1u);
    at(40);
    EXPECT_NEAR(world.EntityPosition(world.PlayerPed(), false).y, 20.0f, 0.01f);
    EXPECT_TRUE(world.Environment().MissionActive());
    at(50);
    EXPECT_FALSE(world.Environment().MissionActive());
    at(57);
    EXPECT_TRUE(world.Vehicles().empty());
    EXPECT_EQ(world.Environment().BaseWeather(), Joaat("fog"));
    EXPECT_EQ(world.Environment().ClockHours(), 3);
    const uint64_t scan = 0x23F8F5FC7E8C4A6Bull;
    EXPECT_FALSE(world.NativeCallCrashes(scan)) << "calls before the crash's time do not count";
    at(58);
    EXPECT_FALSE(world.NativeCallCrashes(0x217E9DC48139933Dull)) << "another native";
    EXPECT_FALSE(world.NativeCallCrashes(scan));
    EXPECT_TRUE(world.NativeCallCrashes(scan)) << "the second call from then on";
    EXPECT_FALSE(world.NativeCallCrashes(scan)) << "once";
}

TEST(RunSetupTest, NoFileGivesTheTownAFileWritesItsIniAMissingFileIsNamed) {
    TempWorkdir dir;
    const std::filesystem::path ini = dir.Root() / "Tarrowind" / "Tarrowind.ini";
    std::string error;
    World town(1);
    ASSERT_TRUE(BuildWorldForRun(town, "", &error)) << error;
    EXPECT_EQ(std::filesystem::path(FindDefaultScenario()).filename(), "town.json");
    EXPECT_GT(town.Peds().size(), 10u) << "the town, not an empty world";
    EXPECT_FALSE(std::filesystem::exists(ini)) << "the town leaves the player's own INI alone";

    std::ofstream("with_ini.json") << R"({"player": {"position": [0, 0, 0]},
                                         "ini": "[Encounters]\nEvent1_Aggressor=false\n"})";
    World world(1);
    ASSERT_TRUE(BuildWorldForRun(world, "with_ini.json", &error)) << error;
    std::stringstream text;
    text << std::ifstream(ini).rdbuf();
    EXPECT_EQ(text.str(), "[Encounters]\nEvent1_Aggressor=false\n");

    // Only the named encounters on, every other the catalogue knows off, after the file's own.
    std::ofstream("only.json") << R"({"player": {"position": [0, 0, 0]}, "ini": ["[Blips]"],
                                     "only_encounters": ["event5_mugging"]})";
    World only(1);
    ASSERT_TRUE(BuildWorldForRun(only, "only.json", &error)) << error;
    std::stringstream onlyText;
    onlyText << std::ifstream(ini).rdbuf();
    EXPECT_EQ(onlyText.str(),
              "[Blips]\n[Encounters]\nEvent1_Aggressor=false\nEvent2_Aggressor_Player=false\n"
              "Event3_Animal_Predator=false\nEvent4_Wagon_Robbery=false\nEvent5_Mugging=true\n"
              "Event6_Horse_Bucking=false\n");

    EXPECT_FALSE(BuildWorldForRun(world, "/nonexistent/nope.json", &error));
    EXPECT_EQ(error, "/nonexistent/nope.json: cannot be read");
}

// A file with one mistake, and what its one-line error must say after "bad.json: ". Text that
// is not a whole document is a list of fields added after a valid player; WOLF in it stands
// for a wolf at the origin.
struct BadFile {
    const char* text;
    const char* error;
};

class BadScenarioTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadScenarioTest, NamesTheFileTheFieldAndWhatWasExpected) {
    std::string text = GetParam().text;
    if (text[0] != '{' && text[0] != '[') {
        text = R"({"player": {"position": [0, 0, 0]}, )" + text + "}";
    }
    for (size_t at = text.find("WOLF"); at != std::string::npos; at = text.find("WOLF")) {
        text.replace(at, 4, R"("model": "A_C_Wolf", "position": [0, 0, 0])");
    }
    World world(1);
    std::string error;
    EXPECT_FALSE(LoadScenarioText(text, "bad.json", world, nullptr, &error));
    EXPECT_EQ(error.rfind(std::string("bad.json: ") + GetParam().error, 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

#define MISTAKES(name, ...)                  \
    const BadFile k##name[] = {__VA_ARGS__}; \
    INSTANTIATE_TEST_SUITE_P(name, BadScenarioTest, ::testing::ValuesIn(k##name))

MISTAKES(NotAScenario, {"{\"player\": ", "not valid JSON: parse error at line 1, column 12"},
         {"{}", "player: expected an object with the player's \"position\""});

MISTAKES(UnknownField,
         {R"({"player": {"postion": [0, 0, 0]}})", "player.postion: unknown field; expected one"},
         {R"("clock": 21)", "clock: unknown field; expected one of description, time_of_day"},
         {R"("timeline": [{"at_s": 1, "do": "kill", "ped": "player", "amount": 3}])",
          "timeline[0].amount: unknown field; expected one of at_s, do, ped (for \"kill\")"});

MISTAKES(MissingOrWrongKind,
         {R"({"player": {"position": [0, 0]}})", "player.position: expected a position"},
         {R"("time_of_day": "25:00")", "time_of_day: expected a time of day"},
         {R"("start": "2026-02-30T12:00:00")", "start: expected a local date and time"},
         {R"("start": 1733500800)", "start: expected a string"},
         {R"("peds": [{"model": "A_C_Wolf"}])", "peds[0].position: expected [x, y, z]"},
         {R"("timeline": [{"do": "kill", "ped": "player"}])",
          "timeline[0].at_s: expected the time"});

MISTAKES(OutOfRange,
         {R"("population": {"target": -1})",
          "population.target: expected a whole number from 0 to 500, not -1"},
         {R"("population": {"min_distance": 50, "max_distance": 20})",
          "population.max_distance: expected a distance no smaller than min_distance"},
         {R"("peds": [{WOLF, "state": "dead", "health": 50}])", "peds[0].health: expected no"},
         {R"("timeline": [{"at_s": 1, "do": "crash", "native": "PLAYER_ID", "call": 0}])",
          "timeline[0].call: expected"});

MISTAKES(OnlyEncounters,
         {R"("only_encounters": ["event9_nothing"])",
          "only_encounters[0]: expected the name of an encounter (event1_aggressor, "},
         {R"("ini": ["[encounters]", "Event1_Aggressor=true"], "only_encounters": [])",
          "only_encounters: expected no [Encounters] section in \"ini\" as well"});

MISTAKES(NotAName,
         {R"("peds": [{"model": "Nobody", "position": [0, 0, 0]}])",
          "peds[0].model: expected a ped model"},
         {R"("vehicles": [{"model": "BATHTUB", "position": [0, 0, 0]}])",
          "vehicles[0].model: expected a vehicle model of the catalogue"},
         {R"("peds": [{WOLF, "state": "asleep"}])", "peds[0].state: expected one of alive"},
         {R"("timeline": [{"at_s": 1, "do": "explode"}])", "timeline[0].do: expected one of"},
         {R"("timeline": [{"at_s": 1, "do": "crash", "native": "EXPLODE_PED"}])",
          "timeline[0].native: expected the name of a native the plug-in calls, not "
          "'EXPLODE_PED'"});

MISTAKES(BrokenReference,
         {R"("peds": [{"id": "a", WOLF}, {"id": "a", WOLF}])", "peds[1].id: expected an id"},
         {R"("peds": [{WOLF, "vehicle": "x"}])", "peds[0].vehicle: expected the id of a vehicle"},
         {R"("vehicles": [{"id": "w", "model": "CART03", "position": [0, 0, 0]}],
             "peds": [{WOLF, "vehicle": "w", "seat": 3}])",
          "peds[0].seat: expected a free seat of 'w' (-1 to 0), not 3"},
         {R"("peds": [{WOLF, "seat": 0}])", "peds[0].seat: expected a \"vehicle\" for the seat"},
         {R"("peds": [{WOLF, "mount": "nag"}])", "peds[0].mount: expected the id of another ped"},
         {R"("peds": [{"id": "h", "model": "A_C_Horse_Morgan_Bay", "position": [0, 0, 0]},
                     {WOLF, "mount": "h", "riding": "A_C_Horse_Morgan_Bay"}])",
          "peds[1].riding: expected one of \"riding\", \"mount\" and \"vehicle\" at most"},
         {R"("peds": [{"id": "a", WOLF, "count": 2}])", "peds[0].id: expected no \"id\" on an"},
         {R"({"player": {"position": [0, 0, 0], "riding": true}})",
          "player.riding: expected a \"horse\""},
         {R"("timeline": [{"at_s": 1, "do": "kill", "ped": "ghost"}])",
          "timeline[0].ped: expected the id of a ped in \"peds\" or spawned by the timeline"});

}  // namespace
