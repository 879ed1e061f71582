// A scenario that re-stages the world a session recording saw (docs/scene.md): the peds the
// scans listed, with what the game said of each, the player and where he went, the clock, the
// weather the plug-in had forced, the ground and water it probed, the player's settings, and
// an "expect" block saying what the recorded session did next.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/scene/recording_facts.h"
#include "sim/scene/session_log.h"

struct SceneChoice {
    // The moment: --at seconds into the session (default 0), or the start of encounter N.
    bool atGiven = false;
    double atSeconds = 0;
    uint64_t encounter = 0;  // 1-based; 0: not asked
    // Every ped the session saw, each as it was first seen, for the whole session (the world
    // --compare-world measures) rather than those around one moment.
    bool wholeSession = false;
    std::string recordingName;  // for the description
};

struct Scene {
    nlohmann::ordered_json json;
    uint64_t startMs = 0;  // where in the session it starts
    uint64_t endMs = 0;
    // Recorded handle -> the scenario id it was staged with ("ped_4102", "vehicle_4099").
    std::map<int32_t, std::string> pedIds;
    std::map<int32_t, std::string> vehicleIds;
};

// How long before the encounter's start a scene of it starts: the plug-in's settling pause
// and a one-minute delay, so that its first encounter comes due when the recorded one began.
constexpr uint64_t kSceneLeadMs = 65000;

// False, with a one-line reason, when the choice names no moment of this recording.
bool BuildScene(const RecordingFacts& facts, const SessionLog& log, const SceneChoice& choice,
                Scene* scene, std::string* error);
