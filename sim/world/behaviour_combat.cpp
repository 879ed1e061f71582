// Fights: closing in, shooting when armed, melee at close range, wounds and deaths, lawmen
// tying up wounded men, and how a ped nobody ordered about takes being hit.
#include "sim/world/behaviour_steps.h"
#include "sim/world/joaat.h"

namespace behaviour {

namespace {

constexpr float kFireRange = 35.0f;
constexpr float kPressRange = 20.0f;  // a gunman keeps closing in to this while he fires
constexpr float kMeleeRange = 1.8f;
constexpr double kShotsHitPerSecond = 0.4;
constexpr double kLawmanShotsHitPerSecond = 0.5;
constexpr double kPlayerShotsHitPerSecond = 0.6;
constexpr double kBlowsLandPerSecond = 0.8;
constexpr double kBitesLandPerSecond = 1.0;
constexpr double kTiesPerSecond = 0.5;
constexpr float kPlayerDamageShare = 0.5f;  // the player is tougher than anyone else

bool IsLawman(const SimPed& ped) {
    static const uint32_t kCop = Joaat("REL_COP");
    return ped.human && ped.group == kCop;
}

bool Armed(const SimPed& ped) {
    return ped.human && ped.weapons != 0;
}

void ReactToHarm(World& world, SimPed& ped, const SimPed& attacker) {
    if (ped.isPlayer) {
        if (world.settings.playerFightsBack) {
            world.OrderCombat(ped.handle, attacker.handle, false);
        }
        return;
    }
    if (ped.human) {
        const bool shotAt = Armed(attacker) && !attacker.inMelee;
        if (Armed(ped)) {
            world.OrderCombat(ped.handle, attacker.handle, false);
        } else if (shotAt || ped.Injured()) {
            world.OrderFlee(ped.handle, attacker.handle);
        } else {
            world.OrderCombat(ped.handle, attacker.handle, false);  // fists
        }
        return;
    }
    if (ped.role == PedRole::Predator) {
        world.OrderCombat(ped.handle, attacker.handle, true);
    } else {
        world.OrderFlee(ped.handle, attacker.handle);
    }
}

}  // namespace

void Hit(World& world, int32_t target, int32_t attacker, float damage) {
    SimPed* t = world.FindPed(target);
    if (t == nullptr || t->dead) {
        return;
    }
    t->lastAttacker = attacker;
    world.HurtPed(target, t->isPlayer ? damage * kPlayerDamageShare : damage);
    const SimPed* a = world.FindPed(attacker);
    if (!t->dead && a != nullptr && IsIdle(*t)) {
        ReactToHarm(world, *t, *a);
    }
}

void StepCombat(World& world, int32_t handle, double seconds) {
    SimPed* a = world.FindPed(handle);
    const SimPed* t = world.FindPed(a->task.targetPed);
    if (t == nullptr) {
        EndTask(*a);
        return;
    }
    if (t->dead || t->hogtied) {
        if (t->isPlayer && t->dead) {
            a->inMelee = false;  // the player gets up again; wait for him
            return;
        }
        EndTask(*a);
        return;
    }
    a->combatTarget = t->handle;
    if (a->vehicle != 0) {
        world.UnseatPed(handle);  // climbs down to fight
        return;
    }
    const Vec3 targetPos = world.EntityPosition(t->handle, false);
    const float distance = Distance(world.EntityPosition(handle, false), targetPos);

    // A lawman facing a wounded man goes to tie him up half the time, and shoots on otherwise.
    bool subdue = false;
    if (IsLawman(*a) && t->human && !t->isPlayer && t->Injured()) {
        if (a->task.subdue == 0) {
            a->task.subdue = world.random.Chance(0.5) ? 1 : -1;
        }
        subdue = a->task.subdue == 1;
    }

    if (Armed(*a) && !subdue && distance <= kFireRange) {
        a->inMelee = false;
        world.NoteShot(handle);
        const double hitRate = a->isPlayer    ? kPlayerShotsHitPerSecond
                               : IsLawman(*a) ? kLawmanShotsHitPerSecond
                                              : kShotsHitPerSecond;
        if (world.random.Chance(hitRate * seconds)) {
            Hit(world, t->handle, handle, world.random.Between(15.0f, 35.0f));
        }
        if (distance > kPressRange && !a->isPlayer) {
            MoveToward(world, *a, targetPos, RunSpeed(*a), seconds, kPressRange);
        }
        return;
    }
    if (distance > kMeleeRange) {
        a->inMelee = false;
        MoveToward(world, *a, targetPos, RunSpeed(*a), seconds, kMeleeRange * 0.8f);
        return;
    }
    a->inMelee = true;
    if (subdue) {
        if (world.random.Chance(kTiesPerSecond * seconds)) {
            world.HogtiePed(t->handle);
            EndTask(*a);
        }
        return;
    }
    if (a->role == PedRole::Predator) {
        if (world.random.Chance(kBitesLandPerSecond * seconds)) {
            Hit(world, t->handle, handle, world.random.Between(15.0f, 30.0f));
        }
    } else if (world.random.Chance(kBlowsLandPerSecond * seconds)) {
        Hit(world, t->handle, handle,
            a->human ? world.random.Between(6.0f, 14.0f) : world.random.Between(5.0f, 12.0f));
    }
}

}  // namespace behaviour
