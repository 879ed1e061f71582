// Command-line options of tarrowind-launcher.
#pragma once

#include <cstdint>
#include <string>

struct LauncherOptions {
    std::string workdir = ".";
    uint64_t minutes = 30;
    uint64_t frames = 0;  // when set, run exactly this many frames instead of the minutes
    uint64_t seed = 1;
    std::string scenario;     // empty: the built-in default world
    std::string start;        // the calendar's start; empty: the scenario's or the default
    std::string plugin;       // empty: Tarrowind.asi next to the launcher
    bool quiet = false;       // no log lines on standard output
    uint32_t crowd = 0;       // when set, the frame-cost world with this many peds, frames timed
    uint32_t repeat = 1;      // runs made one after another, each with a fresh load of the plug-in
    bool moveLogs = false;    // after every frame, move the day's log away (as a player may)
    std::string crashNative;  // "NAME[:N]": that call of the native faults; empty: none
};

enum class LauncherParse {
    kRun,
    kHelp,  // the text is the help, for standard output
    kBad,   // the text is one line saying what is wrong
};

LauncherParse ParseLauncherOptions(int argc, char** argv, LauncherOptions* options,
                                   std::string* text);
