// Turning the peds around an aggressor on it: lawmen sent after it, bystanders scattering.
#pragma once

#include <vector>

#include "host/game_types.h"

class PedLedger;

// How far down the list a rally goes.
enum class RallyLasts {
    WhileAggressorActive,  // it stops at the first ped met once the aggressor is down or gone
    ThroughTheList,
};

struct Rally {
    void (*order)(Ped ped, Ped aggressor);  // the task a rallied ped is given
    RallyLasts lasts;
    void (*announce)(Ped ped, Ped aggressor);  // logs the line for a rallied ped; may be null
};

// Lawmen fight the aggressor: "Nearby lawman <ped> is engaging aggressor <aggressor>".
extern const Rally kLawmenEngage;
// Bystanders run: "Nearby citizen <ped> is reacting to aggressor <aggressor>".
extern const Rally kBystandersFlee;
// Bystanders run or fight back (ReactToAggressor), with the same line.
extern const Rally kBystandersFleeOrFightBack;

// Each ped of the list in turn, for as long as the rally lasts: a ped that is gone or dead is
// passed over; any other is owned through `owner` when one is given, given the order, keeps the
// task, is announced and noted (once) in `rallied` when that is given. Returns how many peds
// were rallied.
int RallyAgainst(Ped aggressor, const std::vector<Ped>& peds, const Rally& rally,
                 PedLedger* owner = nullptr, std::vector<Ped>* rallied = nullptr);
