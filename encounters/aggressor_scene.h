// What an encounter with an aggressor keeps of its scene, and the moves on it that several
// encounters share.
#pragma once

#include <cstdint>
#include <vector>

#include "host/game_types.h"
#include "world/aggressor_blip.h"

class PedLedger;

struct AggressorScene {
    Ped playerPed = 0;
    Ped aggressor = 0;
    AggressorBlip blip;
    std::vector<Ped> lawmenSent;  // every lawman set on the aggressor, to stand down at the end
};

// The player who has gone this far from the aggressor has left the encounter behind.
constexpr float kPlayerLeftDistance = 150.0f;

// Logs "Initiating NPC confrontation event" and owns the aggressor, then its target.
void BeginConfrontation(const AggressorScene& scene, Ped target, PedLedger& ledger);

// Logs "Randomly assigned aggressor: <aggressor>" and "Randomly assigned victim: <victim>".
void LogAssignedPair(Ped aggressor, Ped victim);

// Whether the aggressor or its victim is dead or gone; if so, logs that the confrontation ends.
bool EitherPartyDown(const AggressorScene& scene, Ped victim);

// Hands the aggressor back through the ledger and removes its blip (LetPedGo).
void LetAggressorGo(AggressorScene& scene, PedLedger& ledger);

// The scene is given up (a story mission, a watch limit): the aggressor is let go and every
// lawman sent after it stands down.
void GiveUpScene(AggressorScene& scene, PedLedger& ledger,
                 void (*letGo)(AggressorScene& scene, PedLedger& ledger) = LetAggressorGo);

// Logs "Player is <distance> meters away from aggressor, ending event.".
void LogPlayerLeftAggressor(float distance);

// When the watch of an aggressor's departure lets it go.
struct Departure {
    float distance;                                           // from the player, or more
    const char* line;                                         // logged each time
    void (*letGo)(AggressorScene& scene, PedLedger& ledger);  // hands it back
};

constexpr uint32_t kDeparturePassWaitMs = 1000;

// The last watch of an aggressor who may linger near the player: every kDeparturePassWaitMs
// until it is gone, dead or hogtied, a story mission starts (it is let go and the lawmen sent
// stand down), or the watch limit has passed. On every pass it stands the departure's distance
// from the player, the line is logged and it is let go (a hand-back that clears the variable
// ends the watch on the next pass). The kept blip goes at the end.
void WatchAggressorDepart(AggressorScene& scene, const Departure& departure, PedLedger& ledger);
