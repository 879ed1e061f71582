#include "world/aggressor_blip.h"

#include "core/config.h"
#include "host/natives.h"

void AddAggressorBlip(Ped aggressor, AggressorBlip& blip) {
    if (!Config.EnableBlips || blip.added) {
        return;
    }
    blip.handle = BLIP_ADD_FOR_ENTITY(game_constant::kBlipStyleEnemy, aggressor);
    blip.added = true;
}

void RemoveAggressorBlip(AggressorBlip& blip, Ped aggressor, bool fallback) {
    if (blip.handle != 0) {
        REMOVE_BLIP(blip.handle);
        blip.handle = 0;
        return;
    }
    if (!fallback) {
        return;
    }
    const Blip found = GET_BLIP_FROM_ENTITY(aggressor);
    if (found != 0) {
        REMOVE_BLIP(found);
    }
}
