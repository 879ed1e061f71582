#include "sim/app/sim_options.h"

#include "sim/host/command_line.h"
#include "sim/world/sim_calendar.h"

namespace {

constexpr uint64_t kMostSweepSeeds = 1000000;
constexpr uint64_t kMostJobs = 1024;

// "A-B", both whole numbers, A no greater than B.
bool ParseSeedRange(const std::string& text, uint64_t* first, uint64_t* last) {
    const size_t dash = text.find('-', 1);
    return dash != std::string::npos && ParseWholeNumber(text.substr(0, dash), first) &&
           ParseWholeNumber(text.substr(dash + 1), last) && *first <= *last;
}

// Options that only make sense for one run, or only for a sweep.
bool CheckCombination(const SimOptions& options, std::string* error) {
    std::string problem;
    if (options.sweep && options.seedGiven) {
        problem = "--seed and --seeds do not go together: a sweep takes its seeds from --seeds";
    } else if (options.sweep && !options.trace.empty()) {
        problem = "--trace traces one run: give it with --seed, not --seeds";
    } else if (!options.sweep && options.jobs != 0) {
        problem = "--jobs is for a sweep: give it with --seeds A-B";
    } else if (!options.sweep && options.timeLimitSeconds != 0) {
        problem = "--time-limit is for a sweep: give it with --seeds A-B";
    } else if (!options.replaySettings.empty() && options.replay.empty()) {
        problem = "--replay-setting goes with --replay";
    } else if (!options.start.empty() && !options.replay.empty()) {
        problem = "--start does not go with --replay: a replay keeps the recorded calendar";
    } else if (!options.crashNative.empty() && (options.sweep || !options.replay.empty())) {
        problem = "--crash-native crashes one simulated run: not with --seeds or --replay";
    } else if (options.sweep && !options.replay.empty()) {
        problem = "--replay plays one recorded session: it does not go with --seeds";
    }
    if (!problem.empty()) {
        *error = problem;
        return false;
    }
    return true;
}

}  // namespace

const char* SimUsage() {
    return "usage: tarrowind-sim [--workdir DIR] [--minutes N] [--seed S] [--scenario FILE] "
           "[--start YYYY-MM-DDTHH:MM:SS|now] [--summary-json FILE] [--report FILE.html] [--trace "
           "FILE] [--quiet] [--crash-native NAME[:N]] [--replay FILE "
           "[--replay-setting '[Section]Key=value']...]\n"
           "       tarrowind-sim --seeds A-B [--jobs N] [--time-limit SECONDS] [--workdir DIR] "
           "[--minutes N] [--scenario FILE] [--start WHEN] [--summary-json FILE] [--report "
           "FILE.html]";
}

bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error) {
    const auto apply = [options](const std::string& flag, const std::string& value,
                                 std::string* problem) {
        if (flag == "--quiet") {
            options->quiet = true;
        } else if (flag == "--workdir") {
            options->workdir = value;
            options->workdirGiven = true;
        } else if (flag == "--summary-json") {
            options->summaryJson = value;
        } else if (flag == "--scenario") {
            options->scenario = value;
        } else if (flag == "--report") {
            options->report = value;
        } else if (flag == "--trace") {
            options->trace = value;
        } else if (flag == "--start") {
            std::time_t ignored = 0;
            if (!ParseCalendarStart(value, &ignored, problem)) {
                *problem = "--start: " + *problem;
                return false;
            }
            options->start = value;
        } else if (flag == "--replay") {
            options->replay = value;
        } else if (flag == "--crash-native") {
            options->crashNative = value;
        } else if (flag == "--replay-setting") {
            options->replaySettings.push_back(value);
        } else if (flag == "--minutes") {
            if (!ParseWholeNumber(value, &options->minutes) || options->minutes == 0 ||
                options->minutes > 60ull * 24 * 365) {
                *problem = "--minutes takes a whole number of minutes from 1 to 525600, not '" +
                           value + "'";
                return false;
            }
            options->minutesGiven = true;
        } else if (flag == "--seed") {
            if (!ParseWholeNumber(value, &options->seed)) {
                *problem = "--seed takes a non-negative whole number, not '" + value + "'";
                return false;
            }
            options->seedGiven = true;
        } else if (flag == "--seeds") {
            if (!ParseSeedRange(value, &options->firstSeed, &options->lastSeed)) {
                *problem =
                    "--seeds takes a range of seeds FIRST-LAST with FIRST no greater "
                    "than LAST, such as 1-1000, not '" +
                    value + "'";
                return false;
            }
            if (options->lastSeed - options->firstSeed >= kMostSweepSeeds) {
                *problem = "--seeds takes at most " + std::to_string(kMostSweepSeeds) +
                           " seeds at once, not '" + value + "'";
                return false;
            }
            options->sweep = true;
        } else if (flag == "--jobs") {
            if (!ParseWholeNumber(value, &options->jobs) || options->jobs == 0 ||
                options->jobs > kMostJobs) {
                *problem = "--jobs takes a whole number of runs at a time from 1 to " +
                           std::to_string(kMostJobs) + ", not '" + value + "'";
                return false;
            }
        } else if (flag == "--time-limit") {
            if (!ParseWholeNumber(value, &options->timeLimitSeconds) ||
                options->timeLimitSeconds == 0 || options->timeLimitSeconds > 604800) {
                *problem = "--time-limit takes a whole number of seconds from 1 to 604800, not '" +
                           value + "'";
                return false;
            }
        }
        return true;
    };
    return WalkArguments(argc, argv, SimUsage(), {"--quiet"},
                         {"--workdir", "--minutes", "--seed", "--summary-json", "--scenario",
                          "--report", "--trace", "--seeds", "--jobs", "--time-limit", "--replay",
                          "--replay-setting", "--start", "--crash-native"},
                         apply, error) &&
           CheckCombination(*options, error);
}

RunChoice ScenarioOwnRun(const ScenarioRunSettings& scenario) {
    const SimOptions defaults;
    RunChoice own;
    own.seed = scenario.hasSeed ? scenario.seed : defaults.seed;
    own.minutes = scenario.minutes != 0 ? scenario.minutes : defaults.minutes;
    return own;
}

RunChoice ChosenRun(const SimOptions& options, const ScenarioRunSettings& scenario) {
    RunChoice run = ScenarioOwnRun(scenario);
    if (options.seedGiven) {
        run.seed = options.seed;
    }
    if (options.minutesGiven) {
        run.minutes = options.minutes;
    }
    return run;
}
