// Encounter "event6_horse_bucking": a rider's horse near the player bucks; on an even roll
// it throws the rider, who runs from it, and either way the horse bolts.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event6_horse_bucking){
    6,
    "Event6_Horse_Bucking",
    kAnyHour,  // runs at every in-game hour
    302000,    // ms
    "A rider's horse bucks and may throw the rider.",
    "a horse bucks its rider",
};
