// Orders scripts give peds, and spawning. Each sets what the ped is doing now; carrying it
// out over time is StepBehaviour's work.
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {
constexpr uint32_t kRobberyTaskHash = 0x7F60B59Eu;
const uint32_t kFleeTaskHash = Joaat("SCRIPT_TASK_FLEE");
constexpr int kTaskRunning = 1;
constexpr int kTaskNone = 7;

SimTask Task(TaskKind kind, int32_t targetPed, int32_t targetVehicle, uint64_t nowMs,
             uint64_t timeoutMs) {
    SimTask task;
    task.kind = kind;
    task.targetPed = targetPed;
    task.targetVehicle = targetVehicle;
    task.startedMs = nowMs;
    task.timeoutMs = timeoutMs;
    return task;
}
}  // namespace

bool World::RestartIfPerforming(SimPed& ped, TaskKind kind, int32_t targetPed,
                                int32_t targetVehicle) {
    if (ped.task.kind != kind || ped.task.targetPed != targetPed ||
        ped.task.targetVehicle != targetVehicle) {
        return false;
    }
    // The game drops the task and starts it afresh: the ped stands a moment before it goes on.
    ped.task.restartUntilMs = NowMs() + settings.taskRestartMs;
    return true;
}

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
    if (p == nullptr || p->dead || p->hogtied || attacker == target || FindPed(target) == nullptr) {
        return;
    }
    // A combat order given again is taken as it comes: the encounters' watches give their
    // lawmen the same one every pass, and the game's scripts show no guard for it to copy.
    p->task = Task(animalCharge ? TaskKind::AnimalCharge : TaskKind::Combat, target, 0, NowMs(), 0);
    p->fleeing = false;
    p->combatTarget = target;
}

void World::OrderFlee(int32_t ped, int32_t from) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead || p->hogtied) {
        return;
    }
    if (RestartIfPerforming(*p, TaskKind::Flee, from, 0)) {
        return;
    }
    p->task = Task(TaskKind::Flee, from, 0, NowMs(), 0);
    // Where the threat stands now, so flight keeps its direction if the threat vanishes.
    p->task.point = EntityExists(from) ? EntityPosition(from, false) : EntityPosition(ped, true);
    p->fleeing = true;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderRob(int32_t robber, int32_t victim) {
    SimPed* p = FindPed(robber);
    if (p == nullptr || p->dead || p->hogtied || robber == victim || FindPed(victim) == nullptr) {
        return;
    }
    p->task = Task(TaskKind::Rob, victim, 0, NowMs(), 0);
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderEnterVehicle(int32_t ped, int32_t vehicle, uint64_t timeoutMs, int seat,
                              float speed) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead || p->hogtied || FindVehicle(vehicle) == nullptr) {
        return;
    }
    p->task = Task(TaskKind::EnterVehicle, 0, vehicle, NowMs(), timeoutMs);
    p->task.seat = seat;
    p->task.speed = speed;
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderDriveWander(int32_t driver, int32_t vehicle, float speed) {
    SimPed* p = FindPed(driver);
    if (p == nullptr || p->dead || p->hogtied || FindVehicle(vehicle) == nullptr) {
        return;
    }
    p->task = Task(TaskKind::DriveWander, 0, vehicle, NowMs(), 0);
    p->task.speed = speed;
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
}

void World::OrderThrowRider(int32_t mount, bool throwRider) {
    SimPed* horse = FindPed(mount);
    if (horse == nullptr || horse->dead) {
        return;
    }
    const double comesOff = throwRider ? settings.riderThrownChance : settings.riderUnseatedChance;
    if (horse->rider != 0 && random.Chance(comesOff)) {
        const int32_t rider = horse->rider;
        Dismount(rider);
        HurtPed(rider, 10.0f);
        if (SimPed* thrown = FindPed(rider)) {
            thrown->task = SimTask{};  // whatever the rider was doing ends in the dirt
            thrown->inMelee = false;
            thrown->combatTarget = 0;
        }
        horse = FindPed(mount);
    }
    // The horse bucks, then bolts (with its rider, if it kept him) in a direction of its own.
    horse->task = Task(TaskKind::Bolt, 0, 0, NowMs(), 0);
    horse->fleeing = true;
    horse->inMelee = false;
    horse->combatTarget = 0;
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
    if (taskHash == kFleeTaskHash && p->task.kind == TaskKind::Flee) {
        return kTaskRunning;
    }
    return kTaskNone;
}

int32_t World::CreatePedFromModel(uint32_t model, const Vec3& pos) {
    if (FreePedSlots() <= 0) {
        return 0;  // the pool is full: the game makes no ped
    }
    if (settings.failNextSpawns > 0) {
        --settings.failNextSpawns;
        return 0;
    }
    const PedModel* known = FindPedModel(model);
    if (known == nullptr || !ModelLoaded(model)) {
        return 0;
    }
    SimPed ped = MakePed(*known, pos);
    if (!ped.human) {
        ped.male = random.Chance(0.5);
    }
    // What a script creates is that script's until it lets go.
    ped.missionEntity = true;
    SettleCreatedPed(ped);
    return SpawnPed(std::move(ped));
}
