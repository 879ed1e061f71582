// Ped behaviour over virtual time: the tick loop and the moves every task is made of.
#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/world/behaviour_steps.h"

namespace behaviour {

float RunSpeed(const SimPed& ped) {
    if (ped.human && ped.Injured()) {
        return 3.0f;  // a wounded man limps
    }
    switch (ped.role) {
        case PedRole::Horse:
            return 11.0f;
        case PedRole::Predator:
        case PedRole::Prey:
            return 9.0f;
        case PedRole::Bird:
            return 10.0f;
        default:
            return 5.0f;
    }
}

float WalkSpeed(const SimPed& ped) {
    switch (ped.role) {
        case PedRole::Horse:
            return 2.0f;
        case PedRole::Bird:
            return 0.5f;
        default:
            return ped.human ? 1.3f : 1.5f;
    }
}

int32_t BodyOf(const World& world, const SimPed& ped) {
    if (ped.mount != 0 && world.FindPed(ped.mount) != nullptr) {
        return ped.mount;
    }
    if (ped.vehicle != 0) {
        return ped.seat == -1 ? ped.vehicle : 0;
    }
    return ped.handle;
}

namespace {

// Whatever walks, runs or drives keeps to the ground, or swims on deep water; birds fly.
Vec3 OnTheGround(const World& world, int32_t body, const Vec3& pos) {
    const SimPed* ped = world.FindPed(body);
    if ((ped != nullptr && ped->role == PedRole::Bird) || world.terrain.Flat()) {
        return pos;
    }
    return Vec3{pos.x, pos.y, world.terrain.StandingHeight(pos.x, pos.y)};
}

bool CannotMove(const World& world, int32_t body) {
    const SimPed* ped = world.FindPed(body);
    return ped != nullptr && (ped->stuck || ped->falling);
}

}  // namespace

float MoveToward(World& world, const SimPed& ped, const Vec3& point, float speed, double seconds,
                 float stopAt) {
    const int32_t body = BodyOf(world, ped);
    const Vec3 from = world.EntityPosition(body != 0 ? body : ped.handle, true);
    const float distance = Distance(from, point);
    if (body == 0 || distance <= stopAt || CannotMove(world, body)) {
        return distance;
    }
    const float step = std::min(speed * static_cast<float>(seconds), distance - stopAt);
    const float f = step / distance;
    world.MoveEntity(
        body, OnTheGround(world, body,
                          Vec3{from.x + (point.x - from.x) * f, from.y + (point.y - from.y) * f,
                               from.z + (point.z - from.z) * f}));
    return distance - step;
}

void MoveAlong(World& world, const SimPed& ped, const Vec3& direction, float speed,
               double seconds) {
    const int32_t body = BodyOf(world, ped);
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y);
    if (body == 0 || length <= 0 || CannotMove(world, body)) {
        return;
    }
    const float step = speed * static_cast<float>(seconds) / length;
    const Vec3 from = world.EntityPosition(body, true);
    world.MoveEntity(
        body, OnTheGround(world, body,
                          Vec3{from.x + direction.x * step, from.y + direction.y * step, from.z}));
}

Vec3 RandomDirection(World& world) {
    double x = 0;
    double y = 0;
    do {
        world.random.InDisc(&x, &y);
    } while (x * x + y * y < 1e-4);
    const double length = std::sqrt(x * x + y * y);
    return Vec3{static_cast<float>(x / length), static_cast<float>(y / length), 0};
}

bool IsIdle(const SimPed& ped) {
    return ped.task.kind == TaskKind::None || ped.task.kind == TaskKind::Wander;
}

void EndTask(SimPed& ped) {
    ped.task = SimTask{};
    ped.fleeing = false;
    ped.inMelee = false;
    ped.combatTarget = 0;
}

namespace {

constexpr float kGravity = 9.8f;
constexpr float kHarmlessFall = 3.0f;         // metres a ped drops unhurt
constexpr float kFallDamagePerMetre = 12.0f;  // health lost for each metre beyond that
constexpr float kDrowningPerSecond = 2.0f;    // health lost each second in deep water

// Peds created in the air drop and land, hurt by a long fall; peds in deep water tire and
// drown unless they get out.
void StepBodies(World& world, double seconds, std::vector<int32_t>& handles) {
    handles.clear();
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (!ped.dead && (ped.falling || (!world.terrain.Flat() && ped.role != PedRole::Bird &&
                                          ped.mount == 0 && ped.vehicle == 0))) {
            handles.push_back(entry.first);
        }
    }
    const float dt = static_cast<float>(seconds);
    for (int32_t handle : handles) {
        SimPed* ped = world.FindPed(handle);
        if (ped->falling) {
            ped->fallSpeed += kGravity * dt;
            const float z = ped->pos.z - ped->fallSpeed * dt;
            if (!world.terrain.HasGround(ped->pos.x, ped->pos.y)) {
                ped->pos.z = z;
                continue;
            }
            const float landing = world.terrain.StandingHeight(ped->pos.x, ped->pos.y);
            if (z > landing) {
                ped->pos.z = z;
                continue;
            }
            const float drop = ped->fallFromZ - landing;
            ped->falling = false;
            ped->fallSpeed = 0;
            world.MoveEntity(handle, Vec3{ped->pos.x, ped->pos.y, landing});
            if (drop > kHarmlessFall && world.terrain.WaterDepth(ped->pos.x, ped->pos.y) <= 0) {
                world.HurtPed(handle, (drop - kHarmlessFall) * kFallDamagePerMetre);
            }
            continue;
        }
        if (ped->role != PedRole::Horse &&
            world.terrain.WaterDepth(ped->pos.x, ped->pos.y) > Terrain::kDeepWater) {
            world.HurtPed(handle, kDrowningPerSecond * dt);
        }
    }
}

void Tick(World& world, uint64_t tickMs, std::vector<int32_t>& handles) {
    const double seconds = static_cast<double>(kTickMs) / 1000.0;
    world.PlayerPath().Step(seconds);
    if (!world.settings.pedsAct) {
        return;
    }
    StepBodies(world, seconds, handles);
    handles.clear();
    for (const auto& entry : world.Peds()) {
        if (!entry.second.dead && !entry.second.hogtied && !IsIdle(entry.second)) {
            handles.push_back(entry.first);
        }
    }
    for (int32_t handle : handles) {
        const SimPed* ped = world.FindPed(handle);
        if (ped == nullptr || ped->dead || ped->hogtied) {
            continue;  // fell earlier in this tick
        }
        if (ped->task.restartUntilMs > world.NowMs()) {
            continue;  // starting its task over
        }
        switch (ped->task.kind) {
            case TaskKind::Combat:
            case TaskKind::AnimalCharge:
                StepCombat(world, handle, seconds);
                break;
            case TaskKind::Flee:
                StepFlee(world, handle, seconds);
                break;
            case TaskKind::Rob:
                StepRob(world, handle, seconds);
                break;
            case TaskKind::EnterVehicle:
                StepEnterVehicle(world, handle, seconds);
                break;
            case TaskKind::DriveWander:
            case TaskKind::Travel:
                StepDrive(world, handle, seconds);
                break;
            case TaskKind::Bolt:
                StepBolt(world, handle, seconds);
                break;
            case TaskKind::None:
            case TaskKind::Wander:
                break;
        }
    }
    if (tickMs % kAwarenessMs == 0) {
        LookAbout(world);
        ManagePopulation(world);
    }
}

}  // namespace

}  // namespace behaviour

void StepBehaviour(World& world, uint64_t fromMs, uint64_t toMs) {
    using behaviour::kTickMs;
    std::vector<int32_t> handles;
    for (uint64_t tick = (fromMs / kTickMs + 1) * kTickMs; tick <= toMs; tick += kTickMs) {
        behaviour::Tick(world, tick, handles);
    }
}
