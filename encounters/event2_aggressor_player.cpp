#include "encounters/event2_aggressor_player.h"

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

bool Event2SeededRandom = false;

namespace {

constexpr int kScanCapacity = 100;
constexpr float kEndDistance = 150.0f;
constexpr uint32_t kPollWaitMs = 500;

// The attack on the player as it is being watched.
struct AttackOnPlayer {
    Ped playerPed = 0;
    Ped aggressor = 0;
    AggressorBlip blip;
    bool madeCriminal = false;
    bool lawmenJoined = false;  // dropped on every pass with no lawman near
    bool firedShooting = false;
    bool firedMelee = false;
    bool firedCombat = false;
    std::vector<Ped> lawmenSent;  // every lawman sent after the aggressor
};

Ped DrawAggressor(std::vector<Ped>& candidates) {
    if (!Event2SeededRandom) {
        SeedRandom(static_cast<uint32_t>(platform::TickCount64()));
        Event2SeededRandom = true;
    }
    const int index = RandomInt() % static_cast<int>(candidates.size());
    const Ped aggressor = candidates[static_cast<size_t>(index)];
    candidates.erase(candidates.begin() + index);
    return aggressor;
}

void StageAttack(AttackOnPlayer& attack, PedLedger& ledger) {
    Log(LogLevel::Info, "Initiating NPC confrontation event");
    ledger.Own(attack.aggressor);
    // The player's ped is owned for the fight but never handed back (the ledger skips it).
    ledger.Own(attack.playerPed);
    SetAggressorOn(attack.aggressor, attack.playerPed);
    Log(LogLevel::Debug, "Aggressor ", attack.aggressor, " is now attacking player!");
}

// Criminal status (once), the blip and the lawmen of this pass.
void TreatAsCriminal(AttackOnPlayer& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (!attack.madeCriminal) {
        MarkAggressorCriminal(attack.aggressor);
        attack.madeCriminal = true;
    }
    AddAggressorBlip(attack.aggressor, attack.blip);
    DispatchLawmen(lawmen, attack.aggressor, ledger, attack.lawmenSent);
}

void ApplyTriggers(AttackOnPlayer& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (lawmen.empty()) {
        attack.lawmenJoined = false;
    } else if (PedInGroup(attack.aggressor, "REL_CRIMINALS") && !attack.lawmenJoined) {
        DispatchLawmen(lawmen, attack.aggressor, ledger, attack.lawmenSent);
        attack.lawmenJoined = true;
    }
    if (IsPedShooting(attack.aggressor) && !attack.firedShooting) {
        TreatAsCriminal(attack, lawmen, ledger);
        attack.firedShooting = true;
    }
    if (IS_PED_IN_MELEE_COMBAT(attack.aggressor) && !attack.firedMelee) {
        Log(LogLevel::Debug, "Aggressor ", attack.aggressor, " is in melee combat");
        MarkAggressorCriminal(attack.aggressor);
        AddAggressorBlip(attack.aggressor, attack.blip);
        DispatchLawmen(lawmen, attack.aggressor, ledger, attack.lawmenSent);
        attack.firedMelee = true;
    }
    if (IS_PED_IN_COMBAT(attack.aggressor, attack.playerPed) && !attack.firedCombat) {
        TreatAsCriminal(attack, lawmen, ledger);
        attack.firedCombat = true;
    }
}

void WatchAttack(AttackOnPlayer& attack, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        const std::vector<Ped> lawmen = FindNearbyLawmen(attack.aggressor);
        ApplyTriggers(attack, lawmen, ledger);
        if (!DOES_ENTITY_EXIST(attack.aggressor) || IS_ENTITY_DEAD(attack.aggressor) ||
            IS_PED_HOGTIED(attack.aggressor)) {
            RemoveAggressorBlip(attack.blip, attack.aggressor, false);
            ClearTasksOfPeds(lawmen);
            return;
        }
        const float distance = DistanceBetween(attack.playerPed, attack.aggressor);
        if (distance >= kEndDistance) {
            Log(LogLevel::Debug, "Player is ", distance,
                " meters away from aggressor, ending event.");
            LetAggressorGo(&attack.aggressor, attack.blip, ledger);
            return;
        }
        // An attacker the player never fights off is given up after five minutes like one the
        // player left, and the lawmen it sent stand down.
        if (limit.Reached()) {
            LogWatchLimitReached("Attack on the player", "ending event.");
            LetAggressorGo(&attack.aggressor, attack.blip, ledger);
            ClearTasksOfPeds(attack.lawmenSent);
            return;
        }
        scriptWait(kPollWaitMs);
    }
}

void RunEvent2(PedLedger& ledger) {
    AttackOnPlayer attack;
    attack.playerPed = GET_PLAYER_PED(PLAYER_ID());
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    std::vector<Ped> candidates = CollectConfrontationCandidates(scan);
    if (candidates.empty()) {
        Log(LogLevel::Info, "Could not find valid NPC within radius. Found: " +
                                std::to_string(candidates.size()) + " valid peds.");
        Log(LogLevel::Debug, "Event cannot proceed without at least 1 aggressor");
        return;
    }
    attack.aggressor = DrawAggressor(candidates);
    StageAttack(attack, ledger);
    WatchAttack(attack, ledger);
}

}  // namespace

void event2_aggressor_player() {
    RunEncounter({"event2_aggressor_player", 2, "event2_aggressor_player()"},
                 [](PedLedger& ledger) {
                     RunEvent2(ledger);
                     return true;
                 });
}
