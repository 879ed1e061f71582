// Where a new animal can be put down: on the ground, out of water, some way from its prey,
// found the way the game's own animal-attack scripts find it.
#pragma once

#include "host/game_types.h"

// How many bearings the spawn tries around its prey, one per attempt, before it starts over.
constexpr int kSpawnBearings = 10;
// The ground probe starts at the prey's height and is raised this far for each try, this many
// times, so a spot uphill is found too.
constexpr float kGroundProbeRise = 50.0f;
constexpr int kGroundProbeTries = 10;

// The point `distance` metres from `prey` on the attempt's bearing. The first bearing leads
// away from the player (the spot farthest from him); later ones turn either side of it, so
// a river or a cliff on one side does not fail every attempt.
Vector3 SpawnCandidate(const Vector3& prey, const Vector3& player, float distance, int attempt);

// Asks for collision at the candidate, waits one frame for it, probes for the ground and
// rejects water. True with `spot` on the ground when a ped can be put there.
bool FindGroundSpot(const Vector3& candidate, Vector3* spot);
