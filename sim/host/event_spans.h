// When each event the plug-in ran held the script, read from the lines it logs: its name, its
// start and end on the virtual clock, and how it ended. The run's summaries, the soak and the
// fuzz target all take their figures from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class SpanEnd {
    kRunning,    // not ended yet
    kCompleted,  // its closing line
    kBounded,    // its closing line, after a watch gave up at its limit (seen with Debug lines)
    kAborted,    // "<name> aborted ..." (a spawn that never worked)
    kFailed,     // its exception line
    kAbandoned,  // the script started over (a restart) before it ended
};

const char* SpanEndName(SpanEnd end);

struct EventSpan {
    std::string name;
    bool weather = false;  // a weather event rather than an encounter
    uint64_t startMs = 0;
    uint64_t endMs = 0;  // while running: unknown (0)
    SpanEnd end = SpanEnd::kRunning;
    // How long it held the script, counting one still running up to nowMs.
    uint64_t HeldMs(uint64_t nowMs) const {
        return (end == SpanEnd::kRunning ? nowMs : endMs) - startMs;
    }
};

class EventSpans {
  public:
    // One line the plug-in logged at virtual time atMs.
    void OnLine(const std::string& message, uint64_t atMs);

    // The spans kept, oldest first (the one running, if any, last).
    const std::vector<EventSpan>& Spans() const { return spans_; }
    // The event running now, or null.
    const EventSpan* Running() const;
    // The encounter (weather aside) that held the script longest over the whole run, one
    // still running counted up to nowMs; none before the first.
    std::optional<EventSpan> LongestEncounter(uint64_t nowMs) const;
    // Forgets the spans that have ended (long runs); the longest is still remembered.
    void ForgetEnded();

  private:
    void End(SpanEnd end, uint64_t atMs);

    std::vector<EventSpan> spans_;
    bool limitReached_ = false;  // a watch of the running event gave up at its limit
    std::optional<EventSpan> longestEnded_;
};
