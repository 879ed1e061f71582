// One line the plug-in logged during a run, as the simulator keeps it.
#pragma once

#include <cstdint>
#include <string>

#include "core/logger.h"

struct LoggedLine {
    LogLevel level;
    std::string message;
    std::string line;  // as written, with timestamp and level word
    bool written;      // reached the day's file
    uint64_t atMs;
};

// The line as written without its timestamp: "[INFO] Executing event1_aggressor".
inline std::string LineWithoutTimestamp(const LoggedLine& line) {
    const size_t cut = line.line.find("] ");
    return !line.line.empty() && line.line[0] == '[' && cut != std::string::npos
               ? line.line.substr(cut + 2)
               : line.line;
}
