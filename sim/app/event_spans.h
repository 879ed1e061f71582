// The events of a run as spans of simulated time, told from the run's log lines: which
// event, when it started and ended, and how it ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/host/sim_run.h"

enum class SpanOutcome {
    Completed,     // ran its course
    NoCandidates,  // found nobody to stage it with
    Failed,        // an exception, or an aborted spawn
    Bounded,       // a watch that gave up after its time limit
    Unfinished,    // still running when the run ended
};
const char* SpanOutcomeName(SpanOutcome outcome);

struct ReportSpan {
    std::string name;
    bool weather = false;
    uint64_t startMs = 0;
    uint64_t endMs = 0;
    SpanOutcome outcome = SpanOutcome::Completed;
    size_t firstLine = 0;  // "Executing <name>", as an index into the run's lines
    size_t lastLine = 0;   // the closing line (the last line of the run when unfinished)
};

// The line as written without its timestamp: "[INFO] Executing event1_aggressor".
std::string LineWithoutTimestamp(const LoggedLine& line);

// Every event of the run in order, from "Executing <name>" to "<name> completed successfully",
// "<name> aborted ..." or the exception line; runEndMs closes one that never ended.
std::vector<ReportSpan> EventSpansFromLog(const std::vector<LoggedLine>& lines, uint64_t runEndMs);
