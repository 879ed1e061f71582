#include "world/candidate_filter.h"

#include "core/config.h"
#include "core/logger.h"
#include "host/natives.h"
#include "world/identifier_hash.h"

const char* const kHuntableAnimalModels[11] = {
    "MP_A_C_Fox_01",  "MP_A_C_Coyote_01", "MP_A_C_Moose_01",  "A_C_Buck_01",
    "A_C_Buffalo_01", "A_C_Coyote_01",    "A_C_Deer_01",      "A_C_Elk_01",
    "A_C_Fox_01",     "A_C_Moose_01",     "A_C_Pronghorn_01",
};

CandidateSettings CurrentCandidateSettings() {
    CandidateSettings settings;
    settings.excludeShopkeepers = Config.ExcludeShopkeepers;
    settings.excludeWomen = Config.ExcludeWomen;
    return settings;
}

std::vector<std::string> GetExemptModelNames() {
    return {
        "S_M_Y_NewspaperBoy_01",
        "U_M_O_VhTExoticShopkeeper_01",
        "U_M_M_SDEXOTICSSHOPKEEPER_01",
        "U_F_M_TumGeneralStoreOwner_01",
        "U_M_M_ARMGENERALSTOREOWNER_01",
        "U_M_M_NbxGeneralStoreOwner_01",
        "U_M_M_RhdGenStoreOwner_01",
        "U_M_M_RhdGenStoreOwner_02",
        "U_M_M_StrGenStoreOwner_01",
        "U_M_M_ValGenStoreOwner_01",
        "U_M_M_WaLGENERALSTOREOWNER_01",
        "U_M_O_BlWGeneralStoreOwner_01",
        "U_M_M_AsbGunsmith_01",
        "U_M_M_NbxGunsmith_01",
        "U_M_M_RhdGunsmith_01",
        "U_M_M_TumGunsmith_01",
        "U_M_M_ValGunsmith_01",
        "CS_creoledoctor",
        "CS_SDDoctor_01",
        "U_M_M_RHDDOCTOR_01",
        "U_M_M_ValDoctor_01",
        "U_M_O_BHT_DOCWORMWOOD",
        "G_M_M_BountyHunters_01",
        "S_M_M_Tailor_01",
        "U_M_M_SDTRAPPER_01",
        "S_M_M_Barber_01",
        "U_F_M_TljBartender_01",
        "U_F_M_VHTBARTENDER_01",
        "U_M_M_NbxBartender_01",
        "U_M_M_NbxBartender_02",
        "U_M_M_RhdBartender_01",
        "U_M_M_TumBartender_01",
        "U_M_M_ValBarber_01",
        "U_M_O_ValBartender_02",
        "U_M_M_ValBartender_01",
        "U_M_O_BlWBartender_01",
        "U_M_O_ARMBARTENDER_01",
        "S_M_M_BankClerk_01",
        "S_M_M_UNIBUTCHERS_01",
        "U_M_M_VALBUTCHER_01",
        "S_M_M_TrainStationWorker_01",
        "U_M_M_ValHotelOwner_01",
        "RE_BEARTRAP_MALES_01",
        "S_M_M_SDTICKETSELLER_01",
        "U_M_M_NbxBoatTicketSeller_01",
        // The game's Valentine bartender; "U_M_O_ValBartender_02" above names no model.
        "U_M_O_ValBartender_01",
    };
}

std::optional<std::string> IsExemptModel(Ped ped) {
    const Hash model = GET_ENTITY_MODEL(ped);
    for (const std::string& name : GetExemptModelNames()) {
        if (IdentifierHash(name.c_str()) == model) {
            return name;
        }
    }
    return std::nullopt;
}

bool IsExcludedShopkeeper(Ped ped) {
    if (!Config.ExcludeShopkeepers) {
        return false;
    }
    if (const std::optional<std::string> shopkeeper = IsExemptModel(ped)) {
        Log(LogLevel::Debug, "Excluded shopkeeper found: " + *shopkeeper);
        return true;
    }
    return false;
}

bool PedInGroup(Ped ped, const char* groupName) {
    const Hash group = GET_PED_RELATIONSHIP_GROUP_HASH(ped);
    return group == IdentifierHash(groupName);
}

bool PedInAnyGroup(Ped ped, std::initializer_list<const char*> groupNames) {
    for (const char* group : groupNames) {
        if (PedInGroup(ped, group)) {
            return true;
        }
    }
    return false;
}

namespace {

bool IsHuntableAnimal(Ped ped) {
    const Hash model = GET_ENTITY_MODEL(ped);
    for (const char* name : kHuntableAnimalModels) {
        if (IdentifierHash(name) == model) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsUnownedOtherPed(Ped ped, Ped playerPed) {
    if (!DOES_ENTITY_EXIST(ped) || ped == playerPed) {
        return false;
    }
    if (ped == GET_ACTIVE_HORSE_FOR_PLAYER(PLAYER_ID())) {
        return false;
    }
    return !IS_ENTITY_A_MISSION_ENTITY(ped);
}

bool IsValidCandidatePed(Ped ped, Ped playerPed, const CandidateSettings& settings) {
    if (!IsUnownedOtherPed(ped, playerPed)) {
        return false;
    }
    if (PedInAnyGroup(ped, {"REL_COP", "REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                            "REL_WILD_ANIMAL_BIRD", "REL_DOMESTICATED_ANIMAL"})) {
        return false;
    }
    if (PedInGroup(ped, "REL_WILD_ANIMAL") && !IsHuntableAnimal(ped)) {
        return false;
    }
    if (settings.excludeWomen && !IS_PED_MALE(ped)) {
        return false;
    }
    if (!settings.excludeShopkeepers) {
        return true;
    }
    if (const std::optional<std::string> shopkeeper = IsExemptModel(ped)) {
        Log(LogLevel::Debug, "Excluded shopkeeper found: " + *shopkeeper);
        return false;
    }
    return true;
}
