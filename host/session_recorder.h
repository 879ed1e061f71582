// Records a session at the plug-in's two boundaries when [Logging] RecordSession is on: native
// calls and waits through the hook's tap (host/native_tap.h), the platform's kernel services
// through the platform's own (docs/recording.md). Nothing else of the plug-in knows of it, and
// it calls no native.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/native_tap.h"

namespace session_record {

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
