// Command-line options of tarrowind-sim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/world/scenario_file.h"

struct SimOptions {
    std::string workdir = ".";
    bool workdirGiven = false;
    uint64_t minutes = 30;
    uint64_t seed = 1;
    bool minutesGiven = false;  // else the scenario's, if it says
    bool seedGiven = false;
    std::string summaryJson;  // empty: none
    std::string scenario;     // empty: the built-in default
    std::string report;       // empty: no HTML report
    std::string trace;        // empty: no trace of the calls and lines
    std::string start;   // the calendar's start (sim_calendar.h); empty: the scenario's or default
    bool quiet = false;  // no log lines on standard output
    std::string replay;  // a session recording to replay instead of simulating
    std::vector<std::string> replaySettings;  // "[Section]Key=value" the replay reads instead
    std::string crashNative;                  // "NAME[:N]": that call faults; empty: none
    // One run played in a temporary copy of the working folder (its INI), so that runs of one
    // folder can go side by side.
    bool isolated = false;
    // One run that is a seed of the sweep of sweepFirst..sweepLast; its summary says so.
    bool inSweep = false;
    uint64_t sweepFirst = 0;
    uint64_t sweepLast = 0;
    // A sweep: every seed of firstSeed..lastSeed in a process of its own, jobs at a time.
    bool sweep = false;
    uint64_t firstSeed = 0;
    uint64_t lastSeed = 0;
    uint64_t jobs = 0;              // 0: one per core
    uint64_t timeLimitSeconds = 0;  // wall time one run of a sweep may take; 0: by its length
    // Instead of running the sweep, print one command per seed (of shard K of N, when given).
    bool printCommands = false;
    uint64_t shard = 0;  // 1..shards; 0: every seed
    uint64_t shards = 0;
    std::string resultsDir = "results";  // where the printed commands write their results
    // Result files (or folders of them) to merge into one sweep's table; empty: no merge.
    std::vector<std::string> merge;
    // A scene (sim/scene/): the scenario re-staging a recording's world at a moment (seconds
    // in, or encounter N's start), or the simulated world measured against the recording.
    std::string sceneFrom;
    bool sceneAtGiven = false;
    double sceneAtSeconds = 0;
    uint64_t sceneEncounter = 0;  // 0: not given
    std::string compareWorld;
};

enum class ParseOutcome {
    kRun,   // the options are good
    kHelp,  // --help: the text is the help, for standard output, status 0
    kBad,   // the text is a one-line error, status 2
};

// Parses argv into options; for help or a bad argument, sets text.
ParseOutcome ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* text);

// The seed and length of a run.
struct RunChoice {
    uint64_t seed = 0;
    uint64_t minutes = 0;
};

// The run the scenario file alone gives: its own seed and minutes, else the defaults.
RunChoice ScenarioOwnRun(const ScenarioRunSettings& scenario);
// The run the command line asks for: its seed and minutes where it gives them, else the
// scenario's own (a sweep takes its seeds from --seeds and this seed is then unused).
RunChoice ChosenRun(const SimOptions& options, const ScenarioRunSettings& scenario);
