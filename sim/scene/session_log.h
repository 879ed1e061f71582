// The log a recorded session wrote, as a replay of it writes it again: which encounters ran,
// when, and how each ended. The scene maker reads what happened from here; the recording
// itself holds the game's answers, not the plug-in's lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/host/event_spans.h"

struct RecordedEncounter {
    std::string name;
    uint64_t startMs = 0;
    uint64_t endMs = 0;  // 0 while it had not ended when the replay stopped
    SpanEnd end = SpanEnd::kRunning;
    std::vector<std::string> messages;  // the lines it logged, from "Executing" to its end
};

struct SessionLog {
    std::vector<RecordedEncounter> encounters;  // in the order they began; weather aside
    // Empty when the replay reached the recording's end; else why it stopped early (the
    // plug-in built here asks what the recorded one did not).
    std::string stoppedEarly;
    uint64_t replayedToMs = 0;
};

// Replays the recording's bytes in a temporary game folder, removed afterwards, and reads
// the log it writes. The bytes must open as a recording (the caller has checked).
// The replay stops at untilMs of virtual time at the latest (where the recording's facts end).
SessionLog ReplaySessionLog(const std::string& bytes, uint64_t untilMs);
