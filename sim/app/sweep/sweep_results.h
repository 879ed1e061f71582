// What a sweep of seeds comes to: how many runs failed, how each figure spread across the
// runs (least, median, most), and each failing seed with its first broken check and the command
// that reproduces its run. Only the runs' own figures go into it, never wall times, so the same
// sweep gives the same results however its runs were scheduled.
#pragma once

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "sim/app/sweep/sweep_runner.h"

struct SweepSetup {
    std::string scenario;  // as the user named it; empty: the default town
    uint64_t firstSeed = 0;
    uint64_t lastSeed = 0;
    uint64_t minutes = 0;
    // The one command that reproduces the run of a seed.
    std::function<std::string(uint64_t seed)> command;
};

struct FigureSpread {
    double least = 0;
    double median = 0;  // the mean of the middle two when the count is even
    double most = 0;
    uint64_t mostAtSeed = 0;  // the first seed that gave the most
};

// One figure of the runs, as each run that gave a summary had it.
struct SweptFigure {
    std::string name;  // in the JSON: "longest_encounter_s", "encounters_per_hour.event1_aggressor"
    std::string label;     // in the table: "longest encounter (s)"
    bool perHour = false;  // an encounter's rate per simulated hour, under that heading
    int decimals = 0;
    std::vector<std::pair<uint64_t, double>> values;  // seed, value; in seed order
    FigureSpread Spread() const;
};

struct FailingSeed {
    uint64_t seed = 0;
    std::string problem;
    std::string command;
};

// How many runs had this encounter, ended this way, for their longest.
struct LongestEncounterCount {
    std::string name;
    std::string end;  // "completed", "bounded" (its watch gave up), ...
    uint64_t runs = 0;
};

struct SweepResults {
    SweepSetup setup;
    uint64_t runs = 0;
    uint64_t runsWithFigures = 0;
    std::vector<SweptFigure> figures;
    std::vector<LongestEncounterCount> longest;  // the most frequent first
    // For each encounter, in how many runs one of its watches reached the watch limit.
    std::vector<std::pair<std::string, uint64_t>> runsAtWatchLimit;
    std::vector<FailingSeed> failing;
};

SweepResults SummarizeSweep(const SweepSetup& setup, const std::vector<SeedRun>& runs);
// The table printed at the end of a sweep.
std::string SweepTable(const SweepResults& results);
// The same facts for --summary-json.
nlohmann::json SweepJson(const SweepResults& results);
// "town.json, seeds 1-1000, 60 minutes each"
std::string SweepTitle(const SweepSetup& setup);
