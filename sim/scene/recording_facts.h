// What a session recording says about the world, read from the game's answers to the
// plug-in's questions: each entity the plug-in asked about and every fact it was told of it,
// with the virtual time of the answer; the scans; the player and his horse; the clock; the
// ground and water probed; the weather the plug-in forced; the peds the plug-in itself made.
// Times are those a replay of the recording runs on (the stand-in host's frames of 33 ms), so
// they agree with the log lines a replay writes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/replay/recording_reader.h"
#include "sim/world/vec3.h"

// One answer of the game and when it was given.
template <typename T>
struct Told {
    uint64_t atMs = 0;
    T value{};
};

// Every answer of one kind about one entity, oldest first.
template <typename T>
using ToldList = std::vector<Told<T>>;

// The answer nearest the moment: the first given at or after it (the same frame's answers
// come just after a scan), else the last before it. Null when never told.
template <typename T>
const T* AnswerAround(const ToldList<T>& told, uint64_t momentMs) {
    const T* before = nullptr;
    for (const Told<T>& answer : told) {
        if (answer.atMs >= momentMs) {
            return &answer.value;
        }
        before = &answer.value;
    }
    return before;
}

// What the game said of one entity (a ped or a vehicle; the recording does not say which
// until a ped native is asked of it).
struct EntityTold {
    ToldList<bool> exists;
    ToldList<Vec3> position;
    ToldList<uint32_t> model;
    ToldList<uint32_t> group;
    ToldList<bool> human;
    ToldList<bool> male;
    ToldList<bool> dead;
    ToldList<bool> injured;
    ToldList<bool> hogtied;
    ToldList<bool> owned;                   // a mission entity
    ToldList<int32_t> vehicle;              // 0: on foot
    ToldList<int32_t> seat;                 // -2: none
    ToldList<int32_t> mount;                // 0: none
    std::map<int, ToldList<bool>> weapons;  // weapon bit index (0 revolver .. 5 shotgun)
    bool askedAsPed = false;                // a ped native was asked of it
    bool madeByPlugin = false;              // CREATE_PED's answer
    uint64_t firstListedMs = UINT64_MAX;    // first scan that listed it
};

struct ScanTold {
    uint64_t atMs = 0;
    int32_t centre = 0;
    std::vector<int32_t> peds;
};

struct ProbeTold {
    uint64_t atMs = 0;
    float x = 0, y = 0, z = 0;  // where the probe was asked
    float answer = 0;           // the ground's height, or the water's surface
};

struct WeatherTold {
    uint64_t atMs = 0;
    uint32_t type = 0;  // 0: the plug-in let the forced weather clear
};

struct RecordingFacts {
    std::string versionLine;
    std::string settings;  // "Section.Key=value" lines as the plug-in read them
    uint64_t firstTickCount = 0;
    uint64_t firstTickAtMs = 0;
    bool sawTickCount = false;
    // The calendar the plug-in read: its first answer, when, and the local time's offset.
    bool sawCalendar = false;
    int64_t firstCalendar = 0;
    uint64_t firstCalendarAtMs = 0;
    int64_t localOffsetS = 0;
    uint64_t endMs = 0;  // virtual time of the last record
    int32_t playerId = 0;
    int32_t playerPed = 0;
    ToldList<int32_t> playerHorse;
    std::map<int32_t, EntityTold> entities;
    std::vector<ScanTold> scans;
    ToldList<int> clockHours;
    std::vector<ProbeTold> ground;
    std::vector<ProbeTold> water;
    std::vector<WeatherTold> weather;
    uint64_t nativeRecords = 0;
    recording::RecordingReader::Ending ending = recording::RecordingReader::Ending::NotYet;
    std::string problem;  // a cut or damaged file: where it ends
};

// The longest session a scene is made from, in virtual time.
constexpr uint64_t kLongestSessionMs = 48ull * 3600 * 1000;

// Reads every record of an opened recording. Never fails: a cut or damaged file gives the
// facts up to its last whole record (ending and problem say where); one that plays on past
// kLongestSessionMs is read up to there and called damaged.
RecordingFacts ReadRecordingFacts(recording::RecordingReader& reader);

// The seed whose tick count a simulated run of it starts at, when the recording's first tick
// count is one a seed gives (a recording made by the simulator or the Windows launcher).
bool SeedOfRecording(const RecordingFacts& facts, uint64_t* seed);
