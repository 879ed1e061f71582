// When each event the plug-in ran held the script, read from the lines it logs: its name, its
// start and end on the virtual clock, how it ended, and which of the run's lines it spans. The
// run's summaries, the soak, the fuzz target and the report all take their figures from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/host/logged_line.h"

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
    bool foundNobody = false;  // "Could not find ..." while it ran: nobody to stage it with
    size_t firstLine = 0;      // "Executing <name>", as an index into the lines read
    size_t lastLine = 0;       // the closing line (for one abandoned, the next "Executing")
    // How long it held the script, counting one still running up to nowMs.
    uint64_t HeldMs(uint64_t nowMs) const {
        return (end == SpanEnd::kRunning ? nowMs : endMs) - startMs;
    }
};

// How the report groups the ends: "completed", "no candidates", "failed" (aborted or an
// exception), "bounded", "unfinished" (still running, or abandoned).
const char* SpanOutcomeName(const EventSpan& span);
// Those names in the order the report's legend lists them.
const std::vector<std::string>& SpanOutcomeNames();

class EventSpans {
  public:
    // The next line the plug-in logged, at virtual time atMs.
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
    size_t linesRead_ = 0;
    bool limitReached_ = false;  // a watch of the running event gave up at its limit
    std::optional<EventSpan> longestEnded_;
};

// Every event of a whole run's lines in order; runEndMs ends one still running (its last line
// is then the run's last).
std::vector<EventSpan> EventSpansFromLog(const std::vector<LoggedLine>& lines, uint64_t runEndMs);
