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
    // A sweep: every seed of firstSeed..lastSeed in a process of its own, jobs at a time.
    bool sweep = false;
    uint64_t firstSeed = 0;
    uint64_t lastSeed = 0;
    uint64_t jobs = 0;              // 0: one per core
    uint64_t timeLimitSeconds = 0;  // wall time one run of a sweep may take; 0: by its length
};

// Parses argv; on a bad argument returns false and sets error to a one-line message.
bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error);

const char* SimUsage();

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
