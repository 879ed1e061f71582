// What the Windows stand-in host (ScriptHookRDR2.dll) offers besides the hook's six
// operations: the launcher and the Wine tests build a world, run it and read what happened
// through these plain C functions, found with GetProcAddress.
#pragma once

#include <cstdint>

extern "C" {

struct StandInStatusData {
    uint64_t nowMs;    // virtual time since the start
    uint64_t frames;   // frames of virtual time that passed
    uint32_t frameMs;  // virtual time of one frame
    uint64_t nativesCalled;
    uint32_t violations;     // breaches of the call contract; the first stops the run
    uint32_t registers;      // scriptRegister calls
    uint32_t unregisters;    // scriptUnregister calls
    void* registeredModule;  // module of the last scriptRegister
    void* registeredEntry;   // its script entry
    uint32_t clockImports;   // kClock... bits: imports pointed at virtual time
    int scriptRegistered;    // a script is registered now
    // Runs started with StandInStartCrowd: the frame with the most natives so far, and the
    // plug-in's own time in it (wall time less the time inside native calls).
    uint32_t worstFrameNatives;
    double worstFramePluginUs;
    // In that frame: the plug-in's WriteFile calls (one a log line) and the time inside them.
    uint32_t worstFrameWrites;
    double worstFrameWriteUs;
};

enum : uint32_t {
    kClockTickCount64 = 1u,
    kClockSleep = 2u,
    kClockCalendar = 4u,   // the calendar clock (GetSystemTimeAsFileTime, or time(): _time64)
    kClockLocalTime = 8u,  // and its local-time conversion (_localtime64)
};

// Builds the world (the scenario file, or the default world for an empty path) and the host
// for a seed, its calendar starting at start ("YYYY-MM-DDTHH:MM:SS" or "now"; empty: the
// scenario's, else the default, as tarrowind-sim). Returns 1, or 0 with a one-line message in
// error.
using StandInStartFn = int (*)(uint64_t seed, const char* scenarioPath, const char* start,
                               char* error, uint32_t errorBytes);
// Lets ms of virtual time pass. Returns 1, or 0 once the host has stopped the run.
// The frame-cost world: the player and `peds` peds around him at 22:00 (sim/world/crowd.h),
// with every frame timed. The INI is whatever the current folder holds. Returns 1.
using StandInStartCrowdFn = int (*)(uint64_t seed, uint32_t peds);
using StandInRunFn = int (*)(uint64_t ms);
using StandInStatusFn = void (*)(StandInStatusData* status);
// The index-th contract breach, or null.
using StandInViolationFn = const char* (*)(uint32_t index);
// After StandInStart: "NAME" or "NAME:N", the Nth call of that native faults inside the
// native (an access violation). Returns 1, or 0 with a one-line message in error.
using StandInCrashNativeFn = int (*)(const char* native, char* error, uint32_t errorBytes);
// Drops the host and the world.
using StandInFinishFn = void (*)();
}
