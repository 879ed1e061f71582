// Command-line options of tarrowind-launcher.
#pragma once

#include <cstdint>
#include <string>

struct LauncherOptions {
    std::string workdir = ".";
    uint64_t minutes = 30;
    uint64_t frames = 0;  // when set, run exactly this many frames instead of the minutes
    uint64_t seed = 1;
    std::string scenario;  // empty: the built-in default world
    std::string plugin;    // empty: Tarrowind.asi next to the launcher
    bool quiet = false;    // no log lines on standard output
};

// Parses argv; on a bad argument returns false and sets error to a one-line message.
bool ParseLauncherOptions(int argc, char** argv, LauncherOptions* options, std::string* error);

const char* LauncherUsage();
