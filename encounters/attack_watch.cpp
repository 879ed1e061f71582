#include "encounters/attack_watch.h"

#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
#include "world/nearby_scan.h"
#include "world/ped_moves.h"

namespace {

constexpr uint32_t kPassWaitMs = 500;

}  // namespace

void SendLawAfter(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    AddAggressorBlip(attack.aggressor, attack.blip);
    DispatchLawmen(lawmen, attack.aggressor, ledger, attack.lawmenSent);
}

void TreatAsCriminal(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (attack.madeCriminal.FirstTime()) {
        MarkAggressorCriminal(attack.aggressor);
    }
    SendLawAfter(attack, lawmen, ledger);
}

void JoinLawmenAgainstCriminal(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (lawmen.empty()) {
        attack.lawmenJoined.Rearm();
    } else if (attack.lawmenJoined.FirstTime(PedInGroup(attack.aggressor, "REL_CRIMINALS"))) {
        DispatchLawmen(lawmen, attack.aggressor, ledger, attack.lawmenSent);
    }
}

void WatchAttack(Attack& attack, const AttackWatch& watch, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        if (SceneMustEnd()) {
            GiveUpScene(attack, ledger);
            return;
        }
        const std::vector<Ped> lawmen = FindNearbyLawmen(attack.aggressor);
        watch.applyTriggers(lawmen);
        if (!CanPedAct(attack.aggressor)) {
            RemoveAggressorBlip(attack.blip);
            if (watch.afterAggressorLost) {
                watch.afterAggressorLost(lawmen);
            }
            ClearTasksOfPeds(lawmen);
            return;
        }
        const float distance = DistanceBetween(attack.playerPed, attack.aggressor);
        if (distance >= kPlayerLeftDistance) {
            LogPlayerLeftAggressor(distance);
            LetAggressorGo(attack, ledger);
            return;
        }
        // An attack that has not ended in five minutes (a killer who lives on near the
        // player) is given up like one the player left, and the lawmen it sent stand down.
        if (limit.Reached()) {
            LogWatchLimitReached(watch.what, "ending event.");
            GiveUpScene(attack, ledger);
            return;
        }
        YieldToGame(kPassWaitMs);
    }
}
