// The one map marker an encounter may put on its aggressor.
#pragma once

#include "host/game_types.h"

struct AggressorBlip {
    Blip handle = 0;     // 0 when none is kept (never added, or already removed)
    bool added = false;  // stays set: an encounter adds at most one blip
};

// Marks the aggressor on the map, when EnableBlips is on and no blip was added yet.
void AddAggressorBlip(Ped aggressor, AggressorBlip& blip);

// Removes the kept blip (once; the handle is cleared). When none is kept and `fallback` is
// asked for, removes whatever blip the game reports on the aggressor instead.
void RemoveAggressorBlip(AggressorBlip& blip, Ped aggressor, bool fallback);
