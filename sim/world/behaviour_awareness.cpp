// What peds do of their own accord, looked at once a second: strolling about, picking fights
// with those their group hates, running from gunfire; and the player getting up again.
#include <algorithm>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "sim/world/behaviour_steps.h"
#include "sim/world/joaat.h"

namespace behaviour {

namespace {

constexpr float kStrollRadiusHuman = 12.0f;
constexpr float kStrollRadiusAnimal = 25.0f;
constexpr float kStrollRadiusBird = 6.0f;
constexpr double kStrollStartChance = 0.3;  // per second, for a ped standing about
constexpr double kGunfirePanicChance = 0.6;

void RevivePlayer(World& world) {
    SimPed* player = world.FindPed(world.PlayerPed());
    if (player != nullptr && player->dead &&
        world.GameStates().RespawnDue(world.NowMs(),
                                      player->deadSinceMs + world.settings.playerRespawnMs)) {
        player->dead = false;
        player->health = 100.0f;
        player->deadSinceMs = 0;
        if (const std::optional<Vec3> place = world.GameStates().NoteRespawn(world.NowMs())) {
            world.MoveEntity(world.PlayerPed(), *place);
        }
    }
}

// A tied-up ped left long enough works free and runs from whoever tied him.
void WorkFree(World& world) {
    const uint64_t escapeMs = world.settings.hogtieEscapeMs;
    if (escapeMs == 0) {
        return;
    }
    std::vector<int32_t> freed;
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (ped.hogtied && !ped.dead && world.NowMs() - ped.hogtiedSinceMs >= escapeMs) {
            freed.push_back(entry.first);
        }
    }
    for (int32_t handle : freed) {
        SimPed* ped = world.FindPed(handle);
        ped->hogtied = false;
        ped->hogtiedSinceMs = 0;
        world.OrderFlee(
            handle, world.EntityExists(ped->lastAttacker) ? ped->lastAttacker : world.PlayerPed());
    }
}

float StrollRadius(const SimPed& ped) {
    if (ped.role == PedRole::Bird) {
        return kStrollRadiusBird;
    }
    return ped.human ? kStrollRadiusHuman : kStrollRadiusAnimal;
}

// A ped nobody owns or orders wanders about its home at a walk.
void Stroll(World& world, SimPed& ped) {
    if (!ped.wanders || ped.missionEntity || ped.isPlayer || ped.vehicle != 0 || !IsIdle(ped)) {
        return;
    }
    if (ped.task.kind == TaskKind::None) {
        if (!world.random.Chance(kStrollStartChance)) {
            return;
        }
        const float radius = StrollRadius(ped);
        const Vec3 offset = RandomDirection(world);
        const float reach = world.random.Between(0.0f, radius);
        ped.task.kind = TaskKind::Wander;
        ped.task.point =
            Vec3{ped.home.x + offset.x * reach, ped.home.y + offset.y * reach, ped.home.z};
    }
    if (MoveToward(world, ped, ped.task.point, WalkSpeed(ped), 1.0, 0.5f) <= 0.5f) {
        ped.task.kind = TaskKind::None;
    }
}

// Peds that can start a fight by themselves: armed people and predators.
bool PicksFights(const SimPed& ped) {
    return ped.human ? ped.weapons != 0 : ped.role == PedRole::Predator;
}

// Idle peds near one their group hates go for him, or run from him when they cannot fight.
void PickFights(World& world) {
    std::set<uint32_t> haters;
    std::set<uint32_t> hated;
    for (const auto& entry : world.Relationships()) {
        if (entry.second >= 5) {
            haters.insert(static_cast<uint32_t>(entry.first >> 32));
            hated.insert(static_cast<uint32_t>(entry.first & 0xFFFFFFFFu));
        }
    }
    std::vector<std::pair<int32_t, Vec3>> targets;
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (!ped.dead && !ped.hogtied && hated.count(ped.group) > 0) {
            targets.emplace_back(entry.first, world.EntityPosition(entry.first, false));
        }
    }
    if (targets.empty()) {
        return;
    }
    std::vector<int32_t> lookers;
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (!ped.dead && !ped.hogtied && !ped.isPlayer && IsIdle(ped) &&
            haters.count(ped.group) > 0) {
            lookers.push_back(entry.first);
        }
    }
    for (int32_t handle : lookers) {
        const SimPed* ped = world.FindPed(handle);
        const Vec3 own = world.EntityPosition(handle, false);
        int32_t nearest = 0;
        float best = kHostilityRange;
        for (const auto& target : targets) {
            const SimPed* other = world.FindPed(target.first);
            if (target.first == handle || other == nullptr || other->dead ||
                !world.Hates(ped->group, other->group)) {
                continue;
            }
            const float d = Distance(own, target.second);
            if (d <= best) {
                best = d;
                nearest = target.first;
            }
        }
        if (nearest == 0) {
            continue;
        }
        if (PicksFights(*ped)) {
            world.OrderCombat(handle, nearest, !ped->human);
        } else if (ped->human && best <= kHostilityRange / 2) {
            world.OrderFlee(handle, nearest);
        }
    }
}

// People near a shot may run from the shooter; animals always do.
void RunFromGunfire(World& world) {
    std::vector<int32_t> shooters = world.TakeRecentShooters();
    std::sort(shooters.begin(), shooters.end());
    shooters.erase(std::unique(shooters.begin(), shooters.end()), shooters.end());
    static const uint32_t kCop = Joaat("REL_COP");
    for (int32_t shooter : shooters) {
        const SimPed* s = world.FindPed(shooter);
        if (s == nullptr) {
            continue;
        }
        const Vec3 from = world.EntityPosition(shooter, false);
        std::vector<int32_t> startled;
        for (const auto& entry : world.Peds()) {
            const SimPed& ped = entry.second;
            if (entry.first == shooter || ped.dead || ped.hogtied || ped.isPlayer ||
                ped.isPlayerHorse || !IsIdle(ped) || ped.group == kCop || ped.rider != 0) {
                continue;
            }
            const float range = ped.human ? kGunfireHeardRange : kGunfireAnimalRange;
            if (Distance(from, world.EntityPosition(entry.first, false)) <= range) {
                startled.push_back(entry.first);
            }
        }
        for (int32_t handle : startled) {
            const SimPed* ped = world.FindPed(handle);
            if (ped->human && (ped->weapons != 0 || !world.random.Chance(kGunfirePanicChance))) {
                continue;  // armed men and the steady hold their ground
            }
            world.OrderFlee(handle, shooter);
        }
    }
}

}  // namespace

void LookAbout(World& world) {
    RevivePlayer(world);
    WorkFree(world);
    std::vector<int32_t> handles;
    for (const auto& entry : world.Peds()) {
        if (entry.second.wanders && !entry.second.dead && !entry.second.hogtied) {
            handles.push_back(entry.first);
        }
    }
    for (int32_t handle : handles) {
        Stroll(world, *world.FindPed(handle));
    }
    PickFights(world);
    RunFromGunfire(world);
}

}  // namespace behaviour
