#include "windows/launcher/launcher_options.h"

#include "sim/host/command_line.h"

namespace {

constexpr uint64_t kMaxMinutes = 60ull * 24 * 365;
constexpr uint64_t kMaxFrames = kMaxMinutes * 60 * 30;
constexpr uint64_t kMaxCrowd = 1000;
constexpr uint64_t kMaxRepeat = 100;

}  // namespace

const char* LauncherUsage() {
    return "usage: tarrowind-launcher [--workdir DIR] [--minutes N | --frames F] [--seed S] "
           "[--scenario FILE | --crowd PEDS] [--start YYYY-MM-DDTHH:MM:SS|now] [--repeat R] "
           "[--plugin FILE] [--move-logs] [--crash-native NAME[:N]] [--quiet]";
}

bool ParseLauncherOptions(int argc, char** argv, LauncherOptions* options, std::string* error) {
    const auto apply = [options](const std::string& flag, const std::string& value,
                                 std::string* problem) {
        uint64_t number = 0;
        if (flag == "--quiet") {
            options->quiet = true;
        } else if (flag == "--move-logs") {
            options->moveLogs = true;
        } else if (flag == "--crowd") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxCrowd) {
                *problem = "--crowd takes a number of peds from 1 to 1000, not '" + value + "'";
                return false;
            }
            options->crowd = static_cast<uint32_t>(number);
        } else if (flag == "--repeat") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxRepeat) {
                *problem = "--repeat takes a number of runs from 1 to 100, not '" + value + "'";
                return false;
            }
            options->repeat = static_cast<uint32_t>(number);
        } else if (flag == "--workdir") {
            options->workdir = value;
        } else if (flag == "--scenario") {
            options->scenario = value;
        } else if (flag == "--start") {
            options->start = value;  // the stand-in host reads it, and says when it cannot
        } else if (flag == "--crash-native") {
            options->crashNative = value;
        } else if (flag == "--plugin") {
            options->plugin = value;
        } else if (flag == "--minutes") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxMinutes) {
                *problem = "--minutes takes a whole number of minutes from 1 to 525600, not '" +
                           value + "'";
                return false;
            }
            options->minutes = number;
            options->frames = 0;
        } else if (flag == "--frames") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxFrames) {
                *problem = "--frames takes a whole number of frames from 1 to " +
                           std::to_string(kMaxFrames) + ", not '" + value + "'";
                return false;
            }
            options->frames = number;
        } else if (flag == "--seed") {
            if (!ParseWholeNumber(value, &options->seed)) {
                *problem = "--seed takes a non-negative whole number, not '" + value + "'";
                return false;
            }
        }
        return true;
    };
    if (!WalkArguments(argc, argv, LauncherUsage(), {"--quiet", "--move-logs"},
                       {"--workdir", "--minutes", "--frames", "--seed", "--scenario", "--plugin",
                        "--crowd", "--repeat", "--start", "--crash-native"},
                       apply, error)) {
        return false;
    }
    if (options->crowd != 0 && !options->scenario.empty()) {
        *error = "--crowd and --scenario each choose the world: give one of them";
        return false;
    }
    return true;
}
