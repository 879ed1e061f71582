// Orders scripts give peds, and spawning. Each sets what the ped is doing now; carrying it
// out over time is StepBehaviour's work.
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {
constexpr uint32_t kRobberyTaskHash = 0x7F60B59Eu;
constexpr int kTaskRunning = 1;
constexpr int kTaskNone = 7;
}  // namespace

void World::ClearTasks(int32_t ped) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead) {
        return;
    }
    p->task = SimTask{};
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderCombat(int32_t attacker, int32_t target, bool animalCharge) {
    SimPed* p = FindPed(attacker);
    if (p == nullptr || p->dead || FindPed(target) == nullptr) {
        return;
    }
    p->task =
        SimTask{animalCharge ? TaskKind::AnimalCharge : TaskKind::Combat, target, 0, NowMs(), 0};
    p->fleeing = false;
    p->combatTarget = target;
}

void World::OrderFlee(int32_t ped, int32_t from) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead) {
        return;
    }
    p->task = SimTask{TaskKind::Flee, from, 0, NowMs(), 0};
    p->fleeing = true;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderRob(int32_t robber, int32_t victim) {
    SimPed* p = FindPed(robber);
    if (p == nullptr || p->dead || FindPed(victim) == nullptr) {
        return;
    }
    p->task = SimTask{TaskKind::Rob, victim, 0, NowMs(), 0};
    p->fleeing = false;
}

void World::OrderEnterVehicle(int32_t ped, int32_t vehicle, uint64_t timeoutMs) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead || FindVehicle(vehicle) == nullptr) {
        return;
    }
    p->task = SimTask{TaskKind::EnterVehicle, 0, vehicle, NowMs(), timeoutMs};
    p->fleeing = false;
}

void World::OrderDriveWander(int32_t driver, int32_t vehicle) {
    SimPed* p = FindPed(driver);
    if (p == nullptr || p->dead || FindVehicle(vehicle) == nullptr) {
        return;
    }
    p->task = SimTask{TaskKind::DriveWander, 0, vehicle, NowMs(), 0};
}

void World::OrderThrowRider(int32_t mount, bool throwRider) {
    SimPed* horse = FindPed(mount);
    if (horse == nullptr || horse->dead) {
        return;
    }
    if (throwRider && horse->rider != 0) {
        const int32_t rider = horse->rider;
        Dismount(rider);
        HurtPed(rider, 10.0f);
    }
    horse->task = SimTask{TaskKind::Bolt, 0, 0, NowMs(), 0};
}

uint32_t World::GiveWeapon(int32_t ped, uint32_t weaponHash) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead || !p->human) {
        return 0;
    }
    p->weapons |= kRevolver;  // every weapon the plug-in hands out is a sidearm
    return weaponHash;
}

int World::ScriptTaskStatus(int32_t ped, uint32_t taskHash) const {
    const SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead) {
        return kTaskNone;
    }
    if (taskHash == kRobberyTaskHash && p->task.kind == TaskKind::Rob) {
        return kTaskRunning;
    }
    return kTaskNone;
}

int32_t World::CreatePedFromModel(uint32_t model, const Vec3& pos) {
    if (settings.failNextSpawns > 0) {
        --settings.failNextSpawns;
        return 0;
    }
    if (!ModelLoaded(model)) {
        return 0;
    }
    SimPed ped;
    ped.model = model;
    ped.modelName = "";
    ped.human = false;  // the plug-in spawns predators only
    ped.group = Joaat("REL_WILD_ANIMAL_PREDATOR");
    ped.pos = pos;
    ++pedsSpawned_;
    return AddPed(std::move(ped));
}
