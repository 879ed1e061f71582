// The simulated game world the stand-in host answers natives from: peds, animals, vehicles,
// blips, relationship groups, models, the in-game clock, the weather and the mission flag,
// all on virtual time. Deterministic for a given seed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/world/sim_random.h"

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};
float Distance(const Vec3& a, const Vec3& b);

// What the six weapon natives report, one bit each: revolver, pistol, repeater, rifle,
// sniper rifle, shotgun.
enum WeaponBit : uint32_t {
    kRevolver = 1u << 0,
    kPistol = 1u << 1,
    kRepeater = 1u << 2,
    kRifle = 1u << 3,
    kSniper = 1u << 4,
    kShotgun = 1u << 5,
};

enum class TaskKind {
    None,          // standing, or doing what the ambient population does
    Wander,        // ambient walking
    Combat,        // TASK_COMBAT_PED
    AnimalCharge,  // TASK_COMBAT_ANIMAL_CHARGE_PED
    Flee,          // TASK_FLEE_PED
    Rob,           // TASK_ROB_PED
    EnterVehicle,  // TASK_ENTER_VEHICLE
    DriveWander,   // TASK_VEHICLE_DRIVE_WANDER
    Bolt,          // a horse running off after bucking
};

struct SimTask {
    TaskKind kind = TaskKind::None;
    int32_t targetPed = 0;
    int32_t targetVehicle = 0;
    uint64_t startedMs = 0;
    uint64_t timeoutMs = 0;  // 0: none
};

struct SimPed {
    int32_t handle = 0;
    uint32_t model = 0;
    std::string modelName;
    bool human = true;
    bool male = true;
    uint32_t group = 0;  // relationship group hash
    Vec3 pos;
    float health = 100.0f;  // injured below 50, dead at 0
    bool dead = false;
    bool hogtied = false;
    uint32_t weapons = 0;  // WeaponBit set
    bool fleeing = false;
    bool inMelee = false;
    int32_t combatTarget = 0;
    bool missionEntity = false;  // owned by a script
    bool keepTask = false;
    SimTask task;
    int32_t mount = 0;    // the horse this ped rides
    int32_t rider = 0;    // the ped riding this horse
    int32_t vehicle = 0;  // the vehicle this ped sits in
    int seat = 0;         // seat in that vehicle; -1 is the driver
    bool isPlayer = false;
    bool isPlayerHorse = false;
    bool ambient = false;  // part of the ambient population (may despawn)
    uint64_t spawnedMs = 0;

    bool Injured() const { return !dead && health < 50.0f; }
};

struct SimVehicle {
    int32_t handle = 0;
    uint32_t model = 0;
    std::string modelName;
    Vec3 pos;
    int seatCount = 2;                 // seats -1 (driver) to seatCount - 2
    std::map<int, int32_t> occupants;  // seat -> ped
    bool missionEntity = false;
};

struct SimBlip {
    int32_t handle = 0;
    int32_t entity = 0;
    uint32_t style = 0;
    bool cleared = false;  // data cleared; the blip still stands until removed
};

struct LightningStrike {
    uint64_t atMs = 0;
    Vec3 pos;
};

struct WorldSettings {
    float nearbyPedRange = 150.0f;  // GET_PED_NEARBY_PEDS reach around the centre ped
    uint64_t modelLoadMs = 1500;    // time from REQUEST_MODEL to loaded
    std::set<uint32_t> neverLoadModels;
    int failNextSpawns = 0;                 // CREATE_PED answers 0 this many times
    bool rewriteReleasedHandle = true;      // SET_ENTITY_AS_NO_LONGER_NEEDED zeroes the variable
    double gameMinutesPerRealSecond = 0.5;  // in-game clock speed
    float despawnRange = 250.0f;            // unowned peds this far from the player may despawn
};

class World {
  public:
    explicit World(uint64_t seed = 1);

    // --- virtual time
    uint64_t NowMs() const { return nowMs_; }
    // Runs scheduled happenings and ped behaviour up to nowMs.
    void AdvanceTo(uint64_t nowMs);
    // A scripted happening at a virtual time (for scenarios and tests).
    void Schedule(uint64_t atMs, std::function<void(World&)> happening);

    // --- entities
    int32_t AddPed(SimPed ped);  // gives the ped a handle and returns it
    int32_t AddVehicle(SimVehicle vehicle);
    void SeatPed(int32_t ped, int32_t vehicle, int seat);
    void UnseatPed(int32_t ped);
    void MountPed(int32_t rider, int32_t horse);
    void Dismount(int32_t rider);
    void RemovePed(int32_t ped);  // despawns, with its blips
    void RemoveVehicle(int32_t vehicle);
    void KillPed(int32_t ped);
    void HurtPed(int32_t ped, float damage);
    SimPed* FindPed(int32_t handle);
    const SimPed* FindPed(int32_t handle) const;
    SimVehicle* FindVehicle(int32_t handle);
    const SimVehicle* FindVehicle(int32_t handle) const;
    bool EntityExists(int32_t entity) const;
    // With realCoords false, a mounted or seated ped answers with its mount's or vehicle's
    // position, as the game does.
    Vec3 EntityPosition(int32_t entity, bool realCoords) const;
    void MoveEntity(int32_t entity, const Vec3& pos);
    // The peds within reach of the centre ped, nearest first, without the centre itself.
    std::vector<int32_t> NearbyPeds(int32_t centre, size_t capacity) const;
    const std::map<int32_t, SimPed>& Peds() const { return peds_; }
    const std::map<int32_t, SimVehicle>& Vehicles() const { return vehicles_; }

    // --- the player
    int32_t PlayerId() const { return 0; }
    int32_t PlayerPed() const { return playerPed_; }
    int32_t PlayerHorse() const { return playerHorse_; }
    int32_t CreatePlayer(const Vec3& pos);
    int32_t CreatePlayerHorse(const Vec3& pos);

    // --- blips
    int32_t AddBlip(uint32_t style, int32_t entity);
    bool ClearBlip(int32_t blip);
    bool RemoveBlip(int32_t blip);
    int32_t BlipForEntity(int32_t entity) const;
    const std::map<int32_t, SimBlip>& Blips() const { return blips_; }

    // --- relationship groups
    uint32_t AddRelationshipGroup(const std::string& name);
    void SetRelationship(int level, uint32_t group1, uint32_t group2);
    int Relationship(uint32_t group1, uint32_t group2) const;

    // --- models and spawning
    void RequestModel(uint32_t model);
    bool ModelLoaded(uint32_t model) const;
    int32_t CreatePedFromModel(uint32_t model, const Vec3& pos);

    // --- orders given by scripts
    void ClearTasks(int32_t ped);
    void OrderCombat(int32_t attacker, int32_t target, bool animalCharge);
    void OrderFlee(int32_t ped, int32_t from);
    void OrderRob(int32_t robber, int32_t victim);
    void OrderEnterVehicle(int32_t ped, int32_t vehicle, uint64_t timeoutMs);
    void OrderDriveWander(int32_t driver, int32_t vehicle);
    void OrderThrowRider(int32_t mount, bool throwRider);
    uint32_t GiveWeapon(int32_t ped, uint32_t weaponHash);
    // Status the game reports for a script task: 1 while it runs, 7 when there is none.
    int ScriptTaskStatus(int32_t ped, uint32_t taskHash) const;

    // --- clock, mission flag, weather
    void SetClock(int hour, int minute);
    int ClockHours() const;
    int ClockMinutes() const;  // minutes since midnight
    void AddMissionWindow(uint64_t startMs, uint64_t endMs);
    bool MissionActive() const;
    void ForceWeather(uint32_t type, float transitionSeconds);
    void ClearWeatherOverTime(int milliseconds);
    uint32_t ForcedWeather() const { return forcedWeather_; }
    uint32_t BaseWeather() const { return baseWeather_; }
    void SetBaseWeather(uint32_t type) { baseWeather_ = type; }
    // The forced weather fades back once its clearing time has run out.
    uint32_t CurrentWeather() const;
    void StrikeLightning(const Vec3& pos);
    const std::vector<LightningStrike>& Lightning() const { return lightning_; }

    // --- figures for the summary
    size_t OwnedPedCount() const;  // mission entities other than the player's ped
    uint64_t PedsSpawned() const { return pedsSpawned_; }
    uint64_t PedsKilled() const { return pedsKilled_; }

    WorldSettings settings;
    SimRandom random;

  private:
    void RunHappeningsUntil(uint64_t nowMs);
    int32_t NextHandle() { return nextHandle_++; }

    uint64_t nowMs_ = 0;
    int32_t nextHandle_ = 0x1001;
    int32_t nextBlip_ = 0x7001;
    std::map<int32_t, SimPed> peds_;
    std::map<int32_t, SimVehicle> vehicles_;
    std::map<int32_t, SimBlip> blips_;
    std::map<uint64_t, int> relationships_;
    std::set<uint32_t> relationshipGroups_;
    std::map<uint32_t, uint64_t> modelRequests_;  // model -> time requested
    std::multimap<uint64_t, std::function<void(World&)>> happenings_;
    std::vector<std::pair<uint64_t, uint64_t>> missionWindows_;
    std::vector<LightningStrike> lightning_;
    int32_t playerPed_ = 0;
    int32_t playerHorse_ = 0;
    double clockMinutesAtZero_ = 12 * 60;  // in-game minutes since midnight at virtual time 0
    uint32_t baseWeather_ = 0;
    uint32_t forcedWeather_ = 0;
    uint64_t clearStartMs_ = 0;
    int clearOverMs_ = -1;  // -1: not clearing
    uint64_t pedsSpawned_ = 0;
    uint64_t pedsKilled_ = 0;
};

// Ped behaviour over virtual time: carrying out orders, fights, flight, despawning and the
// ambient population. Called by AdvanceTo in steps of at most 100 ms.
void StepBehaviour(World& world, uint64_t fromMs, uint64_t toMs);
