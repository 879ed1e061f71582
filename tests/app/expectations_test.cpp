// A scenario's blocks of checks: read, met, unmet, and refused with the field named.
#include <gtest/gtest.h>

#include "sim/app/checks/expectations.h"

namespace {

using nlohmann::json;

const json kFigures = json::parse(R"({
  "encounters_run": {"event4_wagon_robbery": 2},
  "peds_left_owned": 0, "blips_left": 1, "max_natives_in_one_frame": 58,
  "worst_frame_during": "event4_wagon_robbery", "ended_mid_event": false})");

std::vector<LoggedLine> Lines() {
    const std::string started = "Tarrowind script started",
                      gone = "Aggressor is no longer active - deleting blips";
    return {
        LoggedLine{LogLevel::Info, started, "[2026-01-01 10:00:00] [INFO] " + started, true, 5000},
        LoggedLine{LogLevel::Debug, gone, "[2026-01-01 10:12:03] [DEBUG] " + gone, true, 723000}};
}

std::vector<std::string> Unmet(const std::string& expect) {
    const Expectations expectations =
        ReadExpectations(ScenarioReader("mine.json"), "expect", json::parse(expect), kFigures);
    return UnmetExpectations(expectations, kFigures, Lines());
}

std::string Mistake(const std::string& expect, const std::string& block = "expect") {
    try {
        ReadExpectations(ScenarioReader("mine.json"), block, json::parse(expect), kFigures);
    } catch (const ScenarioError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(ExpectationsTest, MetExpectationsSayNothing) {
    EXPECT_TRUE(Unmet(R"({
      "encounters_run": {"event4_wagon_robbery": {"at_least": 1, "at_most": 2},
                         "event1_aggressor": 0},
      "summary": {"peds_left_owned": 0, "max_natives_in_one_frame": {"at_most": 60},
                  "worst_frame_during": "event4_wagon_robbery", "ended_mid_event": false},
      "log_has": ["Tarrowind script started",
                  "[DEBUG] Aggressor is no longer active - deleting blips"],
      "log_lacks": ["Exception in main loop: boom"]})")
                    .empty());
    EXPECT_TRUE(Unmet("{}").empty());
    EXPECT_EQ(ReadExpectations(ScenarioReader("mine.json"), "always", json(), kFigures).Count(),
              0u);
}

TEST(ExpectationsTest, EachUnmetExpectationIsOneLineWithWhatWasExpectedAndWhatHappened) {
    EXPECT_EQ(Unmet(R"({"summary": {"blips_left": 0, "max_natives_in_one_frame": {"at_most": 50},
                                    "worst_frame_during": "idle", "ended_mid_event": true}})"),
              (std::vector<std::string>{
                  "expect.summary.blips_left: expected exactly 0, got 1",
                  "expect.summary.ended_mid_event: expected true, got false",
                  "expect.summary.max_natives_in_one_frame: expected at most 50, got 58",
                  "expect.summary.worst_frame_during: expected \"idle\", got "
                  "\"event4_wagon_robbery\""}));
    EXPECT_EQ(Unmet(R"({"log_has": ["Executing event1_aggressor"],
                        "log_lacks": ["Aggressor is no longer active - deleting blips"]})"),
              (std::vector<std::string>{
                  "expect.log_has[0]: expected the line \"Executing event1_aggressor\", which "
                  "never appeared",
                  "expect.log_lacks[0]: expected no line \"Aggressor is no longer active - "
                  "deleting blips\", but it appeared 1 time, first at 0:12:03"}));
}

TEST(ExpectationsTest, AMistakeNamesTheFieldAndWhatWasExpected) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"encounter_run": {}})",
         "expect.encounter_run: unknown field; expected one of encounters_run, summary, log_has, "
         "log_lacks"},
        {R"({"encounters_run": {"event4_wagon_robery": 1}})",
         "expect.encounters_run.event4_wagon_robery: unknown field; expected one of "
         "event1_aggressor, event2_aggressor_player, event3_animal_aggressor, "
         "event4_wagon_robbery, event5_mugging, event6_horse_bucking"},
        {R"({"summary": {"peds_left": 0}})",
         "expect.summary.peds_left: unknown field; expected one of blips_left, ended_mid_event, "
         "max_natives_in_one_frame, peds_left_owned, worst_frame_during"},
        {R"({"summary": {"blips_left": {"at_least": 2, "at_most": 1}}})",
         "expect.summary.blips_left: expected \"at_least\" no greater than \"at_most\""},
        {R"({"summary": {"blips_left": {"atmost": 1}}})",
         "expect.summary.blips_left.atmost: unknown field; expected one of at_least, at_most"},
        {R"({"summary": {"blips_left": "none"}})",
         "expect.summary.blips_left: expected a number, or {\"at_least\": n, \"at_most\": m}"},
        {R"({"summary": {"worst_frame_during": 3}})",
         "expect.summary.worst_frame_during: expected a string"},
        {R"({"log_has": ["", "x"]})", "expect.log_has[0]: expected the text of a log line"},
        {R"({"log_lacks": "x"})", "expect.log_lacks: expected an array"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Mistake(c.first), std::string("mine.json: ") + c.second);
    }
    // "always" takes the same fields, and its mistakes name it.
    EXPECT_EQ(Mistake(R"({"summary": {"peds_left": 0}})", "always"),
              "mine.json: always.summary.peds_left: unknown field; expected one of blips_left, "
              "ended_mid_event, max_natives_in_one_frame, peds_left_owned, worst_frame_during");
    EXPECT_EQ(Mistake("[1]", "always"), "mine.json: always: expected an object");
}

}  // namespace
