#include "encounters/encounter_list.h"

#include "encounters/event1_aggressor.h"
#include "encounters/event2_aggressor_player.h"
#include "encounters/event3_animal_aggressor.h"
#include "encounters/event4_wagon_robbery.h"
#include "encounters/event5_mugging.h"
#include "encounters/event6_horse_bucking.h"

const std::vector<EncounterDefinition>& AllEncounters() {
    // Registration order, which the registry keeps.
    static const std::vector<EncounterDefinition> kEncounters = {
        {"event1_aggressor", &ConfigData::Event1_Aggressor, event1_aggressor},
        {"event2_aggressor_player", &ConfigData::Event2_Aggressor_Player, event2_aggressor_player},
        {"event3_animal_aggressor", &ConfigData::Event3_Animal_Predator, event3_animal_aggressor},
        {"event4_wagon_robbery", &ConfigData::Event4_Wagon_Robbery, event4_wagon_robbery},
        {"event5_mugging", &ConfigData::Event5_Mugging, event5_mugging},
        {"event6_horse_bucking", &ConfigData::Event6_Horse_Bucking, event6_horse_bucking},
    };
    return kEncounters;
}
