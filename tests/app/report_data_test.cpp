// The report's data: event spans told from the log, peds' roles told from the natives called
// on them, and a real robbery run gathered into encounters, tracks and timeline entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "host/native_list.h"
#include "sim/app/event_spans.h"
#include "sim/app/ped_roles.h"
#include "sim/app/report_data.h"
#include "sim/app/run_recorder.h"
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
    };
    const std::vector<ReportSpan> spans = EventSpansFromLog(lines, 400000);
    ASSERT_EQ(spans.size(), 7u);
    const auto is = [](const ReportSpan& span, const std::string& name, uint64_t startMs,
                       uint64_t endMs, SpanOutcome outcome) {
        return span.name == name && span.startMs == startMs && span.endMs == endMs &&
               span.outcome == outcome;
    };
    EXPECT_TRUE(is(spans[0], "event4_wagon_robbery", 1000, 9000, SpanOutcome::Completed));
    EXPECT_EQ(spans[0].firstLine, 0u);
    EXPECT_EQ(spans[0].lastLine, 2u);
    EXPECT_TRUE(spans[1].weather);
    EXPECT_FALSE(spans[0].weather);
    EXPECT_TRUE(is(spans[2], "event1_aggressor", 20000, 20000, SpanOutcome::NoCandidates));
    EXPECT_TRUE(is(spans[3], "event3_animal_aggressor", 30000, 31000, SpanOutcome::Failed));
    EXPECT_TRUE(is(spans[4], "event2_aggressor_player", 40000, 41000, SpanOutcome::Failed));
    EXPECT_TRUE(is(spans[5], "event5_mugging", 50000, 350000, SpanOutcome::Bounded));
    EXPECT_TRUE(is(spans[6], "event6_horse_bucking", 360000, 400000, SpanOutcome::Unfinished));
    EXPECT_EQ(spans[6].lastLine, lines.size() - 1);
}

RoleCall Call(uint64_t native, int32_t actor, int32_t target, bool lawman = false) {
    RoleCall call;
    call.native = native;
    call.actor = actor;
    call.target = target;
    call.actorIsLawman = lawman;
    return call;
}

std::vector<std::pair<int32_t, EncounterRole>> Roles(const std::vector<RoleCall>& calls) {
    std::vector<std::pair<int32_t, EncounterRole>> roles;
    for (const RoleAssignment& a : AssignRoles(calls)) {
        roles.emplace_back(a.ped, a.role);
    }
    return roles;
}

using R = EncounterRole;

TEST(PedRolesTest, TheNativesCalledOnAPedTellItsRoleAndTheFirstRoleStays) {
    // A fight: the attack order, lawmen owned and sent in, a bystander who flees, the victim
    // fighting back (still the victim).
    EXPECT_EQ(
        Roles({Call(id::TASK_COMBAT_PED::kHash, 1, 2),
               Call(id::SET_ENTITY_AS_MISSION_ENTITY::kHash, 3, 0, true),
               Call(id::TASK_COMBAT_PED::kHash, 4, 1, true), Call(id::TASK_FLEE_PED::kHash, 5, 1),
               Call(id::TASK_COMBAT_PED::kHash, 2, 1), Call(id::TASK_COMBAT_PED::kHash, 6, 1)}),
        (std::vector<std::pair<int32_t, R>>{{1, R::Aggressor},
                                            {2, R::Victim},
                                            {3, R::Lawman},
                                            {4, R::Lawman},
                                            {5, R::Bystander},
                                            {6, R::Bystander}}));
    // A predator: spawned, then charging; a ped that runs from it.
    EXPECT_EQ(
        Roles({Call(id::CREATE_PED::kHash, 7, 0),
               Call(id::TASK_COMBAT_ANIMAL_CHARGE_PED::kHash, 7, 8),
               Call(id::TASK_FLEE_PED::kHash, 9, 7)}),
        (std::vector<std::pair<int32_t, R>>{{7, R::Predator}, {8, R::Victim}, {9, R::Bystander}}));
    // A wagon robbery (the driver later sent back aboard), a mugging, a bucking horse.
    EXPECT_EQ(Roles({Call(id::TASK_ENTER_VEHICLE::kHash, 10, 11),
                     Call(id::TASK_ENTER_VEHICLE::kHash, 11, 10)}),
              (std::vector<std::pair<int32_t, R>>{{10, R::Robber}, {11, R::Driver}}));
    EXPECT_EQ(Roles({Call(id::TASK_ROB_PED::kHash, 12, 13)}),
              (std::vector<std::pair<int32_t, R>>{{12, R::Robber}, {13, R::Victim}}));
    EXPECT_EQ(Roles({Call(id::TASK_MOUNT_THROW_RIDER::kHash, 14, 15),
                     Call(id::TASK_FLEE_PED::kHash, 14, 15)}),
              (std::vector<std::pair<int32_t, R>>{{14, R::Horse}, {15, R::Rider}}));
    // Calls that say nothing about a role, and calls on nobody, give none.
    EXPECT_TRUE(Roles({Call(id::SET_ENTITY_AS_MISSION_ENTITY::kHash, 16, 0),
                       Call(id::TASK_FLEE_PED::kHash, 17, 18), Call(id::CREATE_PED::kHash, 0, 0)})
                    .empty());
}

const TimelineEntry* FindEntry(const RunReport& report, TimelineKind kind) {
    for (const TimelineEntry& entry : report.timeline) {
        if (entry.kind == kind) {
            return &entry;
        }
    }
    return nullptr;
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
    EXPECT_EQ(robbery.span.name, "event4_wagon_robbery");
    std::map<int32_t, EncounterRole> roles;
    for (const ReportPed& ped : robbery.peds) {
        roles[ped.handle] = ped.role;
    }
    EXPECT_EQ(roles, (std::map<int32_t, EncounterRole>{
                         {robber, R::Robber}, {driver, R::Driver}, {lawman, R::Lawman}}));
    EXPECT_GT(robbery.worstFrameNatives, 0u);
    for (const ReportPed& ped : robbery.peds) {
        ASSERT_FALSE(ped.track.empty()) << ped.handle;
        EXPECT_GE(ped.track.front().atMs, robbery.span.startMs);
        EXPECT_LE(ped.track.back().atMs, robbery.span.endMs);
        if (ped.handle == robber) {
            EXPECT_NEAR(ped.track.front().x, 5.0f, 0.5f);
            EXPECT_GT(std::hypot(ped.track.back().x - 5.0f, ped.track.back().y), 10.0f)
                << "the robber went for the wagon";
        }
    }
    EXPECT_FALSE(robbery.player.empty());

    const TimelineEntry* first = &report.timeline.front();
    EXPECT_EQ(first->kind, TimelineKind::Encounter);
    EXPECT_EQ(first->encounter, 1);
    const TimelineEntry* pause = FindEntry(report, TimelineKind::MissionPause);
    ASSERT_NE(pause, nullptr);
    EXPECT_NEAR(static_cast<double>(pause->startMs), 250000, 100);
    EXPECT_NEAR(static_cast<double>(pause->endMs), 270000, 100);
    const TimelineEntry* death = FindEntry(report, TimelineKind::PlayerDeath);
    ASSERT_NE(death, nullptr);
    EXPECT_NEAR(static_cast<double>(death->startMs), 280000, 1100);
    EXPECT_TRUE(std::is_sorted(
        report.timeline.begin(), report.timeline.end(),
        [](const TimelineEntry& a, const TimelineEntry& b) { return a.startMs < b.startMs; }));
    const size_t opening = LineAt(report.lines, robbery.span.startMs);
    EXPECT_EQ(report.lines[opening].atMs, robbery.span.startMs);
    EXPECT_LE(opening, robbery.span.firstLine);
    EXPECT_EQ(LineAt(report.lines, report.endMs + 1), report.lines.size() - 1);
}

}  // namespace
