#include "encounters/encounter_list.h"

#include "encounters/event1_aggressor.h"
#include "encounters/event2_aggressor_player.h"
#include "encounters/event6_horse_bucking.h"

const std::vector<EncounterDefinition>& AllEncounters() {
    // Registration order: event1 to event6; each encounter adds its row here when it lands.
    static const std::vector<EncounterDefinition> kEncounters = {
        {"event1_aggressor", &ConfigData::Event1_Aggressor, event1_aggressor},
        {"event2_aggressor_player", &ConfigData::Event2_Aggressor_Player, event2_aggressor_player},
        {"event6_horse_bucking", &ConfigData::Event6_Horse_Bucking, event6_horse_bucking},
    };
    return kEncounters;
}
