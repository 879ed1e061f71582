// Encounter "event4_wagon_robbery": a ped on foot takes over a wagon from its driver and flees
// with it; lawmen step in once the driver is hurt or thrown off, and if the robber dies the
// driver climbs back on and drives away.
#pragma once

#include "encounters/encounter_definition.h"

#include "host/game_types.h"

// Whether a vehicle model is one of the wagons a robber goes for.
bool IsWagonModel(Hash model);

TARROWIND_ENCOUNTER(event4_wagon_robbery){
    4,
    "Event4_Wagon_Robbery",
    kAnyHour,  // runs at every in-game hour
    306000,    // ms
    "A robber tries to take a wagon from its driver.",
    "a wagon robbery",
};
