// Every encounter the build found (each header that declares one with TARROWIND_ENCOUNTER), as
// data alone: what the settings, their check, the recording and the shipped files need to
// know of it. The list is generated at configure time (cmake/encounter_catalogue.cmake).
#pragma once

#include <string>
#include <vector>

#include "encounters/encounter_definition.h"

struct CataloguedEncounter {
    const char* name;  // the id: "event6_horse_bucking"
    const EncounterDefinition* definition;
};

// In the order of their numbers, which is the order the registry keeps.
const std::vector<CataloguedEncounter>& EncounterCatalogue();

// The encounter with this name (its id), or null when the catalogue has none.
inline const CataloguedEncounter* FindInCatalogue(const std::string& name) {
    for (const CataloguedEncounter& encounter : EncounterCatalogue()) {
        if (name == encounter.name) {
            return &encounter;
        }
    }
    return nullptr;
}
