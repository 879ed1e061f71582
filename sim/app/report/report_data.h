// A run's report as data: each encounter with the peds it worked on (by role), their tracks
// over the encounter's span, deaths and blips; the timeline's entries; and what the map of the
// whole run shows. Gathered from the recorder, the event spans and the log lines; the HTML
// writer only renders it.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/app/report/ped_roles.h"
#include "sim/app/report/run_recorder.h"
#include "sim/host/event_spans.h"
#include "sim/host/sim_run.h"
#include "sim/world/terrain.h"

struct ReportPed {
    int32_t handle = 0;
    EncounterRole role = EncounterRole::Bystander;
    std::string model;
    bool isPlayer = false;
    uint64_t roleAtMs = 0;          // when a call gave it its role
    std::vector<TrackPoint> track;  // over the encounter's span
    bool died = false;
    PlaceMark death;
};

struct ReportEncounter {
    int number = 0;  // from 1, in order
    EventSpan span;
    std::vector<ReportPed> peds;  // in the order they got their roles
    std::vector<PlaceMark> blips;
    std::vector<TrackPoint> player;  // the player's path over the span
    uint32_t worstFrameNatives = 0;
};

enum class TimelineKind { Encounter, Weather, MissionPause, PlayerDeath, GameState };

struct TimelineEntry {
    TimelineKind kind = TimelineKind::Encounter;
    std::string label;    // the event's name, or what happened
    std::string outcome;  // events only
    uint64_t startMs = 0;
    uint64_t endMs = 0;
    int encounter = 0;  // the encounter's number, for encounters
};

struct RunReport {
    std::string title;
    std::string description;
    uint64_t endMs = 0;
    std::vector<TrackPoint> player;
    std::vector<ReportEncounter> encounters;
    std::vector<TimelineEntry> timeline;  // by start
    std::vector<PlaceMark> deaths;        // the player's and those of peds encounters worked on
    std::vector<PlaceMark> blips;
    std::vector<LightningStrike> lightning;
    Terrain terrain;         // the ground and water the maps are drawn over
    nlohmann::json summary;  // the figures of --summary-json
    std::vector<LoggedLine> lines;
};

RunReport BuildRunReport(const RunRecorder& recorder, const std::vector<LoggedLine>& lines,
                         const std::vector<LightningStrike>& lightning, uint64_t endMs);

// The index of the first line written at or after atMs (the last line when none is).
size_t LineAt(const std::vector<LoggedLine>& lines, uint64_t atMs);
