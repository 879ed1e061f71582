#include "windows/launcher/launcher_options.h"

#include "sim/host/whole_number.h"

namespace {

constexpr uint64_t kMaxMinutes = 60ull * 24 * 365;
constexpr uint64_t kMaxFrames = kMaxMinutes * 60 * 30;

}  // namespace

const char* LauncherUsage() {
    return "usage: tarrowind-launcher [--workdir DIR] [--minutes N | --frames F] [--seed S] "
           "[--scenario FILE] [--plugin FILE] [--quiet]";
}

bool ParseLauncherOptions(int argc, char** argv, LauncherOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--quiet") {
            options->quiet = true;
            continue;
        }
        if (flag == "--help" || flag == "-h") {
            *error = LauncherUsage();
            return false;
        }
        const bool takesValue = flag == "--workdir" || flag == "--minutes" || flag == "--frames" ||
                                flag == "--seed" || flag == "--scenario" || flag == "--plugin";
        if (!takesValue) {
            *error = "unknown argument '" + flag + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = flag + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        uint64_t number = 0;
        if (flag == "--workdir") {
            options->workdir = value;
        } else if (flag == "--scenario") {
            options->scenario = value;
        } else if (flag == "--plugin") {
            options->plugin = value;
        } else if (flag == "--minutes") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxMinutes) {
                *error = "--minutes takes a whole number of minutes from 1 to 525600, not '" +
                         value + "'";
                return false;
            }
            options->minutes = number;
            options->frames = 0;
        } else if (flag == "--frames") {
            if (!ParseWholeNumber(value, &number) || number == 0 || number > kMaxFrames) {
                *error = "--frames takes a whole number of frames from 1 to " +
                         std::to_string(kMaxFrames) + ", not '" + value + "'";
                return false;
            }
            options->frames = number;
        } else if (flag == "--seed") {
            if (!ParseWholeNumber(value, &options->seed)) {
                *error = "--seed takes a non-negative whole number, not '" + value + "'";
                return false;
            }
        }
    }
    return true;
}
