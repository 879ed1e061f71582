// The one map marker an encounter may put on its aggressor.
#pragma once

#include "host/game_types.h"

struct AggressorBlip {
    Blip handle = 0;       // 0 when none is kept (never added, or already removed)
    bool added = false;    // stays set: an encounter adds at most one blip
    bool removed = false;  // stays set once the kept blip was removed
};

// Marks the aggressor on the map, when EnableBlips is on and no blip was added yet.
void AddAggressorBlip(Ped aggressor, AggressorBlip& blip);

// Removes the kept blip, once (the handle is cleared).
void RemoveAggressorBlip(AggressorBlip& blip);

// Removes the kept blip; when none is kept, whatever blip the game shows on the ped instead.
void RemoveAnyBlipOn(Ped ped, AggressorBlip& blip);
