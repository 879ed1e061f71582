// Encounter "event5_mugging": an armed ped robs another at night while bystanders flee and
// lawmen close in; afterwards robber and victim run from each other.
#pragma once

#include "encounters/encounter_definition.h"

TARROWIND_ENCOUNTER(event5_mugging){
    5,
    "Event5_Mugging",
    {5, 20},  // skipped from 5:00 to 20:59
    604000,   // ms
    "An armed robber mugs a ped while bystanders flee.",
    "a mugging",
};
