#include "world/ped_moves.h"

#include <algorithm>
#include <optional>

#include "core/logger.h"
#include "core/random.h"
#include "host/natives.h"
#include "world/candidate_filter.h"
#include "world/identifier_hash.h"
#include "world/ped_ledger.h"

namespace {

constexpr int kLawmenQueryCapacity = 200;
constexpr int kBystanderQueryCapacity = 50;

const IdentifierList kLawGroup = {"REL_COP"};
const IdentifierList kNotBystanderGroups = {"REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES", "REL_COP"};

// The peds the game lists around the centre ped, at most Capacity of them.
template <int Capacity>
std::vector<Ped> PedsAround(Ped centerPed) {
    NearbyPedBuffer<Capacity> buffer;
    buffer.slots[0] = static_cast<uint64_t>(Capacity);
    const int count = std::clamp(GET_PED_NEARBY_PEDS(centerPed, buffer.slots), 0, Capacity);
    std::vector<Ped> peds;
    peds.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        peds.push_back(static_cast<Ped>(static_cast<uint32_t>(buffer.slots[i])));
    }
    return peds;
}

}  // namespace

bool IsPedActive(Ped ped) {
    return DOES_ENTITY_EXIST(ped) && !IS_ENTITY_DEAD(ped);
}

bool CanPedAct(Ped ped) {
    return IsPedActive(ped) && !IS_PED_HOGTIED(ped);
}

std::vector<Ped> FindNearbyLawmen(Ped centerPed) {
    std::vector<Ped> lawmen;
    for (const Ped ped : PedsAround<kLawmenQueryCapacity>(centerPed)) {
        if (PedInAnyGroup(ped, kLawGroup)) {
            lawmen.push_back(ped);
        }
    }
    return lawmen;
}

std::vector<Ped> FindNearbyBystanders(Ped centerPed, Ped excludedPed) {
    std::vector<Ped> bystanders;
    std::optional<Ped> playerPed;  // asked the first time it is needed, once
    for (const Ped ped : PedsAround<kBystanderQueryCapacity>(centerPed)) {
        if (ped == excludedPed) {
            continue;
        }
        if (!playerPed) {
            playerPed = GET_PLAYER_PED(PLAYER_ID());
        }
        if (ped == *playerPed) {
            continue;
        }
        if (PedInAnyGroup(ped, kNotBystanderGroups)) {
            continue;
        }
        bystanders.push_back(ped);
    }
    return bystanders;
}

void ReactToAggressor(Ped reactor, Ped aggressor) {
    if (!DOES_ENTITY_EXIST(reactor) || IS_ENTITY_DEAD(reactor) || !DOES_ENTITY_EXIST(aggressor) ||
        IS_ENTITY_DEAD(aggressor)) {
        return;
    }
    if (IS_PED_FLEEING(reactor)) {
        Log(LogLevel::Debug, "Ped ", reactor, " is already fleeing from aggressor ", aggressor);
        return;
    }
    if (RandomInt() % 2 == 1) {
        Log(LogLevel::Debug, "Ped ", reactor, " is fleeing from aggressor ", aggressor);
        TASK_FLEE_PED(reactor, aggressor);
    } else {
        Log(LogLevel::Debug, "Ped ", reactor, " is fighting back against aggressor ", aggressor);
        TASK_COMBAT_PED(reactor, aggressor);
    }
    SET_PED_KEEP_TASK(reactor);
}

void SetAggressorOn(Ped aggressor, Ped target) {
    CLEAR_PED_TASKS(aggressor);
    CLEAR_PED_SECONDARY_TASK(aggressor);
    if (IS_PED_HUMAN(aggressor)) {
        TASK_COMBAT_PED(aggressor, target);
        Log(LogLevel::Debug, "Aggressor ", aggressor, " is human and will use TASK_COMBAT_PED");
    } else {
        TASK_COMBAT_ANIMAL_CHARGE_PED(aggressor, target);
        Log(LogLevel::Debug, "Aggressor ", aggressor,
            " is animal and will use TASK_COMBAT_ANIMAL_CHARGE_PED");
    }
    SET_PED_KEEP_TASK(aggressor);
}

void MarkAggressorCriminal(Ped aggressor) {
    SET_PED_RELATIONSHIP_GROUP_HASH(aggressor, IdentifierHash("REL_CRIMINALS"));
}

void OwnLawman(Ped lawman, PedLedger& ledger) {
    Log(LogLevel::Debug, "Nearby lawman found: ", lawman);
    ledger.Own(lawman);
}

void FightPed(Ped fighter, Ped target) {
    TASK_COMBAT_PED(fighter, target);
    SET_PED_KEEP_TASK(fighter);
}

void FleeFromPed(Ped ped, Ped threat) {
    TASK_FLEE_PED(ped, threat);
    SET_PED_KEEP_TASK(ped);
}

void DispatchLawmen(const std::vector<Ped>& lawmen, Ped aggressor, PedLedger& ledger,
                    std::vector<Ped>& sent) {
    for (const Ped lawman : lawmen) {
        OwnLawman(lawman, ledger);
        FightPed(lawman, aggressor);
        NoteOnce(sent, lawman);
    }
}

void NoteOnce(std::vector<Ped>& peds, Ped ped) {
    if (std::find(peds.begin(), peds.end(), ped) == peds.end()) {
        peds.push_back(ped);
    }
}

void LetPedGo(Ped* pedVariable, AggressorBlip& blip, PedLedger& ledger) {
    const Ped named = *pedVariable;
    ledger.Release(pedVariable);
    RemoveAnyBlipOn(named, blip);
}

void LetPedGo(Ped* pedVariable, PedLedger& ledger) {
    AggressorBlip none;
    LetPedGo(pedVariable, none, ledger);
}

void ClearTasksOfPeds(std::vector<Ped> peds) {
    for (const Ped ped : peds) {
        CLEAR_PED_TASKS(ped);
    }
}
