// The attack by one ped near the player, on another ped or on the player, as events 1 and 2
// watch it: the aggressor turns criminal and draws the law once it shoots, fights or worse.
#pragma once

#include <functional>
#include <vector>

#include "encounters/aggressor_scene.h"
#include "encounters/once.h"

struct Attack : AggressorScene {
    Once madeCriminal;
    Once lawmenJoined;  // rearmed on every pass with no lawman near
    Once shooting;
    Once melee;
    Once playerFought;
};

// Marks the aggressor on the map and sends this pass's lawmen after it.
void SendLawAfter(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger);

// Criminal status (once), then SendLawAfter: what most triggers do.
void TreatAsCriminal(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger);

// The lawmen near an aggressor already in REL_CRIMINALS join in, once for each stretch of
// passes with lawmen near.
void JoinLawmenAgainstCriminal(Attack& attack, const std::vector<Ped>& lawmen, PedLedger& ledger);

// What differs between the attacks: the triggers of one pass, and what else is done when
// the aggressor is lost, between the removal of its blip and the stand-down of the lawmen.
struct AttackWatch {
    const char* what;  // names the attack in the watch-limit line
    std::function<void(const std::vector<Ped>& lawmen)> applyTriggers;
    std::function<void(const std::vector<Ped>& lawmen)> afterAggressorLost;  // may be empty
};

// Every half second: the lawmen near the aggressor and the triggers; ends when the aggressor
// is gone, dead or hogtied, the player has left it 150 m behind, or when a story mission starts
// or the watch limit is reached (then the aggressor is let go and the lawmen sent stand down).
void WatchAttack(Attack& attack, const AttackWatch& watch, PedLedger& ledger);
