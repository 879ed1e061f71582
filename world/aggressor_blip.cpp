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

void RemoveAggressorBlip(AggressorBlip& blip) {
    if (blip.handle == 0) {
        return;
    }
    REMOVE_BLIP(blip.handle);
    blip.handle = 0;
    blip.removed = true;
}

void RemoveAnyBlipOn(Ped ped, AggressorBlip& blip) {
    if (blip.handle != 0) {
        RemoveAggressorBlip(blip);
        return;
    }
    const Blip found = GET_BLIP_FROM_ENTITY(ped);
    if (found != 0) {
        REMOVE_BLIP(found);
    }
}
