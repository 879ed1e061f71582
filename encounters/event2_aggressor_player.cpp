#include "encounters/event2_aggressor_player.h"

#include <vector>

#include "core/logger.h"
#include "encounters/attack_watch.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "host/natives.h"
#include "world/candidate_filter.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

constexpr int kScanCapacity = 100;

void StageAttack(Attack& attack, PedLedger& ledger) {
    // The player's ped is owned for the fight but never handed back (the ledger skips it).
    BeginConfrontation(attack, attack.playerPed, ledger);
    SetAggressorOn(attack.aggressor, attack.playerPed);
    Log(LogLevel::Debug, "Aggressor ", attack.aggressor, " is now attacking player!");
}

void ApplyTriggers(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    JoinLawmenAgainstCriminal(attack, lawmen, ledger);
    if (attack.shooting.FirstTime(IsPedShooting(attack.aggressor))) {
        TreatAsCriminal(attack, lawmen, ledger);
    }
    if (attack.melee.FirstTime(IS_PED_IN_MELEE_COMBAT(attack.aggressor))) {
        Log(LogLevel::Debug, "Aggressor ", attack.aggressor, " is in melee combat");
        MarkAggressorCriminal(attack.aggressor);
        SendLawAfter(attack, lawmen, ledger);
    }
    if (attack.playerFought.FirstTime(IS_PED_IN_COMBAT(attack.aggressor, attack.playerPed))) {
        TreatAsCriminal(attack, lawmen, ledger);
    }
}

bool RunEvent2(PedLedger& ledger) {
    Attack attack;
    attack.playerPed = GET_PLAYER_PED(PLAYER_ID());
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    std::vector<Ped> candidates = CollectConfrontationCandidates(scan);
    if (candidates.empty()) {
        Log(LogLevel::Info, kFoundNobodyLine, "valid NPC within radius. Found: 0 valid peds.");
        Log(LogLevel::Debug, "Event cannot proceed without at least 1 aggressor");
        return true;
    }
    SeedRandomOnce("event2_aggressor_player");
    attack.aggressor = TakeDrawnPed(candidates);
    StageAttack(attack, ledger);
    WatchAttack(
        attack,
        {"Attack on the player",
         [&](const std::vector<Ped>& lawmen) { ApplyTriggers(attack, lawmen, ledger); }, nullptr},
        ledger);
    return true;
}

}  // namespace

void event2_aggressor_player() {
    RunEncounter(IDENTITY_OF(event2_aggressor_player), RunEvent2);
}
