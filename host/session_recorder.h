// Records a session at the plug-in's two boundaries (native calls and waits through the hook,
// the platform's kernel services) when [Logging] RecordSession is on; docs/recording.md.
// Nothing else of the plug-in knows of it, and it calls no native.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

void NoteNative(uint64_t hash, const ArgNote* args, size_t count, const uint64_t* resultSlots,
                int resultSlotCount);
// Ends the frame with its wait: writes what the frame recorded (at most one write a frame)
// and closes the file, all before the game runs.
void NoteWait(uint32_t ms);

// The library was loaded: records are kept in memory until the settings are read.
void Begin();
// The settings were read: write the recording, or drop what was kept and stop watching.
void Decide(bool record);
// The library is being unloaded: the rest and the closing record are written.
void Close();
// As a freshly loaded library: off, nothing kept, the default size cap.
void Reset();

// A replay plays the plug-in through a recording: it must not record again.
void Suppress(bool suppressed);
// Tests: a smaller size cap than 200 MB.
void SetCapBytes(uint64_t bytes);
// The file being written; empty when none.
const std::string& FilePath();

}  // namespace session_record
