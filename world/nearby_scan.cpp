#include "world/nearby_scan.h"

#include <algorithm>

#include "core/logger.h"
#include "host/natives.h"
#include "world/candidate_filter.h"

NearbyScan ScanNearbyPeds(int capacity) {
    NearbyScan scan;
    scan.player = PLAYER_ID();
    scan.playerPed = GET_PLAYER_PED(scan.player);
    scan.playerPos = GET_ENTITY_COORDS(scan.playerPed);
    Log(LogLevel::Debug, "Player Position: ", scan.playerPos.x, ", ", scan.playerPos.y, ", ",
        scan.playerPos.z);

    capacity = std::clamp(capacity, 0, kMaxScanCapacity);
    NearbyPedBuffer<kMaxScanCapacity> buffer;
    buffer.slots[0] = static_cast<uint64_t>(capacity);
    const int count = GET_PED_NEARBY_PEDS(scan.playerPed, buffer.slots);
    Log(LogLevel::Debug, "Found ", count, " nearby peds");

    // Never trust the count beyond the slots we offered.
    const int readable = std::clamp(count, 0, capacity);
    scan.handles.reserve(static_cast<size_t>(readable));
    for (int i = 1; i <= readable; ++i) {
        scan.handles.push_back(static_cast<Ped>(static_cast<uint32_t>(buffer.slots[i])));
    }
    return scan;
}

float DistanceBetween(Entity first, Entity second) {
    const Vector3 firstPos = GET_ENTITY_COORDS(first);
    const Vector3 secondPos = GET_ENTITY_COORDS(second);
    return VDIST(firstPos, secondPos);
}

float DistanceFromPlayer(Ped playerPed, Ped ped) {
    const Vector3 pedPos = GET_ENTITY_COORDS(ped);
    return VDIST(GET_ENTITY_COORDS(playerPed), pedPos);
}

std::vector<Ped> CollectConfrontationCandidates(const NearbyScan& scan) {
    return CollectByRules(scan, kConfrontationRules, "Valid ped found ");
}
