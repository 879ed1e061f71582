#include "encounters/event1_aggressor.h"

#include <string>
#include <vector>

#include "core/logger.h"
#include "core/random.h"
#include "encounters/encounter_run.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_hook.h"
#include "platform/platform.h"
#include "world/aggressor_blip.h"
#include "world/candidate_filter.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

bool Event1SeededRandom = false;

namespace {

constexpr int kScanCapacity = 100;
constexpr float kEndDistance = 150.0f;
constexpr uint32_t kCycleWaitMs = 500;
constexpr uint32_t kVictimReleaseWaitMs = 1000;

// The fight as it is being watched: who is in it and what has been done about it.
struct Confrontation {
    Ped playerPed = 0;
    Ped aggressor = 0;
    Ped victim = 0;
    AggressorBlip blip;
    bool criminal = false;
    bool victimGone = false;
    bool shootingHandled = false;
    bool meleeHandled = false;
    bool injuredHandled = false;
    bool playerCombatHandled = false;
    bool lawmenDispatched = false;
    std::vector<Ped> lawmenSent;  // every lawman sent after the aggressor
};

// Draws the aggressor and then the victim from the candidates; false with fewer than two.
bool DrawAggressorAndVictim(std::vector<Ped>& candidates, Confrontation& fight) {
    if (candidates.size() < 2) {
        return false;
    }
    if (!Event1SeededRandom) {
        SeedRandom(static_cast<uint32_t>(platform::TickCount64()));
        Event1SeededRandom = true;
    }
    const int count = static_cast<int>(candidates.size());
    const int aggressorIndex = RandomInt() % count;
    fight.aggressor = candidates[static_cast<size_t>(aggressorIndex)];
    candidates.erase(candidates.begin() + aggressorIndex);
    fight.victim = candidates[static_cast<size_t>(RandomInt() % (count - 1))];
    Log(LogLevel::Debug, "Randomly assigned aggressor: ", fight.aggressor);
    Log(LogLevel::Debug, "Randomly assigned victim: ", fight.victim);
    return true;
}

void StageAttack(Confrontation& fight, PedLedger& ledger) {
    Log(LogLevel::Info, "Initiating NPC confrontation event");
    ledger.Own(fight.aggressor);
    ledger.Own(fight.victim);
    SetAggressorOn(fight.aggressor, fight.victim);
    Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is now attacking victim ", fight.victim);
}

// Criminal status (once), the blip and the lawmen of this cycle: what every trigger but
// melee does.
void TreatAsCriminal(Confrontation& fight, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (!fight.criminal) {
        MarkAggressorCriminal(fight.aggressor);
        fight.criminal = true;
    }
    AddAggressorBlip(fight.aggressor, fight.blip);
    DispatchLawmen(lawmen, fight.aggressor, ledger, fight.lawmenSent);
}

// One look at the fight; each trigger acts once per encounter.
void ApplyTriggers(Confrontation& fight, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (lawmen.empty()) {
        fight.lawmenDispatched = false;
    }
    if (!fight.victimGone && !DOES_ENTITY_EXIST(fight.victim)) {
        Log(LogLevel::Debug, "Victim ", fight.victim, " no longer exists");
        fight.victim = 0;
        MarkAggressorCriminal(fight.aggressor);
        fight.victimGone = true;
    }
    if (!lawmen.empty() && PedInGroup(fight.aggressor, "REL_CRIMINALS") &&
        !fight.lawmenDispatched) {
        DispatchLawmen(lawmen, fight.aggressor, ledger, fight.lawmenSent);
        fight.lawmenDispatched = true;
    }
    if (IsPedShooting(fight.aggressor) && !fight.shootingHandled) {
        Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is shooting, victim will fight back");
        ReactToAggressor(fight.victim, fight.aggressor);
        TreatAsCriminal(fight, lawmen, ledger);
        fight.shootingHandled = true;
    }
    if (IS_PED_IN_MELEE_COMBAT(fight.aggressor) && !fight.meleeHandled) {
        Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is in melee combat");
        TASK_COMBAT_PED(fight.victim, fight.aggressor);
        MarkAggressorCriminal(fight.aggressor);
        AddAggressorBlip(fight.aggressor, fight.blip);
        DispatchLawmen(lawmen, fight.aggressor, ledger, fight.lawmenSent);
        fight.meleeHandled = true;
    }
    if (IS_PED_INJURED(fight.victim) && !fight.injuredHandled) {
        TreatAsCriminal(fight, lawmen, ledger);
        fight.injuredHandled = true;
    }
    if (IS_PED_IN_COMBAT(fight.aggressor, fight.playerPed) && !fight.playerCombatHandled) {
        TreatAsCriminal(fight, lawmen, ledger);
        fight.playerCombatHandled = true;
    }
}

// The aggressor is dead, gone or tied up: the victim is calmed and handed back, the lawmen
// stand down.
void EndAfterAggressorLost(Confrontation& fight, const std::vector<Ped>& lawmen,
                           PedLedger& ledger) {
    RemoveAggressorBlip(fight.blip, fight.aggressor, false);
    if (DOES_ENTITY_EXIST(fight.victim) && !IS_ENTITY_DEAD(fight.victim)) {
        CLEAR_PED_TASKS(fight.victim);
        scriptWait(kVictimReleaseWaitMs);
        ledger.Release(&fight.victim);
        Log(LogLevel::Debug, "Victim ", fight.victim,
            " is no longer needed and has been released.");
    }
    ClearTasksOfPeds(lawmen);
}

// The player has walked away: the aggressor is handed back and its blip removed.
void EndAfterPlayerLeft(Confrontation& fight, float distance, PedLedger& ledger) {
    Log(LogLevel::Debug, "Player is ", distance, " meters away from aggressor, ending event.");
    LetAggressorGo(&fight.aggressor, fight.blip, ledger);
}

// A fight that has not ended in five minutes (a killer who lives on near the player) is given
// up like one the player left, and the lawmen it sent stand down.
void EndAfterWatchLimit(Confrontation& fight, PedLedger& ledger) {
    LogWatchLimitReached("Confrontation", "ending event.");
    LetAggressorGo(&fight.aggressor, fight.blip, ledger);
    ClearTasksOfPeds(fight.lawmenSent);
}

void WatchConfrontation(Confrontation& fight, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        const std::vector<Ped> lawmen = FindNearbyLawmen(fight.aggressor);
        ApplyTriggers(fight, lawmen, ledger);
        if (!DOES_ENTITY_EXIST(fight.aggressor) || IS_ENTITY_DEAD(fight.aggressor) ||
            IS_PED_HOGTIED(fight.aggressor)) {
            EndAfterAggressorLost(fight, lawmen, ledger);
            return;
        }
        const float distance = DistanceBetween(fight.playerPed, fight.aggressor);
        if (distance >= kEndDistance) {
            EndAfterPlayerLeft(fight, distance, ledger);
            return;
        }
        if (limit.Reached()) {
            EndAfterWatchLimit(fight, ledger);
            return;
        }
        scriptWait(kCycleWaitMs);
    }
}

void RunEvent1(PedLedger& ledger) {
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    std::vector<Ped> candidates = CollectConfrontationCandidates(scan);
    Confrontation fight;
    fight.playerPed = scan.playerPed;
    if (!DrawAggressorAndVictim(candidates, fight)) {
        Log(LogLevel::Info, "Could not find 2 valid NPCs within radius. Found: " +
                                std::to_string(candidates.size()) + " valid peds.");
        Log(LogLevel::Debug, "Event cannot proceed without at least 2 different NPCs");
        return;
    }
    StageAttack(fight, ledger);
    WatchConfrontation(fight, ledger);
}

}  // namespace

void event1_aggressor() {
    RunEncounter({"event1_aggressor", 1, "event1_aggressor"}, [](PedLedger& ledger) {
        RunEvent1(ledger);
        return true;
    });
}
