#include "sim/app/sim_options.h"

#include "sim/host/whole_number.h"

const char* SimUsage() {
    return "usage: tarrowind-sim [--workdir DIR] [--minutes N] [--seed S] [--scenario FILE] "
           "[--summary-json FILE] [--quiet]";
}

bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--quiet") {
            options->quiet = true;
            continue;
        }
        if (flag == "--help" || flag == "-h") {
            *error = SimUsage();
            return false;
        }
        const bool takesValue = flag == "--workdir" || flag == "--minutes" || flag == "--seed" ||
                                flag == "--summary-json" || flag == "--scenario";
        if (!takesValue) {
            *error = "unknown argument '" + flag + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = flag + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (flag == "--workdir") {
            options->workdir = value;
        } else if (flag == "--summary-json") {
            options->summaryJson = value;
        } else if (flag == "--scenario") {
            options->scenario = value;
        } else if (flag == "--minutes") {
            if (!ParseWholeNumber(value, &options->minutes) || options->minutes == 0 ||
                options->minutes > 60ull * 24 * 365) {
                *error = "--minutes takes a whole number of minutes from 1 to 525600, not '" +
                         value + "'";
                return false;
            }
        } else if (flag == "--seed") {
            if (!ParseWholeNumber(value, &options->seed)) {
                *error = "--seed takes a non-negative whole number, not '" + value + "'";
                return false;
            }
        }
    }
    return true;
}
