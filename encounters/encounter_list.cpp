#include "encounters/encounter_list.h"

const std::vector<EncounterDefinition>& AllEncounters() {
    // Each encounter adds its row here when it lands.
    static const std::vector<EncounterDefinition> kEncounters = {};
    return kEncounters;
}
