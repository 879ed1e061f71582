// The HTML report of a hand-made run.
#include <gtest/gtest.h>

#include "host/native_list.h"
#include "sim/app/report/report_html.h"

namespace {

LoggedLine Line(uint64_t atMs, const std::string& message) {
    return LoggedLine{LogLevel::Info, message, "[2026-01-01 00:00:00] [INFO] " + message, true,
                      atMs};
}

RunReport SmallRun() {
    RunReport report;
    report.title = "a <small> run";
    report.endMs = 600000;
    report.lines = {Line(5000, "Tarrowind script started"),
                    Line(60000, "Executing event4_wagon_robbery"), Line(61000, "Valid ped <found>"),
                    Line(90000, "event4_wagon_robbery completed successfully"),
                    Line(95000, "Executing event_weather_thunderstorm")};
    report.player = {TrackPoint{0, 0, 0}, TrackPoint{60000, 10, 0}, TrackPoint{90000, 20, 5}};
    const PlaceMark death{89000, 4097, 120, 40};
    report.deaths = {death};
    report.blips = {PlaceMark{75000, 4097, 30, 0}};
    ReportPed robber;
    robber.handle = 4097;
    robber.role = EncounterRole::Robber;
    robber.model = "A_M_M_ValCriminals_01";
    robber.roleAtMs = 61000;
    robber.track = {TrackPoint{61000, 15, 0}, TrackPoint{75000, 30, 0}, TrackPoint{89000, 120, 40}};
    robber.died = true;
    robber.death = death;
    EventSpan span;
    span.name = "event4_wagon_robbery";
    span.startMs = 60000;
    span.endMs = 90000;
    span.end = SpanEnd::kCompleted;
    span.firstLine = 1;
    span.lastLine = 3;
    report.encounters = {
        ReportEncounter{1, span, {robber}, report.blips, {report.player[1], report.player[2]}, 58}};
    report.timeline = {
        TimelineEntry{TimelineKind::Encounter, "event4_wagon_robbery", "completed", 60000, 90000,
                      1},
        TimelineEntry{TimelineKind::Weather, "event_weather_thunderstorm", "unfinished", 95000,
                      600000, 0},
        TimelineEntry{TimelineKind::PlayerDeath, "the player died", "", 120000, 120000, 0}};
    report.lightning = {LightningStrike{96000, Vec3{25, 5, 0}}};
    report.summary = nlohmann::json::parse(R"({"peds_left_owned": 0, "encounters_run":
                                               {"event4_wagon_robbery": 1}})");
    return report;
}

bool Has(const std::string& page, const std::string& part) {
    return page.find(part) != std::string::npos;
}

// The page with the folded pieces' text turned back into what the script makes of it.
std::string Unfolded(std::string page) {
    for (const auto& entity : {std::make_pair("&lt;", "<"), std::make_pair("&gt;", ">"),
                               std::make_pair("&quot;", "\""), std::make_pair("&amp;", "&")}) {
        for (size_t at = page.find(entity.first); at != std::string::npos;
             at = page.find(entity.first, at + 1)) {
            page.replace(at, std::string(entity.first).size(), entity.second);
        }
    }
    return page;
}

TEST(ReportHtmlTest, ARunGivesOneSelfContainedPageWithEveryPieceLinked) {
    const std::string folded = ReportHtml(SmallRun());
    EXPECT_FALSE(Has(folded, "<found>"));
    EXPECT_TRUE(Has(folded, "Valid ped &lt;found>")) << "log text, shown as text";
    const std::string page = Unfolded(folded);
    for (const char* fetched : {"http:", "https:", "src=", "<link", "@import", "url("}) {
        EXPECT_FALSE(Has(page, fetched)) << fetched;
    }
    EXPECT_TRUE(Has(folded, "<title>a &lt;small&gt; run</title>"));

    const char* const kParts[] = {
        // The timeline: the encounter leads to its section, the rest to the log at their moment.
        "<svg class=\"timeline\"", "<a href=\"#enc-1\"><rect class=\"encounter o-completed\"",
        "<a href=\"#l4\"><rect class=\"weather\"", "the log from 0:00:00",
        // The maps: the whole run, and the encounter with the robber's track, death and blip.
        "<svg class=\"map overview\"", "<path class=\"player\" d=\" M",
        "<details class=\"encounter\" id=\"enc-1\">", "<svg class=\"map encounter-map\"",
        "<g class=\"r-robber\"><title>robber 4097 (A_M_M_ValCriminals_01), 0:01:01 to "
        "0:01:29</title><polyline class=\"track\" points=\"15,0 30,0 120,-40\"/>",
        "4097 died at 0:01:29", "blip on 4097 at 0:01:15", "lightning at 0:01:36",
        "m</text></g>",  // a scale bar
        // The log, folded as lines that the script makes l0, l1, ...
        "<details class=\"log-chunk\" data-first=\"0\" open><summary>0:00:00 to 0:10:00, 5 "
        "lines</summary><textarea class=\"deferred\" hidden>0:00:05 [INFO] Tarrowind script "
        "started\n0:01:00 [INFO] Executing",
        "encounters_run.event4_wagon_robbery"};
    for (const char* part : kParts) {
        EXPECT_TRUE(Has(page, part)) << part;
    }
}

}  // namespace
