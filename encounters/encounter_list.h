// The encounters the plug-in can stage, each with its function: the catalogue's entries with
// the code that runs them. Generated with the catalogue (cmake/encounter_catalogue.cmake).
#pragma once

#include <vector>

#include "encounters/encounter_catalogue.h"

struct EncounterEntry {
    const char* name;  // the id: "event6_horse_bucking"
    const EncounterDefinition* definition;
    void (*action)();
};

// In the catalogue's order.
const std::vector<EncounterEntry>& AllEncounters();
