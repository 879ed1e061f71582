// The ambient population: peds and vehicles nobody owns vanish when far from the player or
// long dead, and in ambient mode new ones appear around him from the mix, as in the game.
// Mission entities are never touched: a ped a script forgets to hand back stays for good.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "sim/world/behaviour_steps.h"

namespace {

struct KindName {
    PopulationKind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {
    {PopulationKind::Townsfolk, "townsfolk"}, {PopulationKind::Women, "women"},
    {PopulationKind::Lawmen, "lawmen"},       {PopulationKind::Shopkeepers, "shopkeepers"},
    {PopulationKind::Riders, "riders"},       {PopulationKind::Wagons, "wagons"},
    {PopulationKind::Deer, "deer"},           {PopulationKind::Wolves, "wolves"},
    {PopulationKind::Birds, "birds"},
};

}  // namespace

const char* PopulationKindName(PopulationKind kind) {
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "?";
}

bool ParsePopulationKind(const std::string& name, PopulationKind* kind) {
    for (const KindName& entry : kKindNames) {
        if (name == entry.name) {
            *kind = entry.kind;
            return true;
        }
    }
    return false;
}

namespace behaviour {

namespace {

constexpr double kArmedTownsmanChance = 0.25;
constexpr double kPassengerChance = 0.5;
constexpr double kListedWagonChance = 0.7;
constexpr double kParkedWagonChance = 0.5;  // stands in the street, its driver waiting
constexpr float kTravelSpeed = 3.0f;        // riders and wagons passing through, at a trot

bool Keeps(const World& world, const SimPed& ped) {
    return ped.missionEntity || ped.isPlayer || ped.handle == world.PlayerHorse();
}

// Whether anyone in the vehicle, or the vehicle itself, belongs to a script.
bool VehicleKept(const World& world, const SimVehicle& vehicle) {
    if (vehicle.missionEntity) {
        return true;
    }
    for (const auto& seated : vehicle.occupants) {
        const SimPed* ped = world.FindPed(seated.second);
        if (ped != nullptr && Keeps(world, *ped)) {
            return true;
        }
    }
    return false;
}

// Marks when each vehicle was left empty, so an abandoned one can go after a while.
void NoteEmptyVehicles(World& world) {
    std::vector<int32_t> handles;
    for (const auto& entry : world.Vehicles()) {
        handles.push_back(entry.first);
    }
    for (int32_t handle : handles) {
        SimVehicle* vehicle = world.FindVehicle(handle);
        if (!vehicle->occupants.empty()) {
            vehicle->emptySinceMs = 0;
        } else if (vehicle->emptySinceMs == 0) {
            vehicle->emptySinceMs = std::max<uint64_t>(world.NowMs(), 1);
        }
    }
}

void Despawn(World& world, const Vec3& playerPos) {
    const WorldSettings& settings = world.settings;
    const uint64_t now = world.NowMs();
    std::vector<int32_t> gone;
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (Keeps(world, ped)) {
            continue;
        }
        if (ped.dead && now - ped.deadSinceMs >= settings.corpseLifetimeMs) {
            gone.push_back(entry.first);
            continue;
        }
        if (!settings.despawnFarPeds || Distance(world.EntityPosition(entry.first, false),
                                                 playerPos) <= settings.despawnRange) {
            continue;
        }
        // A horse under a kept rider goes where he goes.
        const SimPed* rider = world.FindPed(ped.rider);
        if (rider == nullptr || !Keeps(world, *rider)) {
            gone.push_back(entry.first);
        }
    }
    for (int32_t handle : gone) {
        world.RemovePed(handle);
    }
    if (!settings.despawnFarPeds) {
        return;
    }
    NoteEmptyVehicles(world);
    std::vector<int32_t> vehicles;
    for (const auto& entry : world.Vehicles()) {
        const SimVehicle& vehicle = entry.second;
        if (VehicleKept(world, vehicle)) {
            continue;
        }
        const bool abandoned = settings.abandonedVehicleLifetimeMs != 0 &&
                               vehicle.emptySinceMs != 0 &&
                               now - vehicle.emptySinceMs >= settings.abandonedVehicleLifetimeMs;
        if (abandoned || Distance(vehicle.pos, playerPos) > settings.despawnRange) {
            vehicles.push_back(entry.first);
        }
    }
    for (int32_t handle : vehicles) {
        world.RemoveVehicle(handle);
    }
}

const PedModel* PickModel(World& world, PedRole role, int sex) {
    std::vector<const PedModel*> models;
    for (const PedModel* model : PedModelsWithRole(role)) {
        if (sex < 0 || model->male == (sex == 1)) {
            models.push_back(model);
        }
    }
    return models[world.random.Below(static_cast<uint32_t>(models.size()))];
}

const PedModel* PickModelNamed(World& world, std::initializer_list<const char*> names) {
    std::vector<const PedModel*> models;
    for (const char* name : names) {
        models.push_back(FindPedModelByName(name));
    }
    return models[world.random.Below(static_cast<uint32_t>(models.size()))];
}

int32_t SpawnWanderer(World& world, const PedModel& model, const Vec3& pos) {
    SimPed ped = World::MakePed(model, pos);
    ped.ambient = true;
    ped.wanders = true;
    if (!ped.human && model.role != PedRole::Horse) {
        ped.male = model.name == "A_C_Buck_01" || world.random.Chance(0.5);
    }
    return world.SpawnPed(std::move(ped));
}

// Riders and wagons pass through: they head for somewhere near the player and beyond.
void SetTravelling(World& world, int32_t ped, const Vec3& from, const Vec3& playerPos) {
    SimPed* p = world.FindPed(ped);
    p->task.kind = TaskKind::Travel;
    p->task.speed = kTravelSpeed;
    p->task.point = Vec3{playerPos.x + world.random.Between(-20.0f, 20.0f) - from.x,
                         playerPos.y + world.random.Between(-20.0f, 20.0f) - from.y, 0};
    p->task.phaseMs = UINT64_MAX;  // keeps its heading
}

void SpawnOne(World& world, PopulationKind kind, const Vec3& pos, const Vec3& playerPos) {
    switch (kind) {
        case PopulationKind::Townsfolk: {
            const int32_t ped = SpawnWanderer(world, *PickModel(world, PedRole::Townsfolk, 1), pos);
            if (world.random.Chance(kArmedTownsmanChance)) {
                world.FindPed(ped)->weapons |= kRevolver;
            }
            break;
        }
        case PopulationKind::Women:
            SpawnWanderer(world, *PickModel(world, PedRole::Townsfolk, 0), pos);
            break;
        case PopulationKind::Lawmen:
            SpawnWanderer(world, *PickModel(world, PedRole::Lawman, -1), pos);
            break;
        case PopulationKind::Shopkeepers:
            SpawnWanderer(world, *PickModel(world, PedRole::Shopkeeper, -1), pos);
            break;
        case PopulationKind::Riders: {
            const int32_t horse = SpawnWanderer(world, *PickModel(world, PedRole::Horse, -1), pos);
            const int32_t rider = SpawnWanderer(world, *PickModel(world, PedRole::Rider, -1), pos);
            world.MountPed(rider, horse);
            SetTravelling(world, rider, pos, playerPos);
            break;
        }
        case PopulationKind::Wagons: {
            std::vector<const VehicleModel*> models;
            const bool listed = world.random.Chance(kListedWagonChance);
            for (const VehicleModel& model : VehicleModels()) {
                if (model.wagon == listed) {
                    models.push_back(&model);
                }
            }
            const VehicleModel& model =
                *models[world.random.Below(static_cast<uint32_t>(models.size()))];
            SimVehicle vehicle;
            vehicle.model = model.hash;
            vehicle.modelName = model.name;
            vehicle.seatCount = model.seats;
            vehicle.pos = pos;
            vehicle.ambient = true;
            const int32_t wagon = world.AddVehicle(std::move(vehicle));
            const int32_t driver =
                SpawnWanderer(world, *PickModel(world, PedRole::WagonDriver, -1), pos);
            world.SeatPed(driver, wagon, -1);
            if (model.seats > 1 && world.random.Chance(kPassengerChance)) {
                world.SeatPed(SpawnWanderer(world, *PickModel(world, PedRole::Townsfolk, -1), pos),
                              wagon, 0);
            }
            if (!world.random.Chance(kParkedWagonChance)) {
                SetTravelling(world, driver, pos, playerPos);
            }
            break;
        }
        case PopulationKind::Deer:
            SpawnWanderer(world, *PickModelNamed(world, {"A_C_Deer_01", "A_C_Buck_01"}), pos);
            break;
        case PopulationKind::Wolves:
            SpawnWanderer(world, *FindPedModelByName("A_C_Wolf"), pos);
            break;
        case PopulationKind::Birds:
            SpawnWanderer(world, *PickModel(world, PedRole::Bird, -1), pos);
            break;
    }
}

PopulationKind PickKind(World& world, const PopulationSettings& population) {
    double total = 0;
    for (const auto& entry : population.mix) {
        total += entry.second;
    }
    double pick = world.random.Unit() * total;
    for (const auto& entry : population.mix) {
        if (pick < entry.second) {
            return entry.first;
        }
        pick -= entry.second;
    }
    return population.mix.back().first;
}

void TopUp(World& world, const Vec3& playerPos) {
    const PopulationSettings& population = world.settings.population;
    double total = 0;
    for (const auto& entry : population.mix) {
        total += entry.second > 0 ? entry.second : 0;
    }
    if (!population.enabled || total <= 0) {
        return;
    }
    int around = 0;
    for (const auto& entry : world.Peds()) {
        const SimPed& ped = entry.second;
        if (!ped.dead && !ped.isPlayer && entry.first != world.PlayerHorse() &&
            Distance(world.EntityPosition(entry.first, false), playerPos) <=
                population.maxDistance) {
            ++around;
        }
    }
    for (int spawned = 0; spawned < population.spawnsPerSecond && around < population.targetPeds;
         ++spawned) {
        if (world.FreePedSlots() <= 0) {
            break;  // the game's own population stops at a full pool too
        }
        const Vec3 direction = RandomDirection(world);
        const float reach = world.random.Between(population.minDistance, population.maxDistance);
        const float x = playerPos.x + direction.x * reach;
        const float y = playerPos.y + direction.y * reach;
        if (!world.terrain.HasGround(x, y) ||
            world.terrain.WaterDepth(x, y) > Terrain::kDeepWater) {
            continue;  // nobody strolls out of deep water or off the map's edge
        }
        const Vec3 pos{x, y, world.terrain.Flat() ? playerPos.z : world.terrain.GroundHeight(x, y)};
        const size_t before = world.Peds().size();
        SpawnOne(world, PickKind(world, population), pos, playerPos);
        around += static_cast<int>(world.Peds().size() - before);
    }
}

}  // namespace

void ManagePopulation(World& world) {
    const SimPed* player = world.FindPed(world.PlayerPed());
    if (player == nullptr) {
        return;
    }
    const Vec3 playerPos = world.EntityPosition(player->handle, false);
    Despawn(world, playerPos);
    TopUp(world, playerPos);
}

}  // namespace behaviour
