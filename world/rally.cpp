#include "world/rally.h"

#include "core/logger.h"
#include "host/natives.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

void AnnounceLawman(Ped lawman, Ped aggressor) {
    Log(LogLevel::Debug, "Nearby lawman ", lawman, " is engaging aggressor ", aggressor);
}

void AnnounceBystander(Ped bystander, Ped aggressor) {
    Log(LogLevel::Debug, "Nearby citizen ", bystander, " is reacting to aggressor ", aggressor);
}

}  // namespace

const Rally kLawmenEngage = {TASK_COMBAT_PED, RallyLasts::WhileAggressorActive, AnnounceLawman};
const Rally kBystandersFlee = {TASK_FLEE_PED, RallyLasts::WhileAggressorActive, AnnounceBystander};
const Rally kBystandersFleeOrFightBack = {ReactToAggressor, RallyLasts::WhileAggressorActive,
                                          AnnounceBystander};

int RallyAgainst(Ped aggressor, const std::vector<Ped>& peds, const Rally& rally, PedLedger* owner,
                 std::vector<Ped>* ralliedPeds) {
    int count = 0;
    for (const Ped ped : peds) {
        if (rally.lasts == RallyLasts::WhileAggressorActive && !IsPedActive(aggressor)) {
            break;
        }
        if (!IsPedActive(ped)) {
            continue;
        }
        if (owner != nullptr) {
            owner->Own(ped);
        }
        rally.order(ped, aggressor);
        SET_PED_KEEP_TASK(ped);
        if (rally.announce != nullptr) {
            rally.announce(ped, aggressor);
        }
        if (ralliedPeds != nullptr) {
            NoteOnce(*ralliedPeds, ped);
        }
        ++count;
    }
    return count;
}
