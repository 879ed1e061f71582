// The report's data: event spans, peds' roles, and a real robbery run gathered into a report.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "host/native_list.h"
#include "sim/app/report/ped_roles.h"
#include "sim/app/report/report_data.h"
#include "sim/app/report/run_recorder.h"
#include "sim/host/event_spans.h"
#include "sim/host/run_setup.h"
#include "support/temp_workdir.h"

namespace {

namespace id = native::id;

LoggedLine Line(uint64_t atMs, const std::string& message) {
    return LoggedLine{LogLevel::Info, message, "[2026-01-01 00:00:00] [INFO] " + message, true,
                      atMs};
}

TEST(EventSpansTest, EachEventRunsFromItsOpeningLineToItsEndAndSaysHowItEnded) {
    const std::vector<LoggedLine> lines = {
        Line(1000, "Executing event4_wagon_robbery"),
        Line(1000, "Initiating NPC confrontation event"),
        Line(9000, "event4_wagon_robbery completed successfully"),
        Line(9000, "Executing event_weather_fog"),
        Line(9000, "event_weather_fog completed successfully"),
        Line(20000, "Executing event1_aggressor"),
        Line(20000, "Could not find 2 valid NPCs within radius. Found: 1 valid peds."),
        Line(20000, "event1_aggressor completed successfully"),
        Line(30000, "Executing event3_animal_aggressor"),
        Line(31000, "event3_animal_aggressor aborted due to spawn failure"),
        Line(40000, "Executing event2_aggressor_player"),
        Line(41000, "Exception in event2_aggressor_player(): boom"),
        Line(50000, "Executing event5_mugging"),
        Line(350000, "Mugging has gone on for 5 minutes, ending mugging event."),
        Line(350000, "event5_mugging completed successfully"),
        Line(360000, "Executing event6_horse_bucking"),
        Line(380000, "Executing event1_aggressor"),  // the script started over
    };
    std::vector<std::string> spans;
    for (const EventSpan& span : EventSpansFromLog(lines, 400000)) {
        spans.push_back(span.name + (span.weather ? " (weather) " : " ") +
                        std::to_string(span.startMs) + "-" + std::to_string(span.endMs) + " " +
                        SpanOutcomeName(span) + ", lines " + std::to_string(span.firstLine) + "-" +
                        std::to_string(span.lastLine));
    }
    EXPECT_EQ(spans, (std::vector<std::string>{
                         "event4_wagon_robbery 1000-9000 completed, lines 0-2",
                         "event_weather_fog (weather) 9000-9000 completed, lines 3-4",
                         "event1_aggressor 20000-20000 no candidates, lines 5-7",
                         "event3_animal_aggressor 30000-31000 failed, lines 8-9",
                         "event2_aggressor_player 40000-41000 failed, lines 10-11",
                         "event5_mugging 50000-350000 bounded, lines 12-14",
                         "event6_horse_bucking 360000-380000 unfinished, lines 15-16",
                         "event1_aggressor 380000-400000 unfinished, lines 16-16"}));
}

// The peds the calls give roles to, as "ped role" in the order they got them.
std::string Roles(const std::vector<RoleCall>& calls) {
    std::string roles;
    for (const RoleAssignment& a : AssignRoles(calls)) {
        roles +=
            (roles.empty() ? "" : ", ") + std::to_string(a.ped) + " " + EncounterRoleName(a.role);
    }
    return roles;
}

TEST(PedRolesTest, TheNativesCalledOnAPedTellItsRoleAndTheFirstRoleStays) {
    const uint64_t combat = id::TASK_COMBAT_PED::kHash, flee = id::TASK_FLEE_PED::kHash,
                   own = id::SET_ENTITY_AS_MISSION_ENTITY::kHash, create = id::CREATE_PED::kHash,
                   enter = id::TASK_ENTER_VEHICLE::kHash;
    // A fight: the attack order, lawmen owned and sent in, a bystander who flees, the victim
    // fighting back (still the victim).
    EXPECT_EQ(Roles({{0, combat, 1, 2},
                     {0, own, 3, 0, true},
                     {0, combat, 4, 1, true},
                     {0, flee, 5, 1},
                     {0, combat, 2, 1},
                     {0, combat, 6, 1}}),
              "1 aggressor, 2 victim, 3 lawman, 4 lawman, 5 bystander, 6 bystander");
    // A predator: spawned, then charging; a ped that runs from it.
    EXPECT_EQ(Roles({{0, create, 7, 0},
                     {0, id::TASK_COMBAT_ANIMAL_CHARGE_PED::kHash, 7, 8},
                     {0, flee, 9, 7}}),
              "7 predator, 8 victim, 9 bystander");
    // A wagon robbery (the driver later sent back aboard), a mugging, a bucking horse.
    EXPECT_EQ(Roles({{0, enter, 10, 11}, {0, enter, 11, 10}}), "10 robber, 11 driver");
    EXPECT_EQ(Roles({{0, id::TASK_ROB_PED::kHash, 12, 13}}), "12 robber, 13 victim");
    EXPECT_EQ(Roles({{0, id::TASK_MOUNT_THROW_RIDER::kHash, 14, 15}, {0, flee, 14, 15}}),
              "14 horse, 15 rider");
    // Calls that say nothing about a role, and calls on nobody, give none.
    EXPECT_EQ(Roles({{0, own, 16, 0}, {0, flee, 17, 18}, {0, create, 0, 0}}), "");
}

TEST(RunReportTest, ARobberyRunGivesEachPedItsRoleAndItsTrackOverTheEncounter) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({"Event4_Wagon_Robbery"}));
    World world(1);
    const int32_t player = world.CreatePlayer(Vec3{0, 0, 0});
    const int32_t robber = world.AddTownsfolk(Vec3{5, 0, 0});
    const int32_t wagon = world.AddWagonWithDriver("CART01", Vec3{20, 0, 0});
    const int32_t driver = world.FindVehicle(wagon)->occupants.at(-1);
    const int32_t lawman = world.AddLawman(Vec3{-10, 5, 0});
    world.Environment().AddMissionWindow(250000, 270000);
    world.Schedule(280000, [player](World& w) { w.KillPed(player); });
    world.GameStates().Add(GameStateKind::Cutscene, 285000, 295000);

    HostOptions options = HostOptionsForSeed(1);
    options.recordCalls = true;
    SimRun run(world, options);
    RunRecorder recorder(run);
    run.LoadPlugin();
    run.Run(300000);
    recorder.Finish();
    const RunReport report =
        BuildRunReport(recorder, run.Lines(), world.Environment().Lightning(), run.Host().NowMs());

    ASSERT_FALSE(report.encounters.empty());
    const ReportEncounter& robbery = report.encounters.front();
    EXPECT_GT(robbery.worstFrameNatives, 0u);
    std::map<int32_t, EncounterRole> roles;
    for (const ReportPed& ped : robbery.peds) {
        roles[ped.handle] = ped.role;
        ASSERT_FALSE(ped.track.empty()) << ped.handle;
        EXPECT_GE(ped.track.front().atMs, robbery.span.startMs);
        EXPECT_LE(ped.track.back().atMs, robbery.span.endMs);
        if (ped.handle == robber) {
            EXPECT_NEAR(ped.track.front().x, 5.0f, 0.5f);
            EXPECT_GT(std::hypot(ped.track.back().x - 5.0f, ped.track.back().y), 10.0f)
                << "the robber went for the wagon";
        }
    }
    EXPECT_EQ(roles, (std::map<int32_t, EncounterRole>{{robber, EncounterRole::Robber},
                                                       {driver, EncounterRole::Driver},
                                                       {lawman, EncounterRole::Lawman}}));
    EXPECT_FALSE(robbery.player.empty());

    EXPECT_EQ(report.timeline.front().kind, TimelineKind::Encounter);
    EXPECT_EQ(report.timeline.front().encounter, 1);
    const auto find = [&](TimelineKind kind) {
        return std::find_if(report.timeline.begin(), report.timeline.end(),
                            [kind](const TimelineEntry& entry) { return entry.kind == kind; });
    };
    const auto pause = find(TimelineKind::MissionPause);
    ASSERT_NE(pause, report.timeline.end());
    EXPECT_NEAR(static_cast<double>(pause->startMs), 250000, 100);
    EXPECT_NEAR(static_cast<double>(pause->endMs), 270000, 100);
    const auto death = find(TimelineKind::PlayerDeath);
    ASSERT_NE(death, report.timeline.end());
    EXPECT_NEAR(static_cast<double>(death->startMs), 280000, 1100);
    // The death and the cutscene, each in the lane outside free play, a death still open at
    // the end drawn to the end.
    std::vector<std::string> outside;
    for (const TimelineEntry& entry : report.timeline) {
        if (entry.kind == TimelineKind::GameState) {
            outside.push_back(entry.label + " " + std::to_string(entry.startMs / 1000) + "-" +
                              std::to_string(entry.endMs / 1000));
        }
    }
    EXPECT_EQ(outside.size(), 2u);
    EXPECT_NE(std::find(outside.begin(), outside.end(), "cutscene 285-295"), outside.end());
    EXPECT_TRUE(std::is_sorted(
        report.timeline.begin(), report.timeline.end(),
        [](const TimelineEntry& a, const TimelineEntry& b) { return a.startMs < b.startMs; }));
    const size_t opening = LineAt(report.lines, robbery.span.startMs);
    EXPECT_EQ(report.lines[opening].atMs, robbery.span.startMs);
    EXPECT_LE(opening, robbery.span.firstLine);
    EXPECT_EQ(LineAt(report.lines, report.endMs + 1), report.lines.size() - 1);
}

}  // namespace
