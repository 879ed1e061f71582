// One handler for the faults that end the process (access violation, illegal instruction,
// stack overflow, integer division by zero), so that a session recording can be written out
// before the process dies. The handler notes the first such fault on the script's own thread
// (Windows: the script's fiber) once, then lets it go on exactly as if no handler were there:
// the game's, the hook's and the system's crash handling see it as before. C++ exceptions
// never reach it.
#pragma once

#include <cstdint>

namespace platform {

// The Windows exception codes, which the POSIX build gives its signals too.
constexpr uint32_t kAccessViolation = 0xC0000005u;
constexpr uint32_t kIllegalInstruction = 0xC000001Du;
constexpr uint32_t kIntegerDivideByZero = 0xC0000094u;
constexpr uint32_t kStackOverflow = 0xC00000FDu;

struct FatalFault {
    uint32_t code;
    bool inOurModule;       // the faulting instruction lies in the module that holds the plug-in
    uint64_t moduleOffset;  // its address less that module's base, when it does
};

// Runs inside the fault handler, possibly on the last few KB of an overflowed stack: it may
// not allocate, lock, or call anything but the system's file calls.
using FatalFaultNote = void (*)(const FatalFault& fault);

// Installs the handler for faults on the calling thread (the script's); false when the system
// refused. A second call while watching changes nothing.
bool WatchFatalFaults(FatalFaultNote note);
// Removes it; the previous handling is back as it was.
void StopWatchingFatalFaults();
bool WatchingFatalFaults();

}  // namespace platform
