// One seed's result in a sweep: the run's --summary-json with a "run" block saying which run
// it was (the build, the scenario and INI by their bytes, the seed, the minutes, the sweep it
// belongs to) and the command that reproduces it. The local sweep and --merge read results
// with the same reader, so the two cannot tell a seed apart differently.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/app/sweep/sweep_runner.h"

constexpr int kSeedResultFormat = 1;

// What must be the same for results to be one sweep's.
struct RunIdentity {
    std::string build;           // "0.1.0 (a31eb1e)"
    std::string scenario;        // as the user named it; empty: the default town
    std::string scenarioDigest;  // of the scenario file's bytes
    std::string iniDigest;       // of the INI the plug-in read; empty: none
    uint64_t minutes = 0;
    std::string start;  // the calendar's start as given; empty: the scenario's or default
    bool inSweep = false;
    uint64_t firstSeed = 0;
    uint64_t lastSeed = 0;
};

// The first way `identity` differs from `expected`, as "scenario other.json, not
// limited.json"; empty when they are the same.
std::string IdentityDifference(const RunIdentity& identity, const RunIdentity& expected);

// A short digest of a file's bytes (64-bit FNV-1a, hex); empty when it cannot be read.
std::string FileDigest(const std::string& path);

// The "run" block a run adds to its summary.
nlohmann::json RunBlock(const RunIdentity& identity, uint64_t seed, const std::string& command);

struct SeedResult {
    RunIdentity identity;
    std::string command;  // reproduces the run
    SeedRun run;          // its seed, whether it passed, its first problem, its figures
};

// Reads one result file; false, with why in a few words, when it is not a whole result.
bool ReadSeedResult(const std::string& path, SeedResult* result, std::string* why);
