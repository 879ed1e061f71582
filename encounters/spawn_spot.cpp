#include "encounters/spawn_spot.h"

#include <cmath>

#include "core/logger.h"
#include "host/natives.h"
#include "host/script_wait.h"

namespace {

constexpr float kPi = 3.14159265f;

// Turns from the first bearing, in degrees: the far side first, then ever wider either side.
constexpr float kBearingTurns[kSpawnBearings] = {0, 40, -40, 80, -80, 120, -120, 160, -160, 20};

}  // namespace

Vector3 SpawnCandidate(const Vector3& prey, const Vector3& player, float distance, int attempt) {
    const float dx = prey.x - player.x;
    const float dy = prey.y - player.y;
    // Prey standing where the player stands (the player himself) has no far side: east then.
    const float away = dx * dx + dy * dy > 1.0f ? std::atan2(dy, dx) : 0.0f;
    const float bearing = away + kBearingTurns[attempt % kSpawnBearings] * kPi / 180.0f;
    return Vector3{prey.x + distance * std::cos(bearing), prey.y + distance * std::sin(bearing),
                   prey.z};
}

bool FindGroundSpot(const Vector3& candidate, Vector3* spot) {
    REQUEST_COLLISION_AT_COORD(candidate.x, candidate.y, candidate.z);
    YieldToGame(0);  // collision streams in by the next frame
    float ground = 0;
    bool found = false;
    float probe = candidate.z;
    for (int tries = 0; tries < kGroundProbeTries && !found; ++tries, probe += kGroundProbeRise) {
        found = GET_GROUND_Z_FOR_3D_COORD(candidate.x, candidate.y, probe, &ground);
    }
    if (!found) {
        Log(LogLevel::Debug, "No ground found at (", candidate.x, ", ", candidate.y,
            "), trying another spot");
        return false;
    }
    float surface = 0;
    if (GET_WATER_HEIGHT_NO_WAVES(candidate.x, candidate.y, ground, &surface) && surface > ground) {
        Log(LogLevel::Debug, "Water at (", candidate.x, ", ", candidate.y,
            "), trying another spot");
        return false;
    }
    *spot = Vector3{candidate.x, candidate.y, ground};
    return true;
}
