// The simulated game world the stand-in host answers natives from: peds, animals, vehicles,
// blips, relationship groups and models on virtual time, with the environment (clock, mission
// flag, weather) and the player's scripted path it owns. Deterministic for a given seed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/world/environment.h"
#include "sim/world/game_states.h"
#include "sim/world/model_catalogue.h"
#include "sim/world/player_path.h"
#include "sim/world/sim_random.h"
#include "sim/world/terrain.h"
#include "sim/world/vec3.h"

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
    Travel,        // ambient riders and wagons passing through
};

struct SimTask {
    TaskKind kind = TaskKind::None;
    int32_t targetPed = 0;
    int32_t targetVehicle = 0;
    uint64_t startedMs = 0;
    uint64_t timeoutMs = 0;  // 0: none
    int seat = -1;           // the seat an enter-vehicle order asks for
    float speed = 0;         // metres per second an order asks for; 0: the ped's own pace
    uint64_t phaseMs = 0;    // when the current phase ends (robbery, dragging a driver off, ...)
    uint64_t restartUntilMs = 0;  // a task given again starts over: the ped stands until then
    Vec3 point;                   // a destination, a heading or the last place of a threat
    int subdue = 0;               // a lawman facing a wounded man: 1 ties him up, -1 shoots on
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
    bool ambient = false;  // brought by ambient mode (any ped nobody owns may despawn)
    uint64_t spawnedMs = 0;
    bool stuck = false;    // created inside the ground: it can neither move nor be placed
    bool falling = false;  // created in the air: it drops until it lands
    float fallSpeed = 0;   // metres per second, downward, while falling
    float fallFromZ = 0;   // where the fall began
    // Set by AddPed from the model (or, for a model outside the catalogue, from the ped).
    PedRole role = PedRole::Townsfolk;
    bool wanders = false;  // strolls about its home when nobody has ordered it anything
    Vec3 home;             // where it strolls about; AddPed sets it to the first position
    uint64_t deadSinceMs = 0;
    uint64_t hogtiedSinceMs = 0;
    int32_t lastAttacker = 0;

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
    bool ambient = false;       // passing through: despawns when far from the player
    uint64_t emptySinceMs = 0;  // when its last occupant got off (0: someone aboard)
};

struct SimBlip {
    int32_t handle = 0;
    int32_t entity = 0;
    uint32_t style = 0;
    bool cleared = false;  // data cleared; the blip still stands until removed
};

// The peds ambient mode keeps around the player: how many, where they appear, and the mix of
// kinds, each with a weight.
enum class PopulationKind {
    Townsfolk,
    Women,
    Lawmen,
    Shopkeepers,
    Riders,
    Wagons,
    Deer,
    Wolves,
    Birds
};
const char* PopulationKindName(PopulationKind kind);
bool ParsePopulationKind(const std::string& name, PopulationKind* kind);

struct PopulationSettings {
    bool enabled = false;
    int targetPeds = 30;         // alive peds within maxDistance of the player, the player aside
    float minDistance = 50.0f;   // new peds appear this far from the player at least
    float maxDistance = 120.0f;  // and at most
    int spawnsPerSecond = 2;
    std::vector<std::pair<PopulationKind, double>> mix = {
        {PopulationKind::Townsfolk, 6}, {PopulationKind::Women, 4},
        {PopulationKind::Lawmen, 1},    {PopulationKind::Shopkeepers, 1},
        {PopulationKind::Riders, 2},    {PopulationKind::Wagons, 1},
        {PopulationKind::Deer, 1},      {PopulationKind::Wolves, 0.3},
        {PopulationKind::Birds, 1},
    };
};

struct WorldSettings {
    float nearbyPedRange = 55.0f;  // GET_PED_NEARBY_PEDS reach around the centre ped
    uint64_t modelLoadMs = 1500;   // time from REQUEST_MODEL to loaded
    std::set<uint32_t> neverLoadModels;
    int failNextSpawns = 0;                 // CREATE_PED answers 0 this many times
    bool rewriteReleasedHandle = true;      // SET_ENTITY_AS_NO_LONGER_NEEDED zeroes the variable
    double gameMinutesPerRealSecond = 0.5;  // in-game clock speed
    float despawnRange = 250.0f;            // unowned peds this far from the player may despawn
    // Peds act on their own over time (carry out orders, fight, flee, stroll). Off: they stand
    // where tests put them and only scripted happenings change them.
    bool pedsAct = true;
    bool despawnFarPeds = true;          // unowned peds beyond despawnRange vanish
    uint64_t corpseLifetimeMs = 120000;  // unowned dead peds vanish after this long
    bool playerFightsBack = true;        // the player shoots back at whoever attacks him
    uint64_t playerRespawnMs = 10000;    // a dead player stands up again after this long
    uint64_t hogtieEscapeMs = 300000;    // a tied-up ped works free after this long (0: never)
    // An unowned vehicle left empty vanishes after this long (0: never).
    uint64_t abandonedVehicleLifetimeMs = 300000;
    PopulationSettings population;
    // --- what the game gives that a kinder world would not (world_hardness_settings)
    size_t nearbyPedLimit = 20;     // GET_PED_NEARBY_PEDS answers at most this many
    int pedPoolSize = 256;          // peds the world holds at once, the dead included
    uint64_t taskRestartMs = 500;   // a task given again while performed: standing this long
    float collisionRange = 150.0f;  // collision is loaded this far around the player
    float requestedCollisionRange = 50.0f;  // and this far around a requested point
    double riderThrownChance = 0.75;        // the horse agitated to throw: the rider comes off
    double riderUnseatedChance = 0.05;      // agitated without a throw: he comes off all the same
};

class World {
  public:
    explicit World(uint64_t seed = 1);
    // The environment and the player's path hold on to this world.
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // --- virtual time
    uint64_t NowMs() const { return nowMs_; }
    // Runs scheduled happenings and ped behaviour up to nowMs.
    void AdvanceTo(uint64_t nowMs);
    // A scripted happening at a virtual time (for scenarios and tests).
    void Schedule(uint64_t atMs, std::function<void(World&)> happening);

    // --- a crash on purpose
    // The nth call of the native from now (1: the next) faults inside the native with an
    // access violation, as a bad handle crashes the game's own code: for tests of what a
    // crash leaves behind.
    void PlanNativeCrash(uint64_t hash, uint64_t nthCall);
    // Counts a call of the native against the plan; true for the call planned to crash.
    bool NativeCallCrashes(uint64_t hash) {
        return hash == crashHash_ && crashCallsLeft_ != 0 && --crashCallsLeft_ == 0;
    }

    // --- entities
    int32_t AddPed(SimPed ped);  // gives the ped a handle and returns it
    // A ped the world creates while running (ambient, CREATE_PED, a scripted spawn): like
    // AddPed, and counted in PedsSpawned.
    int32_t SpawnPed(SimPed ped);
    int32_t AddVehicle(SimVehicle vehicle);
    void SeatPed(int32_t ped, int32_t vehicle, int seat);
    void UnseatPed(int32_t ped);
    void MountPed(int32_t rider, int32_t horse);
    void Dismount(int32_t rider);
    void RemovePed(int32_t ped);  // despawns, with its blips
    void RemoveVehicle(int32_t vehicle);
    void KillPed(int32_t ped);
    void HurtPed(int32_t ped, float damage);
    void HogtiePed(int32_t ped);
    SimPed* FindPed(int32_t handle);
    const SimPed* FindPed(int32_t handle) const;
    SimVehicle* FindVehicle(int32_t handle);
    const SimVehicle* FindVehicle(int32_t handle) const;
    bool EntityExists(int32_t entity) const;
    // With realCoords false, a mounted or seated ped answers with its mount's or vehicle's
    // position, as the game does.
    Vec3 EntityPosition(int32_t entity, bool realCoords) const;
    void MoveEntity(int32_t entity, const Vec3& pos);
    // The peds within reach of the centre ped, nearest first, without the centre itself, at
    // most nearbyPedLimit of them.
    std::vector<int32_t> NearbyPeds(int32_t centre, size_t capacity) const;
    const std::map<int32_t, SimPed>& Peds() const { return peds_; }
    const std::map<int32_t, SimVehicle>& Vehicles() const { return vehicles_; }

    // --- the player
    int32_t PlayerId() const { return 0; }
    int32_t PlayerPed() const { return playerPed_; }
    int32_t PlayerHorse() const { return playerHorse_; }
    int32_t CreatePlayer(const Vec3& pos);
    int32_t CreatePlayerHorse(const Vec3& pos);
    // Where the player goes by himself: a scenario's path, a test's walk.
    SimPlayerPath& PlayerPath() { return playerPath_; }
    const SimPlayerPath& PlayerPath() const { return playerPath_; }

    // --- building worlds from code (tests and scenarios): a ped of a catalogue model, with
    // the model's kind, sex, group and weapons. Not counted as spawned.
    static SimPed MakePed(const PedModel& model, const Vec3& pos);
    int32_t AddPedOfModel(const std::string& modelName, const Vec3& pos);
    int32_t AddTownsfolk(const Vec3& pos, bool male = true);
    int32_t AddLawman(const Vec3& pos);
    int32_t AddShopkeeper(const Vec3& pos);  // a gunsmith, on the exempt list
    int32_t AddAnimal(const std::string& modelName, const Vec3& pos);
    // A rider on a horse; returns the rider (the horse is FindPed(rider)->mount).
    int32_t AddRider(const Vec3& pos, const std::string& riderModel = "A_M_M_Rancher_01",
                     const std::string& horseModel = "A_C_Horse_KentuckySaddle_Black");
    int32_t AddVehicleOfModel(const std::string& modelName, const Vec3& pos);
    // A vehicle with a driver on seat -1 and passengers on seats 0, 1, ...; returns the vehicle.
    int32_t AddWagonWithDriver(const std::string& modelName, const Vec3& pos, int passengers = 0);

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
    // SET_MODEL_AS_NO_LONGER_NEEDED: the model stays loaded but no longer pinned for the script.
    void ReleaseModel(uint32_t model);
    // Models a script requested and has not given back: each one stays in streaming memory.
    size_t ModelsLeftRequested() const { return modelsHeld_.size(); }
    int32_t CreatePedFromModel(uint32_t model, const Vec3& pos);

    // --- the ground, collision and water (world_ground.cpp)
    void RequestCollision(const Vec3& pos);
    bool CollisionLoaded(float x, float y) const;
    // GET_GROUND_Z_FOR_3D_COORD: the ground below a probe from (x, y, z), where collision is
    // loaded; false above no ground, without collision or when the probe starts underground.
    bool ProbeGround(float x, float y, float z, float* groundZ) const;
    bool EntityInWater(int32_t entity) const;
    // PLACE_ENTITY_ON_GROUND_PROPERLY: a ped stood on the ground (or afloat); false when stuck.
    bool PlaceOnGround(int32_t entity);
    // How many more peds the pool takes.
    int FreePedSlots() const;
    // A new ped judged where it appears: inside the ground it is stuck, in the air it falls,
    // in deep water it swims (and drowns in time). Counted for the summary.
    void SettleCreatedPed(SimPed& ped);
    uint64_t PedsCreatedBelowGround() const { return pedsCreatedBelowGround_; }
    uint64_t PedsCreatedInWater() const { return pedsCreatedInWater_; }
    uint64_t PedsCreatedInAir() const { return pedsCreatedInAir_; }

    // --- orders given by scripts
    void ClearTasks(int32_t ped);
    void OrderCombat(int32_t attacker, int32_t target, bool animalCharge);
    void OrderFlee(int32_t ped, int32_t from);
    void OrderRob(int32_t robber, int32_t victim);
    // A timeout of 0 means none; a speed of 0 the ped's own pace.
    void OrderEnterVehicle(int32_t ped, int32_t vehicle, uint64_t timeoutMs, int seat = -1,
                           float speed = 0);
    void OrderDriveWander(int32_t driver, int32_t vehicle, float speed = 0);
    void OrderThrowRider(int32_t mount, bool throwRider);
    uint32_t GiveWeapon(int32_t ped, uint32_t weaponHash);
    // Status the game reports for a script task: 1 while it runs, 7 when there is none.
    int ScriptTaskStatus(int32_t ped, uint32_t taskHash) const;

    // --- the clock, mission flag and weather
    SimEnvironment& Environment() { return environment_; }
    const SimEnvironment& Environment() const { return environment_; }
    // --- the game outside free play: deaths, arrests, cutscenes, loading screens, ...
    SimGameStates& GameStates() { return gameStates_; }
    const SimGameStates& GameStates() const { return gameStates_; }

    // --- what behaviour needs between its steps
    void NoteShot(int32_t shooter) { recentShooters_.push_back(shooter); }
    std::vector<int32_t> TakeRecentShooters();
    // Groups the first hates (relationship 5 or more), for the peds that pick fights by
    // themselves.
    bool Hates(uint32_t group1, uint32_t group2) const { return Relationship(group1, group2) >= 5; }
    const std::map<uint64_t, int>& Relationships() const { return relationships_; }

    // --- figures for the summary
    size_t OwnedPedCount() const;  // mission entities other than the player's ped
    uint64_t PedsSpawned() const { return pedsSpawned_; }
    uint64_t PedsKilled() const { return pedsKilled_; }

    WorldSettings settings;
    SimRandom random;
    Terrain terrain;

  private:
    uint64_t crashHash_ = 0;
    uint64_t crashCallsLeft_ = 0;  // 0: no crash planned
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
    std::set<uint32_t> modelsHeld_;               // requested and not given back
    std::multimap<uint64_t, std::function<void(World&)>> happenings_;
    int32_t playerPed_ = 0;
    int32_t playerHorse_ = 0;
    uint64_t pedsSpawned_ = 0;
    uint64_t pedsKilled_ = 0;
    SimEnvironment environment_{*this};
    SimGameStates gameStates_;
    SimPlayerPath playerPath_{*this};
    std::vector<int32_t> recentShooters_;
    std::vector<std::pair<Vec3, uint64_t>> collisionRequests_;  // point, when asked
    uint64_t pedsCreatedBelowGround_ = 0;
    uint64_t pedsCreatedInWater_ = 0;
    uint64_t pedsCreatedInAir_ = 0;
    // A flee given again while the ped performs it starts over (world_orders.cpp).
    bool RestartIfPerforming(SimPed& ped, TaskKind kind, int32_t targetPed, int32_t targetVehicle);
};

// Ped behaviour over virtual time: carrying out orders, fights, flight, despawning and the
// ambient population. Called by AdvanceTo in steps of at most 100 ms; works in ticks of
// 100 ms of virtual time, so a run does not depend on the host's frame length.
void StepBehaviour(World& world, uint64_t fromMs, uint64_t toMs);
