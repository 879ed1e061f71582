#include "sim/app/sweep/sweep_merge.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The seed a file's name gives, "seed-12.json"; false for any other name.
bool SeedOfName(const std::string& path, uint64_t* seed) {
    const std::string name = fs::path(path).filename().string();
    const std::string prefix = "seed-";
    const std::string suffix = ".json";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, 5, prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 19) {
        return false;
    }
    *seed = std::stoull(digits);
    return true;
}

std::string IdentityKey(const RunIdentity& id) {
    return id.build + '\n' + id.scenario + '\n' + id.scenarioDigest + '\n' + id.iniDigest + '\n' +
           std::to_string(id.minutes) + '\n' + id.start + '\n' + (id.inSweep ? "sweep" : "") +
           std::to_string(id.firstSeed) + '-' + std::to_string(id.lastSeed);
}

// The identity most results have; of equals, the one met first.
RunIdentity MostCommonIdentity(const std::vector<SeedResult>& results) {
    std::map<std::string, size_t> counts;
    for (const SeedResult& result : results) {
        ++counts[IdentityKey(result.identity)];
    }
    const SeedResult* best = &results.front();
    for (const SeedResult& result : results) {
        if (counts[IdentityKey(result.identity)] > counts[IdentityKey(best->identity)]) {
            best = &result;
        }
    }
    return best->identity;
}

// A result's figures without what measures the machine it ran on.
nlohmann::json RunFiguresOnly(nlohmann::json figures) {
    figures.erase("wall_seconds");
    return figures;
}

}  // namespace

bool ListResultFiles(const std::vector<std::string>& arguments, std::vector<std::string>* files,
                     std::string* error) {
    for (const std::string& argument : arguments) {
        std::error_code ec;
        if (fs::is_directory(argument, ec)) {
            std::vector<std::string> inside;
            for (const fs::directory_entry& entry : fs::directory_iterator(argument, ec)) {
                if (entry.path().extension() == ".json" && entry.is_regular_file(ec)) {
                    inside.push_back(entry.path().string());
                }
            }
            std::sort(inside.begin(), inside.end());
            files->insert(files->end(), inside.begin(), inside.end());
        } else if (fs::exists(argument, ec)) {
            files->push_back(argument);
        } else {
            *error = "--merge: '" + argument + "' is neither a result file nor a folder of them";
            return false;
        }
    }
    return true;
}

bool MergeResultFiles(const std::vector<std::string>& files, MergedSweep* merged,
                      std::string* error) {
    std::vector<SeedResult> results;
    std::vector<std::string> resultFiles;
    std::set<uint64_t> named;  // seeds a note has named as left out
    for (const std::string& file : files) {
        SeedResult result;
        std::string why;
        if (ReadSeedResult(file, &result, &why)) {
            results.push_back(std::move(result));
            resultFiles.push_back(file);
            continue;
        }
        uint64_t seed = 0;
        if (SeedOfName(file, &seed)) {
            named.insert(seed);
            merged->notes.push_back(file + ": " + why + "; seed " + std::to_string(seed) +
                                    " has no result");
        } else {
            merged->notes.push_back(file + ": " + why + "; left out");
        }
    }
    if (results.empty()) {
        *error = "--merge: no result among the " + std::to_string(files.size()) + " file" +
                 (files.size() == 1 ? "" : "s") + " given" +
                 (merged->notes.empty() ? "" : " (" + merged->notes.front() + ")");
        return false;
    }

    const RunIdentity sweep = MostCommonIdentity(results);
    std::map<uint64_t, size_t> bySeed;  // seed: index in results
    for (size_t i = 0; i < results.size(); ++i) {
        const SeedResult& result = results[i];
        const std::string seed = "seed " + std::to_string(result.run.seed);
        const std::string difference = IdentityDifference(result.identity, sweep);
        if (!difference.empty()) {
            named.insert(result.run.seed);
            merged->notes.push_back(resultFiles[i] + ": " + seed + " is from another run (" +
                                    difference + "); left out");
            continue;
        }
        if (sweep.inSweep &&
            (result.run.seed < sweep.firstSeed || result.run.seed > sweep.lastSeed)) {
            named.insert(result.run.seed);
            merged->notes.push_back(resultFiles[i] + ": " + seed +
                                    " is not one of the sweep's seeds; left out");
            continue;
        }
        const auto first = bySeed.find(result.run.seed);
        if (first != bySeed.end()) {
            const bool same = RunFiguresOnly(results[first->second].run.figures) ==
                              RunFiguresOnly(result.run.figures);
            merged->notes.push_back(
                resultFiles[i] + ": " + seed + " again (first in " + resultFiles[first->second] +
                ", " + (same ? "the same run" : "another run") + "); the first is kept");
            continue;
        }
        bySeed[result.run.seed] = i;
    }

    SweepSetup& setup = merged->setup;
    setup.scenario = sweep.scenario;
    setup.minutes = sweep.minutes;
    if (sweep.inSweep) {
        setup.firstSeed = sweep.firstSeed;
        setup.lastSeed = sweep.lastSeed;
    } else if (!bySeed.empty()) {  // runs of no sweep: the seeds they have
        setup.firstSeed = bySeed.begin()->first;
        setup.lastSeed = bySeed.rbegin()->first;
    }
    std::map<uint64_t, std::string> commands;
    for (const auto& entry : bySeed) {
        merged->runs.push_back(results[entry.second].run);
        commands[entry.first] = results[entry.second].command;
    }
    setup.command = [commands](uint64_t seed) {
        const auto found = commands.find(seed);
        return found != commands.end() ? found->second : std::string();
    };
    if (!bySeed.empty() || sweep.inSweep) {
        for (uint64_t seed = setup.firstSeed;; ++seed) {
            if (bySeed.count(seed) == 0 && named.count(seed) == 0) {
                merged->notes.push_back("seed " + std::to_string(seed) + ": no result");
            }
            if (seed == setup.lastSeed) {
                break;
            }
        }
    }
    return true;
}
