// What a sweep comes to: spreads over the runs that gave figures, and each failing seed with its
// problem and command.
#include <gtest/gtest.h>

#include "sim/app/sweep/sweep_results.h"

namespace {

using nlohmann::json;

SeedRun SeedRunOf(uint64_t seed, double longest,
                  SeedRun::Outcome outcome = SeedRun::Outcome::Passed,
                  const std::string& problem = "") {
    SeedRun run;
    run.seed = seed;
    run.outcome = outcome;
    run.problem = problem;
    run.figures = {{"simulated_minutes", 30.0},
                   {"encounters_run", {{"event4_wagon_robbery", 2}}},
                   {"longest_encounter", "event4_wagon_robbery"},
                   {"longest_encounter_end", "completed"},
                   {"longest_encounter_s", longest}};
    return run;
}

SweepResults Summarize(const std::vector<SeedRun>& runs) {
    SweepSetup setup;
    setup.scenario = "town.json";
    setup.firstSeed = 1;
    setup.lastSeed = runs.size();
    setup.minutes = 30;
    setup.command = [](uint64_t seed) { return "sim --seed " + std::to_string(seed); };
    return SummarizeSweep(setup, runs);
}

const SweptFigure& Figure(const SweepResults& results, const std::string& name) {
    for (const SweptFigure& figure : results.figures) {
        if (figure.name == name) {
            return figure;
        }
    }
    throw std::runtime_error("no figure " + name);
}

TEST(SweepResultsTest, SpreadsCountOnlyTheRunsThatGaveFigures) {
    SeedRun crashed;
    crashed.seed = 3;
    crashed.outcome = SeedRun::Outcome::Crashed;
    crashed.problem = "crashed: signal 11 (Segmentation fault)";
    const SweepResults results = Summarize(
        {SeedRunOf(1, 40), SeedRunOf(2, 90), crashed, SeedRunOf(4, 10), SeedRunOf(5, 90)});
    EXPECT_EQ(results.runs, 5u);
    EXPECT_EQ(results.runsWithFigures, 4u);
    const FigureSpread longest = Figure(results, "longest_encounter_s").Spread();
    EXPECT_EQ(longest.least, 10);
    EXPECT_EQ(longest.median, 65);  // the middle two of an even count
    EXPECT_EQ(longest.most, 90);
    EXPECT_EQ(longest.mostAtSeed, 2u);  // the first seed of a tie
    // Two robberies in half an hour are four an hour; an encounter that never ran shows as 0.
    EXPECT_EQ(Figure(results, "encounters_per_hour.event4_wagon_robbery").Spread().median, 4);
    EXPECT_EQ(Figure(results, "encounters_per_hour.event1_aggressor").Spread().most, 0);
    ASSERT_EQ(results.longest.size(), 1u);
    EXPECT_EQ(results.longest[0].runs, 4u);
}

TEST(SweepResultsTest, EachFailingSeedHasItsProblemAndCommand) {
    const SweepResults results = Summarize(
        {SeedRunOf(1, 40), SeedRunOf(2, 900, SeedRun::Outcome::Failed,
                                     "always.summary.longest_encounter_s: expected at most "
                                     "735.2, got 900")});
    ASSERT_EQ(results.failing.size(), 1u);
    EXPECT_EQ(results.failing[0].seed, 2u);
    const std::string table = SweepTable(results);
    EXPECT_NE(table.find("runs: 2, failed: 1\n"), std::string::npos) << table;
    EXPECT_NE(table.find("  seed 2: always.summary.longest_encounter_s: expected at most 735.2, "
                         "got 900\n    sim --seed 2\n"),
              std::string::npos)
        << table;
    const json j = SweepJson(results);
    EXPECT_EQ(j["failing_seeds"][0]["command"], "sim --seed 2");
    EXPECT_EQ(j["figures"]["longest_encounter_s"]["most_at_seed"], 2);
}

}  // namespace
