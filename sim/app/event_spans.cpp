#include "sim/app/event_spans.h"

#include "encounters/encounter_lines.h"

#include "sim/host/event_spans.h"
#include "sim/host/line_text.h"

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

namespace {

SpanOutcome OutcomeOf(const EventSpan& span, bool foundNobody) {
    switch (span.end) {
        case SpanEnd::kCompleted:
            return foundNobody ? SpanOutcome::NoCandidates : SpanOutcome::Completed;
        case SpanEnd::kBounded:
            return SpanOutcome::Bounded;
        case SpanEnd::kAborted:
        case SpanEnd::kFailed:
            return SpanOutcome::Failed;
        case SpanEnd::kRunning:
        case SpanEnd::kAbandoned:
            break;
    }
    return SpanOutcome::Unfinished;
}

}  // namespace

std::vector<ReportSpan> EventSpansFromLog(const std::vector<LoggedLine>& lines, uint64_t runEndMs) {
    // The run's own span record tells where each event starts and ends; the report adds the
    // line indices, and which encounters found nobody to stage.
    EventSpans record;
    std::vector<ReportSpan> spans;
    bool foundNobody = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t before = record.Spans().size();
        const bool wasRunning = record.Running() != nullptr;
        record.OnLine(lines[i].message, lines[i].atMs);
        if (record.Spans().size() > before) {
            if (!spans.empty() && spans.back().outcome == SpanOutcome::Unfinished) {
                spans.back().endMs = lines[i].atMs;  // abandoned when the script started over
                spans.back().lastLine = i;
            }
            ReportSpan span;
            span.name = record.Spans().back().name;
            span.weather = record.Spans().back().weather;
            span.startMs = lines[i].atMs;
            span.firstLine = i;
            span.outcome = SpanOutcome::Unfinished;
            spans.push_back(span);
            foundNobody = false;
        } else if (wasRunning && StartsWith(lines[i].message, kFoundNobodyLine)) {
            foundNobody = true;
        } else if (wasRunning && record.Running() == nullptr) {
            spans.back().outcome = OutcomeOf(record.Spans().back(), foundNobody);
            spans.back().endMs = lines[i].atMs;
            spans.back().lastLine = i;
        }
    }
    if (!spans.empty() && record.Running() != nullptr) {
        spans.back().endMs = runEndMs;
        spans.back().lastLine = lines.size() - 1;
    }
    return spans;
}
