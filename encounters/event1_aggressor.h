// Encounter "event1_aggressor": one ped near the player attacks another, and lawmen close in
// on the aggressor once it shoots, fights, wounds its victim or takes on the player.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event1_aggressor){
    1,
    "Event1_Aggressor",
    kAnyHour,  // runs at every in-game hour
    302000,    // ms
    "A ped attacks another ped near you; lawmen join in.",
    "a ped attacks another ped",
};
