// The look around the player every encounter starts with, and the candidate pass that
// events 1 and 2 run over it.
#pragma once

#include <vector>

#include "host/game_types.h"

// The most handles one scan may ask for (the largest capacity an encounter uses).
constexpr int kMaxScanCapacity = 200;

struct NearbyScan {
    Player player = 0;
    Ped playerPed = 0;
    Vector3 playerPos{};
    std::vector<Ped> handles;  // as the game returned them, at most the capacity asked for
};

// Reads the player, the player's ped and position (logging the position), asks the game for up to
// `capacity` peds around the player (logging the count) and returns the raw handles.
// Capacities above kMaxScanCapacity are cut down to it.
NearbyScan ScanNearbyPeds(int capacity);

// VDIST between the current positions of two entities, the first read first.
float DistanceBetween(Entity first, Entity second);
// VDIST from the player's ped to the ped, the ped's position read first.
float DistanceFromPlayer(Ped playerPed, Ped ped);

// The candidate pass of events 1 and 2 (kConfrontationRules), in scan order.
std::vector<Ped> CollectConfrontationCandidates(const NearbyScan& scan);
