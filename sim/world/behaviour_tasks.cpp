// Orders other than fighting, carried forward over time: flight, robbery, boarding a vehicle,
// driving off, a horse bolting, riders and wagons passing through.
#include <cmath>

#include "sim/world/behaviour_steps.h"

namespace behaviour {

namespace {

constexpr float kReachDistance = 1.5f;     // close enough to rob someone or board a vehicle
constexpr uint64_t kRobberyMinMs = 25000;  // how long holding someone up takes, once there
constexpr uint64_t kRobberyMaxMs = 60000;
constexpr uint64_t kRobberyGiveUpMs = 90000;  // a robber who never reaches his man gives up
constexpr uint64_t kDragDriverOffMs = 2500;   // pulling a driver off his seat
constexpr float kDriveSpeed = 4.0f;           // a wagon's pace when the order names none
constexpr uint64_t kBoltMinMs = 8000;
constexpr uint64_t kBoltMaxMs = 15000;

uint64_t Between(World& world, uint64_t low, uint64_t high) {
    return low + world.random.Below(static_cast<uint32_t>(high - low + 1));
}

// The game's enter-vehicle speed is a move blend: 1 walk, 2 run, 3 sprint.
float BoardingSpeed(const SimPed& ped, float blend) {
    if (blend <= 0) {
        return RunSpeed(ped) * 0.8f;
    }
    if (blend <= 1.0f) {
        return WalkSpeed(ped);
    }
    return blend <= 2.0f ? RunSpeed(ped) * 0.9f : RunSpeed(ped) * 1.2f;
}

// Bends a direction sideways by up to about 45 degrees either way, keeping its length.
Vec3 Bent(World& world, const Vec3& d) {
    const float side = world.random.Between(-1.0f, 1.0f);
    const Vec3 bent{d.x - d.y * side, d.y + d.x * side, 0};
    const float scale = std::sqrt((d.x * d.x + d.y * d.y) / (bent.x * bent.x + bent.y * bent.y));
    return Vec3{bent.x * scale, bent.y * scale, 0};
}

}  // namespace

void StepFlee(World& world, int32_t handle, double seconds) {
    SimPed* ped = world.FindPed(handle);
    ped->fleeing = true;
    if (ped->vehicle != 0 && ped->seat != -1) {
        world.UnseatPed(handle);  // a passenger jumps off and runs
        return;
    }
    if (world.EntityExists(ped->task.targetPed)) {
        ped->task.point = world.EntityPosition(ped->task.targetPed, false);
    }
    const Vec3 own = world.EntityPosition(handle, false);
    if (Distance(own, ped->task.point) >= kFleeSafeDistance) {
        EndTask(*ped);
        return;
    }
    Vec3 away{own.x - ped->task.point.x, own.y - ped->task.point.y, 0};
    if (away.x == 0 && away.y == 0) {
        away = RandomDirection(world);
    }
    const int32_t body = BodyOf(world, *ped);
    const SimPed* carrier = world.FindPed(body);
    const float speed = ped->vehicle != 0    ? kDriveSpeed * 1.5f
                        : carrier != nullptr ? RunSpeed(*carrier)
                                             : RunSpeed(*ped);
    MoveAlong(world, *ped, away, speed, seconds);
}

void StepRob(World& world, int32_t handle, double seconds) {
    SimPed* robber = world.FindPed(handle);
    const SimPed* victim = world.FindPed(robber->task.targetPed);
    const uint64_t now = world.NowMs();
    if (victim == nullptr || victim->dead) {
        EndTask(*robber);
        return;
    }
    if (robber->task.phaseMs != 0) {
        if (now >= robber->task.phaseMs) {
            EndTask(*robber);  // the robbery is over
        }
        return;
    }
    if (now - robber->task.startedMs >= kRobberyGiveUpMs) {
        EndTask(*robber);
        return;
    }
    if (robber->vehicle != 0) {
        world.UnseatPed(handle);
        return;
    }
    const Vec3 victimPos = world.EntityPosition(victim->handle, false);
    if (MoveToward(world, *robber, victimPos, RunSpeed(*robber) * 0.6f, seconds, kReachDistance) <=
        kReachDistance) {
        robber->task.phaseMs = now + Between(world, kRobberyMinMs, kRobberyMaxMs);
    }
}

void StepEnterVehicle(World& world, int32_t handle, double seconds) {
    SimPed* ped = world.FindPed(handle);
    const int32_t vehicleHandle = ped->task.targetVehicle;
    const SimVehicle* vehicle = world.FindVehicle(vehicleHandle);
    const uint64_t now = world.NowMs();
    if (vehicle == nullptr) {
        EndTask(*ped);
        return;
    }
    const int seat = ped->task.seat;
    if (ped->vehicle == vehicleHandle && ped->seat == seat) {
        EndTask(*ped);
        return;
    }
    if (ped->task.timeoutMs != 0 && now - ped->task.startedMs >= ped->task.timeoutMs) {
        EndTask(*ped);  // gave up; stays where he stands
        return;
    }
    if (ped->mount != 0) {
        world.Dismount(handle);
        return;
    }
    if (ped->vehicle != 0) {
        world.UnseatPed(handle);
        return;
    }
    if (MoveToward(world, *ped, vehicle->pos, BoardingSpeed(*ped, ped->task.speed), seconds,
                   kReachDistance) > kReachDistance) {
        ped->task.phaseMs = 0;  // the vehicle moved off; start again when there
        return;
    }
    auto taken = vehicle->occupants.find(seat);
    const SimPed* sitter =
        taken != vehicle->occupants.end() ? world.FindPed(taken->second) : nullptr;
    if (sitter != nullptr && !sitter->dead) {
        if (ped->task.phaseMs == 0) {
            ped->task.phaseMs = now + kDragDriverOffMs;
            return;
        }
        if (now < ped->task.phaseMs) {
            return;
        }
    }
    const int32_t pushed = sitter != nullptr ? sitter->handle : 0;
    world.SeatPed(handle, vehicleHandle, seat);  // whoever sat there is pushed off
    EndTask(*world.FindPed(handle));
    // Someone dragged off his seat takes it as an attack.
    if (SimPed* off = world.FindPed(pushed)) {
        if (!off->dead && IsIdle(*off)) {
            if (off->human && off->weapons != 0) {
                world.OrderCombat(pushed, handle, false);
            } else {
                world.OrderFlee(pushed, handle);
            }
        }
    }
}

void StepDrive(World& world, int32_t handle, double seconds) {
    SimPed* ped = world.FindPed(handle);
    const bool ordered = ped->task.kind == TaskKind::DriveWander;
    const int32_t body = BodyOf(world, *ped);
    if (ordered && (ped->vehicle != ped->task.targetVehicle || ped->seat != -1)) {
        EndTask(*ped);  // only the driver on his seat can drive off
        return;
    }
    if (body == 0 || body == handle) {
        EndTask(*ped);  // nothing to drive or ride
        return;
    }
    const uint64_t now = world.NowMs();
    if (ped->task.phaseMs == 0 || now >= ped->task.phaseMs) {
        // A new stretch of road: a bend now and then.
        const bool first = ped->task.point.x == 0 && ped->task.point.y == 0;
        ped->task.point = first ? RandomDirection(world) : Bent(world, ped->task.point);
        ped->task.phaseMs = now + Between(world, 20000, 40000);
    }
    const float speed = ped->task.speed > 0 ? ped->task.speed : kDriveSpeed;
    MoveAlong(world, *ped, ped->task.point, speed, seconds);
}

void StepBolt(World& world, int32_t handle, double seconds) {
    SimPed* horse = world.FindPed(handle);
    const uint64_t now = world.NowMs();
    if (horse->task.phaseMs == 0) {
        horse->task.point = RandomDirection(world);
        horse->task.phaseMs = now + Between(world, kBoltMinMs, kBoltMaxMs);
    }
    if (now >= horse->task.phaseMs) {
        EndTask(*horse);
        return;
    }
    horse->fleeing = true;
    MoveAlong(world, *horse, horse->task.point, RunSpeed(*horse), seconds);
}

}  // namespace behaviour
