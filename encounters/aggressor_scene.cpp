#include "encounters/aggressor_scene.h"

#include "core/logger.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_hook.h"
#include "world/nearby_scan.h"
#include "world/ped_moves.h"

void LetAggressorGo(AggressorScene& scene, PedLedger& ledger) {
    LetPedGo(&scene.aggressor, scene.blip, ledger);
}

void LogPlayerLeftAggressor(float distance) {
    Log(LogLevel::Debug, "Player is ", distance, " meters away from aggressor, ending event.");
}

void WatchAggressorDepart(AggressorScene& scene, const Departure& departure, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        scriptWait(kDeparturePassWaitMs);
        if (!CanPedAct(scene.aggressor)) {
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
