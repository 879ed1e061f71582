// Encounter "event2_aggressor_player": a ped near the player turns on the player, and lawmen
// close in on it once it has shown itself hostile.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event2_aggressor_player){
    2,
    "Event2_Aggressor_Player",
    kAnyHour,  // runs at every in-game hour
    301000,    // ms
    "A ped near you attacks you.",
    "a ped attacks you",
    "event2_aggressor_player()",
};
