// Runs one simulator run per seed, each in a process of its own (the plug-in's state is
// process-wide), a number at a time, and reads the result each wrote (sweep_seed_result.h).
// A run that crashes, or that takes longer than the time limit and is stopped, is a failing
// seed like one whose checks broke, and the sweep goes on.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct SweepPlan {
    std::vector<uint64_t> seeds;  // in order
    // The command line of a seed's run that writes its result to resultFile; its first word
    // is the program's name as the run sees it.
    std::function<std::vector<std::string>(uint64_t seed, const std::string& resultFile)> arguments;
    uint64_t jobs = 1;
    std::chrono::seconds timeLimit{60};
};

struct SeedRun {
    enum class Outcome { Passed, Failed, Crashed, Hung };
    uint64_t seed = 0;
    Outcome outcome = Outcome::Failed;
    std::string problem;     // its first broken check, or what became of it; empty: passed
    nlohmann::json figures;  // the run's summary; null when it gave none
};

struct SweepProgress {
    uint64_t done = 0;
    uint64_t total = 0;
    uint64_t failing = 0;
    uint64_t running = 0;
};

// Runs every seed of the plan with the program at `program`, each with a temporary folder of
// its own (its TMPDIR, where its result and standard error go), all removed at the end, and returns
// the runs in seed order. `progress` is called whenever a run ends and now and then in between.
// False, with a one-line error, when the sweep cannot go on (no temporary folder, no process can be
// started, or a stop was asked for with `stopAsked`).
bool RunSeeds(const std::string& program, const SweepPlan& plan,
              const std::function<void(const SweepProgress&)>& progress,
              const std::function<bool()>& stopAsked, std::vector<SeedRun>* runs,
              std::string* error);
