// The world's ground, collision, water and ped pool, as the natives that read them see it,
// and what becomes of a ped created where nobody could stand.
#include <cmath>

#include "sim/world/world.h"

namespace {
constexpr float kOnGroundTolerance = 0.5f;  // a new ped this close to the ground stands on it
constexpr float kProbeAllowance = 0.05f;    // a probe from the ground's own height finds it
}  // namespace

void World::RequestCollision(const Vec3& pos) {
    collisionRequests_.emplace_back(pos, nowMs_);
}

bool World::CollisionLoaded(float x, float y) const {
    const Vec3 at{x, y, 0};
    const Vec3 player = EntityPosition(playerPed_, false);
    if (std::hypot(player.x - x, player.y - y) <= settings.collisionRange) {
        return true;
    }
    // A request takes effect by the next frame, not within the frame that asked.
    for (const auto& request : collisionRequests_) {
        if (request.second < nowMs_ && std::hypot(request.first.x - at.x, request.first.y - at.y) <=
                                           settings.requestedCollisionRange) {
            return true;
        }
    }
    return false;
}

bool World::ProbeGround(float x, float y, float z, float* groundZ) const {
    if (!terrain.HasGround(x, y) || !CollisionLoaded(x, y)) {
        return false;
    }
    const float ground = terrain.GroundHeight(x, y);
    if (z + kProbeAllowance < ground) {
        return false;  // the probe starts inside the ground and finds nothing below
    }
    *groundZ = ground;
    return true;
}

bool World::EntityInWater(int32_t entity) const {
    if (!EntityExists(entity)) {
        return false;
    }
    const Vec3 pos = EntityPosition(entity, true);
    float surface = 0;
    return terrain.WaterSurface(pos.x, pos.y, &surface) && pos.z < surface + kOnGroundTolerance &&
           terrain.WaterDepth(pos.x, pos.y) > 0;
}

bool World::PlaceOnGround(int32_t entity) {
    SimPed* ped = FindPed(entity);
    if (ped == nullptr) {
        return EntityExists(entity);
    }
    if (ped->stuck || !terrain.HasGround(ped->pos.x, ped->pos.y)) {
        return false;
    }
    ped->falling = false;
    ped->fallSpeed = 0;
    MoveEntity(entity,
               Vec3{ped->pos.x, ped->pos.y, terrain.StandingHeight(ped->pos.x, ped->pos.y)});
    return true;
}

int World::FreePedSlots() const {
    const int used = static_cast<int>(peds_.size());
    return used >= settings.pedPoolSize ? 0 : settings.pedPoolSize - used;
}

void World::SettleCreatedPed(SimPed& ped) {
    const float x = ped.pos.x;
    const float y = ped.pos.y;
    if (!terrain.HasGround(x, y)) {
        ped.falling = true;  // off the map's edge, nothing to land on
        ped.fallFromZ = ped.pos.z;
        ++pedsCreatedInAir_;
        return;
    }
    const float ground = terrain.GroundHeight(x, y);
    if (ped.pos.z < ground - kOnGroundTolerance) {
        ped.stuck = true;
        ++pedsCreatedBelowGround_;
        return;
    }
    if (terrain.WaterDepth(x, y) > Terrain::kDeepWater &&
        ped.pos.z < terrain.StandingHeight(x, y) + kOnGroundTolerance) {
        ped.pos.z = terrain.StandingHeight(x, y);
        ++pedsCreatedInWater_;
        return;
    }
    if (ped.pos.z > terrain.StandingHeight(x, y) + kOnGroundTolerance) {
        ped.falling = true;
        ped.fallFromZ = ped.pos.z;
        ++pedsCreatedInAir_;
    }
}
