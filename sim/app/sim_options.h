// Command-line options of tarrowind-sim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimOptions {
    std::string workdir = ".";
    uint64_t minutes = 30;
    uint64_t seed = 1;
    bool minutesGiven = false;  // else the scenario's, if it says
    bool seedGiven = false;
    std::string summaryJson;                  // empty: none
    std::string scenario;                     // empty: the built-in default
    std::string report;                       // empty: no HTML report
    std::string trace;                        // empty: no trace of the calls and lines
    bool quiet = false;                       // no log lines on standard output
    std::string replay;                       // a session recording to replay instead of simulating
    std::vector<std::string> replaySettings;  // "[Section]Key=value" the replay reads instead
};

// Parses argv; on a bad argument returns false and sets error to a one-line message.
bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error);

const char* SimUsage();
