#include "sim/host/event_spans.h"

#include "encounters/encounter_lines.h"
#include "encounters/watch_limit.h"
#include "sim/host/line_text.h"

const char* SpanEndName(SpanEnd end) {
    switch (end) {
        case SpanEnd::kRunning:
            return "running";
        case SpanEnd::kCompleted:
            return "completed";
        case SpanEnd::kBounded:
            return "bounded";
        case SpanEnd::kAborted:
            return "aborted";
        case SpanEnd::kFailed:
            return "failed";
        case SpanEnd::kAbandoned:
            return "abandoned";
    }
    return "?";
}

const char* SpanOutcomeName(const EventSpan& span) {
    switch (span.end) {
        case SpanEnd::kCompleted:
            return span.foundNobody ? "no candidates" : "completed";
        case SpanEnd::kBounded:
            return "bounded";
        case SpanEnd::kAborted:
        case SpanEnd::kFailed:
            return "failed";
        case SpanEnd::kRunning:
        case SpanEnd::kAbandoned:
            break;
    }
    return "unfinished";
}

const std::vector<std::string>& SpanOutcomeNames() {
    static const std::vector<std::string> names = {"completed", "no candidates", "failed",
                                                   "bounded", "unfinished"};
    return names;
}

const EventSpan* EventSpans::Running() const {
    return !spans_.empty() && spans_.back().end == SpanEnd::kRunning ? &spans_.back() : nullptr;
}

void EventSpans::OnLine(const std::string& message, uint64_t atMs) {
    ++linesRead_;
    if (StartsWith(message, kExecutingLine)) {
        if (Running() != nullptr) {
            End(SpanEnd::kAbandoned, atMs);
        }
        EventSpan span;
        span.name = message.substr(std::string(kExecutingLine).size());
        span.weather = StartsWith(span.name, kWeatherEventPrefix);
        span.startMs = atMs;
        span.firstLine = linesRead_ - 1;
        spans_.push_back(span);
        limitReached_ = false;
        return;
    }
    if (Running() == nullptr) {
        return;
    }
    EventSpan& running = spans_.back();
    const std::string& name = running.name;
    if (message == name + kCompletedLine) {
        End(limitReached_ ? SpanEnd::kBounded : SpanEnd::kCompleted, atMs);
    } else if (StartsWith(message, name + kAbortedLine)) {
        End(SpanEnd::kAborted, atMs);
    } else if (StartsWith(message, kExceptionLine + name) ||
               StartsWith(message, kUnknownExceptionLine + name)) {
        End(SpanEnd::kFailed, atMs);
    } else if (message.find(WatchLimitPhrase()) != std::string::npos) {
        limitReached_ = true;
    } else if (StartsWith(message, kFoundNobodyLine)) {
        running.foundNobody = true;
    }
}

void EventSpans::End(SpanEnd end, uint64_t atMs) {
    EventSpan& span = spans_.back();
    span.end = end;
    span.endMs = atMs;
    span.lastLine = linesRead_ - 1;
    if (!span.weather && (!longestEnded_ || span.HeldMs(atMs) > longestEnded_->HeldMs(0))) {
        longestEnded_ = span;
    }
}

std::optional<EventSpan> EventSpans::LongestEncounter(uint64_t nowMs) const {
    const EventSpan* running = Running();
    if (running != nullptr && !running->weather &&
        (!longestEnded_ || running->HeldMs(nowMs) > longestEnded_->HeldMs(nowMs))) {
        return *running;
    }
    return longestEnded_;
}

void EventSpans::ForgetEnded() {
    const bool keepLast = Running() != nullptr;
    spans_.erase(spans_.begin(), keepLast ? spans_.end() - 1 : spans_.end());
}

std::vector<EventSpan> EventSpansFromLog(const std::vector<LoggedLine>& lines, uint64_t runEndMs) {
    EventSpans record;
    for (const LoggedLine& line : lines) {
        record.OnLine(line.message, line.atMs);
    }
    std::vector<EventSpan> spans = record.Spans();
    if (!spans.empty() && spans.back().end == SpanEnd::kRunning) {
        spans.back().endMs = runEndMs;
        spans.back().lastLine = lines.size() - 1;
    }
    return spans;
}
