// Where a session recording listens at the hook: every native call and every wait passes this
// tap, which is closed (one flag to test) unless a recording is on. The recorder
// (host/session_recorder.h) opens it and sets the two listeners; the hook knows nothing else
// of it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace session_record {

// On while records are taken: from the library's load until the settings say no, or while
// recording. The one test a native call and a wait pay when recording is off.
extern bool g_active;
inline bool Active() {
    return g_active;
}

// The native being called while recording (0: none), so that a crash inside it names it.
extern uint64_t g_nativeInFlight;

// One native argument as the invoker knows it: a value, or what a pointer points to.
struct ArgNote {
    uint8_t kind;  // recording::ArgKind
    uint8_t cellSize;
    uint64_t value;
    const void* pointer;
};

// The listeners, set by the recorder before it turns the tap on.
using NativeListener = void (*)(uint64_t hash, const ArgNote* args, size_t count,
                                const uint64_t* resultSlots, int resultSlotCount);
using WaitListener = void (*)(uint32_t ms);
extern NativeListener g_onNative;
extern WaitListener g_onWait;

}  // namespace session_record
