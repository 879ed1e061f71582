#include "world/nearby_scan.h"

#include <algorithm>
#include <string>

#include "core/config.h"
#include "core/logger.h"
#include "host/natives.h"
#include "world/candidate_filter.h"

NearbyScan ScanNearbyPeds(int capacity) {
    NearbyScan scan;
    scan.playerPed = GET_PLAYER_PED(PLAYER_ID());
    scan.playerPos = GET_ENTITY_COORDS(scan.playerPed);
    Log(LogLevel::Debug, "Player Position: " + std::to_string(scan.playerPos.x) + ", " +
                             std::to_string(scan.playerPos.y) + ", " +
                             std::to_string(scan.playerPos.z));

    capacity = std::clamp(capacity, 0, kMaxScanCapacity);
    NearbyPedBuffer<kMaxScanCapacity> buffer;
    buffer.slots[0] = static_cast<uint64_t>(capacity);
    const int count = GET_PED_NEARBY_PEDS(scan.playerPed, buffer.slots);
    Log(LogLevel::Debug, "Found " + std::to_string(count) + " nearby peds");

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

std::vector<Ped> CollectConfrontationCandidates(const NearbyScan& scan) {
    const CandidateSettings settings = CurrentCandidateSettings();
    const float radius = static_cast<float>(Config.SearchRadius);
    std::vector<Ped> candidates;
    for (const Ped ped : scan.handles) {
        if (!IsValidCandidatePed(ped, scan.playerPed, settings)) {
            continue;
        }
        const float distance = VDIST(scan.playerPos, GET_ENTITY_COORDS(ped));
        if (distance > radius) {
            continue;
        }
        if (IS_ENTITY_DEAD(ped)) {
            continue;
        }
        if (IS_PED_IN_ANY_VEHICLE(ped)) {
            continue;
        }
        Log(LogLevel::Debug, "Valid ped found " + std::to_string(ped) +
                                 " at distance: " + std::to_string(distance) + "m");
        candidates.push_back(ped);
    }
    return candidates;
}
