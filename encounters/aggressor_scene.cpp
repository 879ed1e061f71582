#include "encounters/aggressor_scene.h"

#include "core/logger.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/free_play.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

void LetAggressorGo(AggressorScene& scene, PedLedger& ledger) {
    LetPedGo(&scene.aggressor, scene.blip, ledger);
}

void GiveUpScene(AggressorScene& scene, PedLedger& ledger,
                 void (*letGo)(AggressorScene& scene, PedLedger& ledger)) {
    letGo(scene, ledger);
    ClearTasksOfPeds(scene.lawmenSent);
}

void BeginConfrontation(const AggressorScene& scene, Ped target, PedLedger& ledger) {
    Log(LogLevel::Info, "Initiating NPC confrontation event");
    ledger.Own(scene.aggressor);
    ledger.Own(target);
}

void LogAssignedPair(Ped aggressor, Ped victim) {
    Log(LogLevel::Debug, "Randomly assigned aggressor: ", aggressor);
    Log(LogLevel::Debug, "Randomly assigned victim: ", victim);
}

bool EitherPartyDown(const AggressorScene& scene, Ped victim) {
    if (IsPedActive(scene.aggressor) && IsPedActive(victim)) {
        return false;
    }
    Log(LogLevel::Debug, "One of the peds is dead or no longer exists, ending confrontation");
    return true;
}

void LogPlayerLeftAggressor(float distance) {
    Log(LogLevel::Debug, "Player is ", distance, " meters away from aggressor, ending event.");
}

void WatchAggressorDepart(AggressorScene& scene, const Departure& departure, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        YieldToGame(kDeparturePassWaitMs);
        if (!CanPedAct(scene.aggressor)) {
            break;
        }
        if (SceneMustEnd()) {
            GiveUpScene(scene, ledger, departure.letGo);
            break;
        }
        if (limit.Reached()) {
            LogWatchLimitReached("Watch", "ending confrontation");
            break;
        }
        if (DistanceFromPlayer(scene.playerPed, scene.aggressor) >= departure.distance) {
            Log(LogLevel::Debug, departure.line);
            departure.letGo(scene, ledger);
        }
    }
    RemoveAggressorBlip(scene.blip);
}
