#include "encounters/event1_aggressor.h"

#include <vector>

#include "core/logger.h"
#include "encounters/attack_watch.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/candidate_filter.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

constexpr int kScanCapacity = 100;
constexpr uint32_t kVictimReleaseWaitMs = 1000;

// The fight as it is being watched: the attack, its victim and what befell the victim.
struct Confrontation : Attack {
    Ped victim = 0;
    Once victimGone;
    Once victimInjured;
};

// Draws the aggressor and then the victim from the candidates; false with fewer than two.
bool DrawAggressorAndVictim(std::vector<Ped>& candidates, Confrontation& fight) {
    if (candidates.size() < 2) {
        return false;
    }
    SeedRandomOnce("event1_aggressor");
    fight.aggressor = TakeDrawnPed(candidates);
    fight.victim = DrawPed(candidates);
    LogAssignedPair(fight.aggressor, fight.victim);
    return true;
}

void StageAttack(Confrontation& fight, PedLedger& ledger) {
    BeginConfrontation(fight, fight.victim, ledger);
    SetAggressorOn(fight.aggressor, fight.victim);
    Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is now attacking victim ", fight.victim);
}

// One look at the fight; each trigger acts once per encounter.
void ApplyTriggers(Confrontation& fight, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (fight.victimGone.WatchFor([&] { return !DOES_ENTITY_EXIST(fight.victim); })) {
        Log(LogLevel::Debug, "Victim ", fight.victim, " no longer exists");
        fight.victim = 0;
        MarkAggressorCriminal(fight.aggressor);
    }
    JoinLawmenAgainstCriminal(fight, lawmen, ledger);
    if (fight.shooting.FirstTime(IsPedShooting(fight.aggressor))) {
        Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is shooting, victim will fight back");
        ReactToAggressor(fight.victim, fight.aggressor);
        TreatAsCriminal(fight, lawmen, ledger);
    }
    if (fight.melee.FirstTime(IS_PED_IN_MELEE_COMBAT(fight.aggressor))) {
        Log(LogLevel::Debug, "Aggressor ", fight.aggressor, " is in melee combat");
        TASK_COMBAT_PED(fight.victim, fight.aggressor);
        MarkAggressorCriminal(fight.aggressor);
        SendLawAfter(fight, lawmen, ledger);
    }
    if (fight.victimInjured.FirstTime(IS_PED_INJURED(fight.victim))) {
        TreatAsCriminal(fight, lawmen, ledger);
    }
    if (fight.playerFought.FirstTime(IS_PED_IN_COMBAT(fight.aggressor, fight.playerPed))) {
        TreatAsCriminal(fight, lawmen, ledger);
    }
}

// The aggressor is dead, gone or tied up: the victim is calmed and handed back.
void CalmVictim(Confrontation& fight, PedLedger& ledger) {
    if (IsPedActive(fight.victim)) {
        CLEAR_PED_TASKS(fight.victim);
        YieldToGame(kVictimReleaseWaitMs);
        ledger.Release(&fight.victim);
        Log(LogLevel::Debug, "Victim ", fight.victim,
            " is no longer needed and has been released.");
    }
}

bool RunEvent1(PedLedger& ledger) {
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    std::vector<Ped> candidates = CollectConfrontationCandidates(scan);
    Confrontation fight;
    fight.playerPed = scan.playerPed;
    if (!DrawAggressorAndVictim(candidates, fight)) {
        Log(LogLevel::Info, kFoundNobodyLine,
            "2 valid NPCs within radius. Found: ", candidates.size(), " valid peds.");
        Log(LogLevel::Debug, "Event cannot proceed without at least 2 different NPCs");
        return true;
    }
    StageAttack(fight, ledger);
    WatchAttack(fight,
                {"Confrontation",
                 [&](const std::vector<Ped>& lawmen) { ApplyTriggers(fight, lawmen, ledger); },
                 [&](const std::vector<Ped>&) { CalmVictim(fight, ledger); }},
                ledger);
    return true;
}

}  // namespace

void event1_aggressor() {
    RunEncounter(IDENTITY_OF(event1_aggressor), RunEvent1);
}
