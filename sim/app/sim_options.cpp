#include "sim/app/sim_options.h"

#include "sim/host/command_line.h"

const char* SimUsage() {
    return "usage: tarrowind-sim [--workdir DIR] [--minutes N] [--seed S] [--scenario FILE] "
           "[--summary-json FILE] [--report FILE.html] [--trace FILE] [--quiet] [--replay FILE "
           "[--replay-setting '[Section]Key=value']...]";
}

bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error) {
    const auto apply = [options](const std::string& flag, const std::string& value,
                                 std::string* problem) {
        if (flag == "--quiet") {
            options->quiet = true;
        } else if (flag == "--workdir") {
            options->workdir = value;
        } else if (flag == "--summary-json") {
            options->summaryJson = value;
        } else if (flag == "--scenario") {
            options->scenario = value;
        } else if (flag == "--report") {
            options->report = value;
        } else if (flag == "--trace") {
            options->trace = value;
        } else if (flag == "--replay") {
            options->replay = value;
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
        }
        return true;
    };
    if (!WalkArguments(argc, argv, SimUsage(), {"--quiet"},
                       {"--workdir", "--minutes", "--seed", "--summary-json", "--scenario",
                        "--report", "--trace", "--replay", "--replay-setting"},
                       apply, error)) {
        return false;
    }
    if (!options->replaySettings.empty() && options->replay.empty()) {
        *error = "--replay-setting goes with --replay";
        return false;
    }
    return true;
}
