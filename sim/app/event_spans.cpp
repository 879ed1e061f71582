#include "sim/app/event_spans.h"

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

const char* SpanOutcomeName(SpanOutcome outcome) {
    switch (outcome) {
        case SpanOutcome::Completed:
            return "completed";
        case SpanOutcome::NoCandidates:
            return "no candidates";
        case SpanOutcome::Failed:
            return "failed";
        case SpanOutcome::Bounded:
            return "bounded";
        case SpanOutcome::Unfinished:
            return "unfinished";
    }
    return "completed";
}

std::string LineWithoutTimestamp(const LoggedLine& line) {
    const size_t cut = line.line.find("] ");
    return !line.line.empty() && line.line[0] == '[' && cut != std::string::npos
               ? line.line.substr(cut + 2)
               : line.line;
}

std::vector<ReportSpan> EventSpansFromLog(const std::vector<LoggedLine>& lines, uint64_t runEndMs) {
    std::vector<ReportSpan> spans;
    bool open = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& message = lines[i].message;
        if (StartsWith(message, "Executing ")) {
            ReportSpan span;
            span.name = message.substr(10);
            span.weather = StartsWith(span.name, "event_weather_");
            span.startMs = lines[i].atMs;
            span.firstLine = i;
            spans.push_back(span);
            open = true;
            continue;
        }
        if (!open) {
            continue;
        }
        ReportSpan& span = spans.back();
        if (StartsWith(message, "Could not find ")) {
            span.outcome = SpanOutcome::NoCandidates;
        } else if (Contains(message, " has gone on for ")) {
            span.outcome = SpanOutcome::Bounded;
        }
        const bool failed = StartsWith(message, span.name + " aborted") ||
                            StartsWith(message, "Exception in " + span.name) ||
                            StartsWith(message, "Unknown exception in " + span.name);
        if (failed || message == span.name + " completed successfully") {
            span.outcome = failed ? SpanOutcome::Failed : span.outcome;
            span.endMs = lines[i].atMs;
            span.lastLine = i;
            open = false;
        }
    }
    if (open) {
        spans.back().outcome = SpanOutcome::Unfinished;
        spans.back().endMs = runEndMs;
        spans.back().lastLine = lines.size() - 1;
    }
    return spans;
}
