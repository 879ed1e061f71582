#include "world/ped_ledger.h"

#include <algorithm>

#include "host/natives.h"

void PedLedger::Own(Ped ped) {
    SET_ENTITY_AS_MISSION_ENTITY(ped);
    if (ped != 0 && !Holds(ped)) {
        owned_.push_back(ped);
    }
}

void PedLedger::Release(Ped* pedVariable) {
    owned_.erase(std::remove(owned_.begin(), owned_.end(), *pedVariable), owned_.end());
    SET_ENTITY_AS_NO_LONGER_NEEDED(pedVariable);
}

void PedLedger::ReleaseRemaining() {
    if (owned_.empty()) {
        return;
    }
    const Ped playerPed = GET_PLAYER_PED(PLAYER_ID());
    // Forget each ped before handing it back, so a fault midway never hands one back twice.
    while (!owned_.empty()) {
        Ped ped = owned_.front();
        owned_.erase(owned_.begin());
        // A vanished ped's handle may already name someone else's entity.
        if (ped == playerPed || !DOES_ENTITY_EXIST(ped)) {
            continue;
        }
        SET_ENTITY_AS_NO_LONGER_NEEDED(&ped);
    }
}

void PedLedger::ReleaseRemainingAfterFailure() noexcept {
    try {
        ReleaseRemaining();
    } catch (...) {
        // The failure already under way is the one worth reporting.
    }
}

bool PedLedger::Holds(Ped ped) const {
    return std::find(owned_.begin(), owned_.end(), ped) != owned_.end();
}
