#include "sim/app/sweep/sweep_seed_command.h"

std::string ShellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./:=@%+-") == std::string::npos;
    if (plain) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

namespace {

std::vector<std::string> ReproduceArguments(const SweepCommandParts& parts, uint64_t seed) {
    std::vector<std::string> args = {parts.program};
    if (!parts.workdir.empty()) {
        args.insert(args.end(), {"--workdir", parts.workdir});
    }
    if (!parts.scenario.empty()) {
        args.insert(args.end(), {"--scenario", parts.scenario});
    }
    if (!parts.start.empty()) {
        args.insert(args.end(), {"--start", parts.start});
    }
    args.insert(args.end(),
                {"--seed", std::to_string(seed), "--minutes", std::to_string(parts.minutes)});
    return args;
}

std::string Joined(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& arg : args) {
        command += (command.empty() ? "" : " ") + ShellWord(arg);
    }
    return command;
}

}  // namespace

std::string ReproduceCommand(const SweepCommandParts& parts, uint64_t seed) {
    return Joined(ReproduceArguments(parts, seed));
}

std::vector<std::string> SeedRunArguments(const SweepCommandParts& parts, uint64_t seed,
                                          const std::string& resultFile) {
    std::vector<std::string> args = ReproduceArguments(parts, seed);
    args.insert(args.end(), {"--in-sweep",
                             std::to_string(parts.firstSeed) + "-" + std::to_string(parts.lastSeed),
                             "--isolated", "--quiet", "--summary-json", resultFile});
    return args;
}

std::string SeedRunCommand(const SweepCommandParts& parts, uint64_t seed,
                           const std::string& resultFile) {
    return Joined(SeedRunArguments(parts, seed, resultFile));
}

std::string SeedResultPath(const std::string& resultsDir, uint64_t seed) {
    const bool slash = !resultsDir.empty() && resultsDir.back() == '/';
    return resultsDir + (slash ? "" : "/") + "seed-" + std::to_string(seed) + ".json";
}

std::vector<uint64_t> ShardSeeds(uint64_t firstSeed, uint64_t lastSeed, uint64_t shard,
                                 uint64_t shards) {
    std::vector<uint64_t> seeds;
    for (uint64_t seed = firstSeed;; ++seed) {
        if (shards == 0 || (seed - firstSeed) % shards == shard - 1) {
            seeds.push_back(seed);
        }
        if (seed == lastSeed) {
            break;
        }
    }
    return seeds;
}
