// Encounter "event3_animal_aggressor": a predator is spawned near a ped close to the player
// and charges it, while townsfolk scatter and lawmen open fire on the animal.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event3_animal_aggressor){
    3,
    "Event3_Animal_Predator",
    {6, 19},  // skipped from 6:00 to 19:59
    735200,   // ms
    "A predator is spawned and attacks someone nearby.",
    "a predator attacks",
};
