#include "sim/world/world.h"

#include <algorithm>

#include "sim/world/joaat.h"

World::World(uint64_t seed) : random(seed) {
    // The law hates outlaws from the start; scripts add their own hatreds.
    SetRelationship(5, Joaat("REL_COP"), Joaat("REL_CRIMINALS"));
    SetRelationship(5, Joaat("REL_COP"), Joaat("REL_GANG_ODRISCOLL"));
}

// ---------------------------------------------------------------- virtual time

void World::Schedule(uint64_t atMs, std::function<void(World&)> happening) {
    happenings_.emplace(atMs, std::move(happening));
}

void World::RunHappeningsUntil(uint64_t nowMs) {
    while (!happenings_.empty() && happenings_.begin()->first <= nowMs) {
        auto first = happenings_.begin();
        std::function<void(World&)> happening = std::move(first->second);
        happenings_.erase(first);
        happening(*this);
    }
}

void World::AdvanceTo(uint64_t nowMs) {
    constexpr uint64_t kMaxStepMs = 100;
    while (nowMs_ < nowMs) {
        const uint64_t from = nowMs_;
        const uint64_t to = std::min(nowMs, from + kMaxStepMs);
        nowMs_ = to;
        RunHappeningsUntil(to);
        StepBehaviour(*this, from, to);
    }
    RunHappeningsUntil(nowMs_);
}

// ---------------------------------------------------------------- entities

namespace {

// A ped's kind from its model, or for a model outside the catalogue from the ped itself.
PedRole RoleOf(const SimPed& ped) {
    if (ped.isPlayer) {
        return PedRole::PlayerCharacter;
    }
    if (const PedModel* model = FindPedModel(ped.model)) {
        return model->role;
    }
    if (!ped.human) {
        return PedRole::Prey;
    }
    return ped.group == Joaat("REL_COP") ? PedRole::Lawman : PedRole::Townsfolk;
}

}  // namespace

int32_t World::AddPed(SimPed ped) {
    ped.handle = NextHandle();
    ped.spawnedMs = nowMs_;
    ped.role = RoleOf(ped);
    ped.home = ped.pos;
    if (ped.dead) {
        ped.health = 0;
        ped.deadSinceMs = nowMs_;
    }
    if (ped.hogtied) {
        ped.hogtiedSinceMs = nowMs_;
    }
    const int32_t handle = ped.handle;
    peds_[handle] = std::move(ped);
    return handle;
}

int32_t World::SpawnPed(SimPed ped) {
    ++pedsSpawned_;
    return AddPed(std::move(ped));
}

int32_t World::AddVehicle(SimVehicle vehicle) {
    vehicle.handle = NextHandle();
    const int32_t handle = vehicle.handle;
    vehicles_[handle] = std::move(vehicle);
    return handle;
}

void World::SeatPed(int32_t ped, int32_t vehicle, int seat) {
    SimPed* p = FindPed(ped);
    SimVehicle* v = FindVehicle(vehicle);
    if (p == nullptr || v == nullptr) {
        return;
    }
    UnseatPed(ped);
    auto taken = v->occupants.find(seat);
    if (taken != v->occupants.end()) {
        UnseatPed(taken->second);  // the one sitting there is pushed off
    }
    v->occupants[seat] = ped;
    p->vehicle = vehicle;
    p->seat = seat;
    p->pos = v->pos;
}

void World::UnseatPed(int32_t ped) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->vehicle == 0) {
        return;
    }
    if (SimVehicle* v = FindVehicle(p->vehicle)) {
        v->occupants.erase(p->seat);
        p->pos = Vec3{v->pos.x + 1.5f, v->pos.y, v->pos.z};
    }
    p->vehicle = 0;
    p->seat = 0;
}

void World::MountPed(int32_t rider, int32_t horse) {
    SimPed* r = FindPed(rider);
    SimPed* h = FindPed(horse);
    if (r == nullptr || h == nullptr) {
        return;
    }
    Dismount(rider);
    r->mount = horse;
    h->rider = rider;
    r->pos = h->pos;
}

void World::Dismount(int32_t rider) {
    SimPed* r = FindPed(rider);
    if (r == nullptr || r->mount == 0) {
        return;
    }
    if (SimPed* h = FindPed(r->mount)) {
        h->rider = 0;
        r->pos = Vec3{h->pos.x + 1.0f, h->pos.y, h->pos.z};
    }
    r->mount = 0;
}

void World::RemovePed(int32_t ped) {
    SimPed* p = FindPed(ped);
    if (p == nullptr) {
        return;
    }
    UnseatPed(ped);
    Dismount(ped);
    if (p->rider != 0) {
        Dismount(p->rider);
    }
    for (auto it = blips_.begin(); it != blips_.end();) {
        it = it->second.entity == ped ? blips_.erase(it) : std::next(it);
    }
    peds_.erase(ped);
}

void World::RemoveVehicle(int32_t vehicle) {
    SimVehicle* v = FindVehicle(vehicle);
    if (v == nullptr) {
        return;
    }
    const std::map<int, int32_t> occupants = v->occupants;
    for (const auto& seated : occupants) {
        UnseatPed(seated.second);
    }
    for (auto it = blips_.begin(); it != blips_.end();) {
        it = it->second.entity == vehicle ? blips_.erase(it) : std::next(it);
    }
    vehicles_.erase(vehicle);
}

void World::KillPed(int32_t ped) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead) {
        return;
    }
    p->dead = true;
    p->health = 0;
    p->deadSinceMs = nowMs_;
    if (ped == playerPed_) {
        gameStates_.NoteDeath(nowMs_);
    }
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
    p->task = SimTask{};
    ++pedsKilled_;
    Dismount(ped);
    UnseatPed(ped);
    if (p->rider != 0) {
        Dismount(p->rider);  // a horse that falls throws its rider
    }
}

void World::HogtiePed(int32_t ped) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead || p->hogtied) {
        return;
    }
    Dismount(ped);
    UnseatPed(ped);
    p->hogtied = true;
    p->hogtiedSinceMs = nowMs_;
    p->fleeing = false;
    p->inMelee = false;
    p->combatTarget = 0;
    p->task = SimTask{};
}

void World::HurtPed(int32_t ped, float damage) {
    SimPed* p = FindPed(ped);
    if (p == nullptr || p->dead) {
        return;
    }
    p->health -= damage;
    if (p->health <= 0) {
        KillPed(ped);
    }
}

SimPed* World::FindPed(int32_t handle) {
    auto it = peds_.find(handle);
    return it == peds_.end() ? nullptr : &it->second;
}

const SimPed* World::FindPed(int32_t handle) const {
    auto it = peds_.find(handle);
    return it == peds_.end() ? nullptr : &it->second;
}

SimVehicle* World::FindVehicle(int32_t handle) {
    auto it = vehicles_.find(handle);
    return it == vehicles_.end() ? nullptr : &it->second;
}

const SimVehicle* World::FindVehicle(int32_t handle) const {
    auto it = vehicles_.find(handle);
    return it == vehicles_.end() ? nullptr : &it->second;
}

bool World::EntityExists(int32_t entity) const {
    return FindPed(entity) != nullptr || FindVehicle(entity) != nullptr;
}

Vec3 World::EntityPosition(int32_t entity, bool realCoords) const {
    if (const SimPed* p = FindPed(entity)) {
        if (!realCoords) {
            if (const SimPed* horse = FindPed(p->mount)) {
                return horse->pos;
            }
            if (const SimVehicle* v = FindVehicle(p->vehicle)) {
                return v->pos;
            }
        }
        return p->pos;
    }
    if (const SimVehicle* v = FindVehicle(entity)) {
        return v->pos;
    }
    return Vec3{};
}

void World::MoveEntity(int32_t entity, const Vec3& pos) {
    if (SimPed* p = FindPed(entity)) {
        p->pos = pos;
        if (SimPed* r = FindPed(p->rider)) {
            r->pos = pos;
        }
        return;
    }
    if (SimVehicle* v = FindVehicle(entity)) {
        v->pos = pos;
        for (const auto& seated : v->occupants) {
            if (SimPed* p = FindPed(seated.second)) {
                p->pos = pos;
            }
        }
    }
}

std::vector<int32_t> World::NearbyPeds(int32_t centre, size_t capacity) const {
    const SimPed* c = FindPed(centre);
    if (c == nullptr || capacity == 0) {
        return {};
    }
    const Vec3 from = EntityPosition(centre, false);
    std::vector<std::pair<float, int32_t>> inReach;
    for (const auto& entry : peds_) {
        if (entry.first == centre) {
            continue;
        }
        const float d = Distance(from, EntityPosition(entry.first, false));
        if (d <= settings.nearbyPedRange) {
            inReach.emplace_back(d, entry.first);
        }
    }
    std::stable_sort(inReach.begin(), inReach.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int32_t> result;
    const size_t most = std::min(capacity, settings.nearbyPedLimit);
    for (size_t i = 0; i < inReach.size() && i < most; ++i) {
        result.push_back(inReach[i].second);
    }
    return result;
}

int32_t World::CreatePlayer(const Vec3& pos) {
    SimPed player;
    player.modelName = "player_zero";
    player.model = Joaat(player.modelName);
    player.group = Joaat("PLAYER");
    player.pos = pos;
    player.isPlayer = true;
    player.weapons = kRevolver;
    if (!terrain.BaseHeightSet()) {
        terrain.SetBaseHeight(pos.z);  // a world without ground of its own is flat under him
    }
    playerPed_ = AddPed(std::move(player));
    return playerPed_;
}

int32_t World::CreatePlayerHorse(const Vec3& pos) {
    SimPed horse;
    horse.modelName = "A_C_Horse_Arabian_White";
    horse.model = Joaat(horse.modelName);
    horse.human = false;
    horse.group = Joaat("REL_PLAYER_HORSE");
    horse.pos = pos;
    horse.isPlayerHorse = true;
    playerHorse_ = AddPed(std::move(horse));
    return playerHorse_;
}

// ---------------------------------------------------------------- blips

int32_t World::AddBlip(uint32_t style, int32_t entity) {
    if (!EntityExists(entity)) {
        return 0;
    }
    SimBlip blip;
    blip.handle = nextBlip_++;
    blip.entity = entity;
    blip.style = style;
    blips_[blip.handle] = blip;
    return blip.handle;
}

bool World::ClearBlip(int32_t blip) {
    auto it = blips_.find(blip);
    if (it == blips_.end()) {
        return false;
    }
    it->second.cleared = true;
    return true;
}

bool World::RemoveBlip(int32_t blip) {
    return blips_.erase(blip) > 0;
}

int32_t World::BlipForEntity(int32_t entity) const {
    for (const auto& entry : blips_) {
        if (entry.second.entity == entity) {
            return entry.first;
        }
    }
    return 0;
}

// ---------------------------------------------------------------- relationship groups

uint32_t World::AddRelationshipGroup(const std::string& name) {
    const uint32_t hash = Joaat(name);
    relationshipGroups_.insert(hash);
    return hash;
}

void World::SetRelationship(int level, uint32_t group1, uint32_t group2) {
    relationships_[(static_cast<uint64_t>(group1) << 32) | group2] = level;
}

int World::Relationship(uint32_t group1, uint32_t group2) const {
    auto it = relationships_.find((static_cast<uint64_t>(group1) << 32) | group2);
    return it == relationships_.end() ? 3 : it->second;  // 3: neutral
}

// ---------------------------------------------------------------- models and spawning

void World::RequestModel(uint32_t model) {
    modelsHeld_.insert(model);
    if (modelRequests_.find(model) == modelRequests_.end()) {
        modelRequests_[model] = nowMs_;
    }
}

void World::ReleaseModel(uint32_t model) {
    modelsHeld_.erase(model);
}

bool World::ModelLoaded(uint32_t model) const {
    // A hash that names no model never loads, as in the game.
    if (settings.neverLoadModels.count(model) > 0 ||
        (FindPedModel(model) == nullptr && FindVehicleModel(model) == nullptr)) {
        return false;
    }
    auto it = modelRequests_.find(model);
    return it != modelRequests_.end() && nowMs_ >= it->second + settings.modelLoadMs;
}

std::vector<int32_t> World::TakeRecentShooters() {
    std::vector<int32_t> shooters;
    shooters.swap(recentShooters_);
    return shooters;
}

// ---------------------------------------------------------------- figures

size_t World::OwnedPedCount() const {
    size_t owned = 0;
    for (const auto& entry : peds_) {
        if (entry.second.missionEntity && !entry.second.isPlayer) {
            ++owned;
        }
    }
    return owned;
}

void World::PlanNativeCrash(uint64_t hash, uint64_t nthCall) {
    crashHash_ = hash;
    crashCallsLeft_ = nthCall;
}
