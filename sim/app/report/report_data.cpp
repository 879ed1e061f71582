#include "sim/app/report/report_data.h"

#include <algorithm>

namespace {

// The items of a time-ordered list that fall within [startMs, endMs].
template <typename T>
std::vector<T> Within(const std::vector<T>& items, uint64_t startMs, uint64_t endMs) {
    const auto from = std::lower_bound(items.begin(), items.end(), startMs,
                                       [](const T& item, uint64_t t) { return item.atMs < t; });
    const auto to = std::upper_bound(from, items.end(), endMs,
                                     [](uint64_t t, const T& item) { return t < item.atMs; });
    return std::vector<T>(from, to);
}

std::vector<TrackPoint> TrackOf(const RunRecorder& recorder, int32_t ped, const EventSpan& span) {
    const auto track = recorder.Tracks().find(ped);
    return track == recorder.Tracks().end() ? std::vector<TrackPoint>()
                                            : Within(track->second, span.startMs, span.endMs);
}

ReportEncounter Encounter(const RunRecorder& recorder, const EventSpan& span, int number) {
    ReportEncounter encounter;
    encounter.number = number;
    encounter.span = span;
    encounter.player = TrackOf(recorder, recorder.PlayerPed(), span);
    encounter.blips = Within(recorder.Blips(), span.startMs, span.endMs);
    for (const FrameCost& frame : Within(recorder.BusyFrames(), span.startMs, span.endMs)) {
        encounter.worstFrameNatives = std::max(encounter.worstFrameNatives, frame.natives);
    }
    const std::vector<PlaceMark> deaths = Within(recorder.Deaths(), span.startMs, span.endMs);
    for (const RoleAssignment& role :
         AssignRoles(Within(recorder.RoleCalls(), span.startMs, span.endMs))) {
        ReportPed ped;
        ped.handle = role.ped;
        ped.role = role.role;
        ped.roleAtMs = role.atMs;
        ped.isPlayer = role.ped == recorder.PlayerPed();
        const auto model = recorder.Models().find(role.ped);
        ped.model = ped.isPlayer                       ? "the player"
                    : model != recorder.Models().end() ? model->second
                                                       : "";
        ped.track = ped.isPlayer ? encounter.player : TrackOf(recorder, role.ped, span);
        for (const PlaceMark& death : deaths) {
            if (death.entity == role.ped) {
                ped.died = true;
                ped.death = death;
                break;
            }
        }
        encounter.peds.push_back(ped);
    }
    return encounter;
}

}  // namespace

size_t LineAt(const std::vector<LoggedLine>& lines, uint64_t atMs) {
    const auto at =
        std::lower_bound(lines.begin(), lines.end(), atMs,
                         [](const LoggedLine& line, uint64_t t) { return line.atMs < t; });
    if (at == lines.end()) {
        return lines.empty() ? 0 : lines.size() - 1;
    }
    return static_cast<size_t>(at - lines.begin());
}

RunReport BuildRunReport(const RunRecorder& recorder, const std::vector<LoggedLine>& lines,
                         const std::vector<LightningStrike>& lightning, uint64_t endMs) {
    RunReport report;
    report.endMs = endMs;
    report.lines = lines;
    report.lightning = lightning;
    report.deaths = recorder.Deaths();
    report.blips = recorder.Blips();
    const auto player = recorder.Tracks().find(recorder.PlayerPed());
    if (player != recorder.Tracks().end()) {
        report.player = player->second;
    }
    for (const EventSpan& span : EventSpansFromLog(lines, endMs)) {
        TimelineEntry entry;
        entry.kind = span.weather ? TimelineKind::Weather : TimelineKind::Encounter;
        entry.label = span.name;
        entry.outcome = SpanOutcomeName(span);
        entry.startMs = span.startMs;
        entry.endMs = span.endMs;
        if (!span.weather) {
            report.encounters.push_back(
                Encounter(recorder, span, static_cast<int>(report.encounters.size()) + 1));
            entry.encounter = report.encounters.back().number;
        }
        report.timeline.push_back(entry);
    }
    for (const TimeWindow& pause : recorder.MissionPauses()) {
        report.timeline.push_back(TimelineEntry{TimelineKind::MissionPause, "mission", "",
                                                pause.startMs, pause.endMs, 0});
    }
    for (const GameStateWindow& state : recorder.GameStates()) {
        report.timeline.push_back(TimelineEntry{TimelineKind::GameState,
                                                GameStateKindName(state.kind), "", state.startMs,
                                                std::min(state.endMs, endMs), 0});
    }
    for (const PlaceMark& death : recorder.Deaths()) {
        if (death.entity == recorder.PlayerPed()) {
            report.timeline.push_back(TimelineEntry{TimelineKind::PlayerDeath, "the player died",
                                                    "", death.atMs, death.atMs, 0});
        }
    }
    std::stable_sort(
        report.timeline.begin(), report.timeline.end(),
        [](const TimelineEntry& a, const TimelineEntry& b) { return a.startMs < b.startMs; });
    return report;
}
