// What a report of a run needs that only the running world can tell: where the player and the
// peds the plug-in worked on went and where they died, the calls that gave those peds their
// roles, where blips were shown, mission pauses, and the natives of each frame an event may
// have run in. It looks at every frame's end; the host must record calls
// (HostOptions::recordCalls), and the recorder takes them frame by frame.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/app/report/ped_roles.h"
#include "sim/host/sim_run.h"

struct TrackPoint {
    uint64_t atMs = 0;
    float x = 0;
    float y = 0;
};

// Something that happened to an entity at a place: a death, a blip shown on it.
struct PlaceMark {
    uint64_t atMs = 0;
    int32_t entity = 0;
    float x = 0;
    float y = 0;
};

struct FrameCost {
    uint64_t atMs = 0;
    uint32_t natives = 0;
};

struct TimeWindow {
    uint64_t startMs = 0;
    uint64_t endMs = 0;
};

class RunRecorder {
  public:
    // Positions are taken every sampleMs of simulated time (and when a ped is first worked on).
    explicit RunRecorder(SimRun& run, uint64_t sampleMs = 1000);
    ~RunRecorder();
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // Closes a mission pause still open when the run ends.
    void Finish();

    int32_t PlayerPed() const { return player_; }
    // Every ped's positions while it was watched, the player's all run long.
    const std::map<int32_t, std::vector<TrackPoint>>& Tracks() const { return tracks_; }
    const std::map<int32_t, std::string>& Models() const { return models_; }
    const std::vector<RoleCall>& RoleCalls() const { return roleCalls_; }
    const std::vector<PlaceMark>& Deaths() const { return deaths_; }
    const std::vector<PlaceMark>& Blips() const { return blips_; }
    // Frames in which an event was in progress or a line was written.
    const std::vector<FrameCost>& BusyFrames() const { return busyFrames_; }
    const std::vector<TimeWindow>& MissionPauses() const { return missionPauses_; }
    // The world's windows outside free play: deaths, arrests, cutscenes, loading screens, ...
    const std::vector<GameStateWindow>& GameStates() const { return world_.GameStates().Windows(); }

  private:
    void OnFrameEnd(uint32_t natives);
    void TakeCalls(uint64_t nowMs);
    void Watch(int32_t ped);
    void Sample(uint64_t nowMs);

    SimRun& run_;
    World& world_;
    uint64_t sampleMs_;
    std::function<void(uint32_t, uint32_t)> previousFrameEnd_;
    int32_t player_;
    std::set<int32_t> watched_;  // peds of the event in progress
    std::set<int32_t> dead_;     // watched peds last seen dead
    uint64_t nextSampleMs_ = 0;
    bool eventWasLive_ = false;
    size_t linesSeen_ = 0;
    bool inMission_ = false;
    std::map<int32_t, int32_t> riderOfMount_;  // from GET_MOUNT, this frame

    std::map<int32_t, std::vector<TrackPoint>> tracks_;
    std::map<int32_t, std::string> models_;
    std::vector<RoleCall> roleCalls_;
    std::vector<PlaceMark> deaths_;
    std::vector<PlaceMark> blips_;
    std::vector<FrameCost> busyFrames_;
    std::vector<TimeWindow> missionPauses_;
};
