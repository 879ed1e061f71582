// Encounter "event7_startled_ped", the example of docs/adding-an-encounter.md: a ped near the
// player takes fright and runs from the player for ten seconds, then goes its own way.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event7_startled_ped){
    7,
    "Event7_Startled_Ped",
    kAnyHour,  // runs at every in-game hour
    12000,     // ms: ten one-second passes, each a frame late at worst
    "A ped near you takes fright and runs from you.",
    "a ped runs from you",
};
