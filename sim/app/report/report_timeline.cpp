#include "sim/app/report/report_timeline.h"

#include <algorithm>
#include <sstream>

#include "sim/app/report/report_format.h"

namespace {

constexpr double kLabelWidth = 120;
constexpr double kLaneHeight = 24;
constexpr double kAxisHeight = 26;
constexpr const char* kLanes[] = {"encounters",    "weather",   "mission pauses",
                                  "player deaths", "lightning", "outside free play"};

int LaneOf(TimelineKind kind) {
    switch (kind) {
        case TimelineKind::Encounter:
            return 0;
        case TimelineKind::Weather:
            return 1;
        case TimelineKind::MissionPause:
            return 2;
        case TimelineKind::PlayerDeath:
            return 3;
        case TimelineKind::GameState:
            return 5;
    }
    return 0;
}

// The event name without its "eventN_" prefix, for labels on the bars.
std::string ShortName(const std::string& name) {
    const size_t cut = name.find('_');
    std::string text = cut == std::string::npos ? name : name.substr(cut + 1);
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

class TimeAxis {
  public:
    TimeAxis(uint64_t endMs, double width)
        : endMs_(std::max<uint64_t>(endMs, 1000)), width_(width) {}
    double X(uint64_t ms) const {
        return kLabelWidth +
               static_cast<double>(std::min(ms, endMs_)) / endMs_ * (width_ - kLabelWidth - 10);
    }
    double PixelsPerMinute() const { return (width_ - kLabelWidth - 10) * 60000.0 / endMs_; }
    uint64_t EndMs() const { return endMs_; }

  private:
    uint64_t endMs_;
    double width_;
};

std::string Rect(double x, double y, double w, double h, const std::string& cls,
                 const std::string& title) {
    return "<rect class=\"" + cls + "\" x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" +
           Number(std::max(w, 3.0)) + "\" height=\"" + Number(h) + "\"><title>" + Escape(title) +
           "</title></rect>";
}

// Minute marks at a round step, at least 70 pixels apart.
std::string Ticks(const TimeAxis& axis, double height) {
    uint64_t stepMin = 720;
    for (const uint64_t step : {1, 2, 5, 10, 15, 30, 60, 120, 180, 360}) {
        if (step * axis.PixelsPerMinute() >= 70) {
            stepMin = step;
            break;
        }
    }
    std::ostringstream out;
    for (uint64_t ms = 0; ms <= axis.EndMs(); ms += stepMin * 60000) {
        const double x = axis.X(ms);
        out << "<line class=\"tick\" x1=\"" << Number(x) << "\" x2=\"" << Number(x) << "\" y1=\""
            << Number(kAxisHeight - 6) << "\" y2=\"" << Number(height) << "\"/>";
        out << "<text x=\"" << Number(x) << "\" y=\"" << Number(kAxisHeight - 10) << "\">"
            << Clock(ms).substr(0, Clock(ms).size() - 3) << "</text>";
    }
    return out.str();
}

// Every stretch of the timeline links to the first log line written from its start.
std::string LogSlots(const RunReport& report, const TimeAxis& axis, double width, double height) {
    const int slots = std::max(1, std::min(600, static_cast<int>((width - kLabelWidth) / 6)));
    std::ostringstream out;
    for (int i = 0; i < slots; ++i) {
        const uint64_t startMs = axis.EndMs() * static_cast<uint64_t>(i) / slots;
        const uint64_t endMs = axis.EndMs() * static_cast<uint64_t>(i + 1) / slots;
        out << "<a href=\"" << LineLink(LineAt(report.lines, startMs)) << "\">"
            << Rect(axis.X(startMs), kAxisHeight, axis.X(endMs) - axis.X(startMs),
                    height - kAxisHeight, "slot", "the log from " + Clock(startMs))
            << "</a>";
    }
    return out.str();
}

std::string Entry(const RunReport& report, const TimelineEntry& entry, const TimeAxis& axis) {
    const double y = kAxisHeight + LaneOf(entry.kind) * kLaneHeight + 4;
    const double h = kLaneHeight - 8;
    const double x = axis.X(entry.startMs);
    const double w = axis.X(entry.endMs) - x;
    std::string title = entry.label + ", " + Clock(entry.startMs);
    if (entry.endMs != entry.startMs) {
        title += " to " + Clock(entry.endMs);
    }
    if (!entry.outcome.empty()) {
        title += ", " + entry.outcome;
    }
    std::string outcome = entry.outcome;
    std::replace(outcome.begin(), outcome.end(), ' ', '-');
    switch (entry.kind) {
        case TimelineKind::Encounter: {
            const std::string number = "#" + std::to_string(entry.encounter);
            std::string inside = Rect(x, y, w, h, "encounter o-" + outcome, number + " " + title);
            // As much of "#7 wagon robbery" as the bar has room for.
            const std::string whole = number + " " + ShortName(entry.label);
            const std::string label = w >= 6.5 * whole.size()    ? whole
                                      : w >= 6.5 * number.size() ? number
                                                                 : "";
            if (!label.empty()) {
                inside += "<text x=\"" + Number(x + 3) + "\" y=\"" + Number(y + h - 4) + "\">" +
                          Escape(label) + "</text>";
            }
            return "<a href=\"#enc-" + std::to_string(entry.encounter) + "\">" + inside + "</a>";
        }
        case TimelineKind::Weather:
            return "<a href=\"" + LineLink(LineAt(report.lines, entry.startMs)) + "\">" +
                   Rect(x, y, w, h, "weather", title) + "</a>";
        case TimelineKind::MissionPause:
            return "<a href=\"" + LineLink(LineAt(report.lines, entry.startMs)) + "\">" +
                   Rect(x, y, w, h, "mission", title) + "</a>";
        case TimelineKind::PlayerDeath:
            return "<a href=\"" + LineLink(LineAt(report.lines, entry.startMs)) + "\">" +
                   Rect(x - 1.5, y, 3, h, "death", title) + "</a>";
        case TimelineKind::GameState:
            return "<a href=\"" + LineLink(LineAt(report.lines, entry.startMs)) + "\">" +
                   Rect(x, y, w, h, "gamestate", title) + "</a>";
    }
    return "";
}

}  // namespace

std::string TimelineSvg(const RunReport& report) {
    const double minutes = static_cast<double>(report.endMs) / 60000.0;
    const double width = std::min(8000.0, std::max(1180.0, minutes * 24 + kLabelWidth));
    const double height = kAxisHeight + kLaneHeight * (sizeof(kLanes) / sizeof(kLanes[0]));
    const TimeAxis axis(report.endMs, width);
    std::ostringstream out;
    out << "<svg class=\"timeline\" width=\"" << Number(width) << "\" height=\"" << Number(height)
        << "\" viewBox=\"0 0 " << Number(width) << " " << Number(height)
        << "\" role=\"img\" aria-label=\"timeline of the run\">";
    for (size_t lane = 0; lane < sizeof(kLanes) / sizeof(kLanes[0]); ++lane) {
        const double y = kAxisHeight + static_cast<double>(lane) * kLaneHeight;
        out << "<text class=\"lane\" x=\"4\" y=\"" << Number(y + kLaneHeight - 8) << "\">"
            << kLanes[lane] << "</text>";
    }
    out << LogSlots(report, axis, width, height) << Ticks(axis, height);
    for (const TimelineEntry& entry : report.timeline) {
        out << Entry(report, entry, axis);
    }
    const double lightningY = kAxisHeight + 4 * kLaneHeight + 4;
    for (const LightningStrike& strike : report.lightning) {
        out << "<a href=\"" << LineLink(LineAt(report.lines, strike.atMs)) << "\">"
            << Rect(axis.X(strike.atMs) - 1, lightningY, 2, kLaneHeight - 8, "lightning",
                    "lightning at " + Clock(strike.atMs))
            << "</a>";
    }
    out << "</svg>";
    return out.str();
}
