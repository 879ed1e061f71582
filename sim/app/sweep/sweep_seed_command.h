// The commands of a sweep, one per seed: the one that reproduces a seed's run on its own, and
// the one a sweep runs (printed by --print-commands, run by the local process pool), which
// plays that run in a folder of its own and writes its result where --merge finds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SweepCommandParts {
    std::string program;   // the simulator as the user called it
    std::string workdir;   // --workdir as the user wrote it; empty: not given
    std::string scenario;  // --scenario as the user wrote it; empty: not given
    std::string start;     // the calendar's start, read once; empty: not given
    uint64_t minutes = 0;
    uint64_t firstSeed = 0;
    uint64_t lastSeed = 0;
};

// An argument as a POSIX shell reads it back.
std::string ShellWord(const std::string& word);

// "tarrowind-sim --scenario limited.json --seed 4 --minutes 10"
std::string ReproduceCommand(const SweepCommandParts& parts, uint64_t seed);

// The reproducing command with what a sweep's run adds: --in-sweep, --isolated, --quiet and
// --summary-json resultFile.
std::vector<std::string> SeedRunArguments(const SweepCommandParts& parts, uint64_t seed,
                                          const std::string& resultFile);
std::string SeedRunCommand(const SweepCommandParts& parts, uint64_t seed,
                           const std::string& resultFile);

// resultsDir/seed-<n>.json
std::string SeedResultPath(const std::string& resultsDir, uint64_t seed);

// The seeds of share `shard` of `shards` (1-based): every shards-th seed from the first, so
// that each share gets as many early and late seeds; shards 0 gives every seed.
std::vector<uint64_t> ShardSeeds(uint64_t firstSeed, uint64_t lastSeed, uint64_t shard,
                                 uint64_t shards);
