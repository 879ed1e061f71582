#include "encounters/event6_horse_bucking.h"

#include <optional>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/logger.h"
#include "core/random.h"
#include "encounters/encounter_run.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_hook.h"
#include "world/candidate_filter.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"

namespace {

constexpr int kScanCapacity = 100;
constexpr float kEndDistance = 150.0f;
constexpr uint32_t kCycleWaitMs = 1000;
constexpr int kThrowBelowRoll = 50;  // out of 100

std::string Text(int value) {
    return std::to_string(value);
}

// A living rider near the player whom no script owns. Unlike the common candidate test there
// is no domestic-animal group, no huntable-model rule and no women setting.
bool IsValidRider(Ped ped, const NearbyScan& scan) {
    if (!IsUnownedOtherPed(ped, scan.playerPed)) {
        return false;
    }
    if (PedInAnyGroup(ped, {"REL_COP", "REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                            "REL_WILD_ANIMAL_BIRD", "REL_WILD_ANIMAL"})) {
        return false;
    }
    if (IsExcludedShopkeeper(ped)) {
        return false;
    }
    const float distance = VDIST(scan.playerPos, GET_ENTITY_COORDS(ped));
    if (distance > static_cast<float>(Config.SearchRadius)) {
        return false;
    }
    if (IS_ENTITY_DEAD(ped)) {
        return false;
    }
    if (!IS_PED_RIDING_MOUNT(ped)) {
        return false;
    }
    Log(LogLevel::Debug,
        "Valid victim found " + Text(ped) + " at distance: " + std::to_string(distance) + "m");
    return true;
}

// The rider is handed back, and a blip the game put on the rider removed.
void LetRiderGo(Ped& victim, PedLedger& ledger) {
    // The hand-back may clear the variable; the blip is looked up on the ped it named.
    const Ped rider = victim;
    ledger.Release(&victim);
    const Blip blip = GET_BLIP_FROM_ENTITY(rider);
    if (blip != 0) {
        REMOVE_BLIP(blip);
    }
}

// Watches the rider once a second until the rider is lost, the player is far away, or five
// minutes have passed (a thrown rider may stay near a player who stays put).
void WatchRider(Ped& victim, Ped horse, Ped playerPed, bool thrown, PedLedger& ledger) {
    const WatchLimit limit;
    bool throwHandled = false;
    for (;;) {
        scriptWait(kCycleWaitMs);
        if (!DOES_ENTITY_EXIST(victim) || IS_ENTITY_DEAD(victim) || IS_PED_HOGTIED(victim)) {
            return;
        }
        if (thrown && !throwHandled) {
            Log(LogLevel::Debug, "Victim " + Text(victim) + " has been kicked off the horse.");
            TASK_FLEE_PED(horse, victim);
            SET_PED_KEEP_TASK(horse);
            CLEAR_PED_TASKS(victim);
        } else {
            TASK_FLEE_PED(horse, playerPed);
            SET_PED_KEEP_TASK(horse);
        }
        throwHandled = true;
        if (thrown) {
            TASK_FLEE_PED(victim, horse);
            SET_PED_KEEP_TASK(victim);
        }
        const float distance = DistanceBetween(playerPed, victim);
        if (distance >= kEndDistance) {
            // The line says aggressor though the distance is the rider's; the wording is kept
            // as readers of the log know it.
            Log(LogLevel::Debug, "Player is " + std::to_string(distance) +
                                     " meters away from aggressor, ending event.");
            LetRiderGo(victim, ledger);
            return;
        }
        if (limit.Reached()) {
            LogWatchLimitReached("Bucking event", "ending event.");
            LetRiderGo(victim, ledger);
            return;
        }
    }
}

void RunEvent6(PedLedger& ledger) {
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    std::vector<Ped> candidates;
    for (const Ped ped : scan.handles) {
        if (IsValidRider(ped, scan)) {
            candidates.push_back(ped);
        }
    }
    Ped victim = 0;
    if (!candidates.empty()) {
        victim = candidates[static_cast<size_t>(RandomInt() % static_cast<int>(candidates.size()))];
        Log(LogLevel::Debug, "Randomly assigned victim: " + Text(victim));
    }
    if (victim == 0) {
        Log(LogLevel::Info, "Could not find valid NPCs within radius. Found: " +
                                std::to_string(candidates.size()) + " victims.");
        Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
        return;
    }
    Log(LogLevel::Info, "Initiating bucking event");
    ledger.Own(victim);
    const Ped horse = GET_MOUNT(victim);
    const int roll = RandomInt() % 100;
    const bool thrown = roll < kThrowBelowRoll;
    TASK_MOUNT_THROW_RIDER(horse, thrown);
    WatchRider(victim, horse, scan.playerPed, thrown, ledger);
}

}  // namespace

void event6_horse_bucking() {
    RunEncounter({"event6_horse_bucking", 6, "event6_horse_bucking"}, [](PedLedger& ledger) {
        RunEvent6(ledger);
        return true;
    });
}
