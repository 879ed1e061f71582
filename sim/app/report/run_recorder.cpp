#include "sim/app/report/run_recorder.h"

#include "host/native_list.h"
#include "sim/world/joaat.h"

namespace {

namespace id = native::id;

int32_t Handle(uint64_t slot) {
    return static_cast<int32_t>(static_cast<uint32_t>(slot));
}

int32_t DriverOf(const World& world, int32_t vehicle) {
    const SimVehicle* v = world.FindVehicle(vehicle);
    if (v == nullptr) {
        return 0;
    }
    const auto seat = v->occupants.find(-1);
    return seat != v->occupants.end() ? seat->second : 0;
}

}  // namespace

RunRecorder::RunRecorder(SimRun& run, uint64_t sampleMs)
    : run_(run),
      world_(run.GetWorld()),
      sampleMs_(sampleMs),
      previousFrameEnd_(run.Host().onFrameEnd),
      player_(run.GetWorld().PlayerPed()) {
    run_.Host().onFrameEnd = [this](uint32_t natives, uint32_t waitMs) {
        if (previousFrameEnd_) {
            previousFrameEnd_(natives, waitMs);
        }
        OnFrameEnd(natives);
    };
}

RunRecorder::~RunRecorder() {
    run_.Host().onFrameEnd = previousFrameEnd_;
}

void RunRecorder::Finish() {
    if (inMission_) {
        missionPauses_.back().endMs = run_.Host().NowMs();
        inMission_ = false;
    }
}

void RunRecorder::OnFrameEnd(uint32_t natives) {
    const uint64_t now = run_.Host().NowMs();
    const bool eventLive = !run_.EventInProgress().empty();
    const bool wroteLines = run_.Lines().size() != linesSeen_;
    linesSeen_ = run_.Lines().size();
    if (eventWasLive_ || eventLive || wroteLines) {
        busyFrames_.push_back(FrameCost{now, natives});
    }
    eventWasLive_ = eventLive;

    const size_t watchedBefore = watched_.size();
    TakeCalls(now);
    if (now >= nextSampleMs_ || watched_.size() != watchedBefore) {
        Sample(now);
        nextSampleMs_ = now + sampleMs_;
    }
    if (!eventLive) {
        for (const int32_t ped : watched_) {
            dead_.erase(ped);
        }
        watched_.clear();
    }

    const bool mission = world_.Environment().MissionActive();
    if (mission && !inMission_) {
        missionPauses_.push_back(TimeWindow{now, now});
    } else if (!mission && inMission_) {
        missionPauses_.back().endMs = now;
    }
    inMission_ = mission;
}

void RunRecorder::TakeCalls(uint64_t nowMs) {
    static const uint32_t kLawGroup = Joaat("REL_COP");
    riderOfMount_.clear();
    for (const HostCall& call : run_.Host().Calls()) {
        if (call.kind != HostCall::kNative) {
            continue;
        }
        if (call.hash == id::GET_MOUNT::kHash) {
            riderOfMount_[Handle(call.result[0])] = Handle(call.args[0]);
            continue;
        }
        if (call.hash == id::BLIP_ADD_FOR_ENTITY::kHash) {
            const int32_t entity = Handle(call.args[1]);
            const Vec3 at = world_.EntityPosition(entity, false);
            blips_.push_back(PlaceMark{nowMs, entity, at.x, at.y});
            continue;
        }
        if (!GivesRoles(call.hash)) {
            continue;
        }
        RoleCall role;
        role.atMs = call.atMs;
        role.native = call.hash;
        role.actor = Handle(call.hash == id::CREATE_PED::kHash ? call.result[0] : call.args[0]);
        role.target = call.argCount > 1 ? Handle(call.args[1]) : 0;
        if (call.hash == id::TASK_ENTER_VEHICLE::kHash) {
            role.target = DriverOf(world_, role.target);
        } else if (call.hash == id::TASK_MOUNT_THROW_RIDER::kHash) {
            const auto rider = riderOfMount_.find(role.actor);
            const SimPed* horse = world_.FindPed(role.actor);
            role.target = rider != riderOfMount_.end() ? rider->second
                          : horse != nullptr           ? horse->rider
                                                       : 0;
        } else if (call.hash == id::CREATE_PED::kHash) {
            role.target = 0;
        }
        const SimPed* actor = world_.FindPed(role.actor);
        role.actorIsLawman = actor != nullptr && actor->group == kLawGroup;
        roleCalls_.push_back(role);
        Watch(role.actor);
        Watch(role.target);
    }
    run_.Host().ClearCalls();
}

void RunRecorder::Watch(int32_t ped) {
    const SimPed* p = world_.FindPed(ped);
    if (p == nullptr || ped == player_) {
        return;
    }
    // One already dead when the event takes it up did not die in this event.
    if (watched_.insert(ped).second && p->dead) {
        dead_.insert(ped);
    }
    models_.emplace(ped, p->modelName);
}

void RunRecorder::Sample(uint64_t nowMs) {
    const auto sample = [&](int32_t ped) {
        const SimPed* p = world_.FindPed(ped);
        if (p == nullptr) {
            return false;
        }
        const Vec3 at = world_.EntityPosition(ped, false);
        tracks_[ped].push_back(TrackPoint{nowMs, at.x, at.y});
        if (p->dead && dead_.insert(ped).second) {
            deaths_.push_back(PlaceMark{nowMs, ped, at.x, at.y});
        } else if (!p->dead) {
            dead_.erase(ped);
        }
        return true;
    };
    sample(player_);
    for (auto it = watched_.begin(); it != watched_.end();) {
        it = sample(*it) ? std::next(it) : watched_.erase(it);
    }
}
