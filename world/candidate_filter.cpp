#include "world/candidate_filter.h"

#include "core/config.h"
#include "core/logger.h"
#include "core/random.h"
#include "host/natives.h"
#include "world/identifier_hash.h"

namespace {

const IdentifierList kProtectedGroups = {"REL_COP", "REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                                         "REL_WILD_ANIMAL_BIRD", "REL_DOMESTICATED_ANIMAL"};
const IdentifierList kWildAnimalGroup = {"REL_WILD_ANIMAL"};

// Wild animals that may take part, in the order they are tested.
const IdentifierList kHuntableAnimalModels = {
    "MP_A_C_Fox_01",  "MP_A_C_Coyote_01", "MP_A_C_Moose_01",  "A_C_Buck_01",
    "A_C_Buffalo_01", "A_C_Coyote_01",    "A_C_Deer_01",      "A_C_Elk_01",
    "A_C_Fox_01",     "A_C_Moose_01",     "A_C_Pronghorn_01",
};

// Shopkeepers and other service peds that ExcludeShopkeepers protects. The last is the game's
// Valentine bartender; "U_M_O_ValBartender_02" names no model.
const IdentifierList kExemptModels = {"S_M_Y_NewspaperBoy_01",
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
                                      "U_M_O_ValBartender_01"};

}  // namespace

const std::string* IsExemptModel(EntityFacts& ped) {
    return kExemptModels.Find(ped.Model());
}

bool IsExcludedShopkeeper(EntityFacts& ped) {
    if (!Config.ExcludeShopkeepers) {
        return false;
    }
    if (const std::string* shopkeeper = IsExemptModel(ped)) {
        Log(LogLevel::Debug, "Excluded shopkeeper found: ", *shopkeeper);
        return true;
    }
    return false;
}

size_t DrawIndex(size_t count) {
    return static_cast<size_t>(RandomInt()) % count;
}

Ped DrawPed(const std::vector<Ped>& candidates) {
    return candidates[DrawIndex(candidates.size())];
}

Ped TakeDrawnPed(std::vector<Ped>& candidates) {
    const auto drawn =
        candidates.begin() + static_cast<std::ptrdiff_t>(DrawIndex(candidates.size()));
    const Ped ped = *drawn;
    candidates.erase(drawn);
    return ped;
}

bool PedInGroup(Ped ped, const char* groupName) {
    const Hash group = GET_PED_RELATIONSHIP_GROUP_HASH(ped);
    return group == IdentifierHash(groupName);
}

bool PedInAnyGroup(Ped ped, const IdentifierList& groups) {
    return groups.Contains(GET_PED_RELATIONSHIP_GROUP_HASH(ped));
}

bool IsFreeToTake(EntityFacts& ped, ScanFacts& facts, const CandidateRules& rules) {
    if (!ped.Exists()) {
        return false;
    }
    if ((rules.checks & kNotThePlayer) && ped.IsPlayer()) {
        return false;
    }
    if ((rules.checks & kNotThePlayersHorse) && ped.Handle() == facts.PlayerHorse()) {
        return false;
    }
    if ((rules.checks & kHumansOnly) && !ped.IsHuman()) {
        return false;
    }
    if (ped.IsMissionEntity() || ped.InAnyGroup(rules.leftOutGroups)) {
        return false;
    }
    return !(rules.checks & kWildOnlyIfHuntable) || !ped.InAnyGroup(kWildAnimalGroup) ||
           kHuntableAnimalModels.Contains(ped.Model());
}

bool IsWithinReach(EntityFacts& ped, float radius, Whereabouts whereabouts) {
    if (ped.DistanceToPlayer() > radius || ped.IsDead()) {
        return false;
    }
    switch (whereabouts) {
        case Whereabouts::OnFoot:
            return !ped.InAnyVehicle();
        case Whereabouts::InVehicle:
            return ped.InAnyVehicle();
        case Whereabouts::Riding:
            return ped.IsRidingMount();
    }
    return false;
}

bool IsCandidate(EntityFacts& ped, ScanFacts& facts, const CandidateRules& rules) {
    if (!IsFreeToTake(ped, facts, rules)) {
        return false;
    }
    if ((rules.checks & kWomenSetting) && Config.ExcludeWomen && !ped.IsMale()) {
        return false;
    }
    if ((rules.checks & kShopkeeperSetting) && IsExcludedShopkeeper(ped)) {
        return false;
    }
    return IsWithinReach(ped, static_cast<float>(Config.SearchRadius), rules.whereabouts);
}

std::vector<Ped> CollectByRules(ScanFacts& facts, const CandidateRules& rules, const char* found) {
    std::vector<Ped> candidates;
    for (EntityFacts& ped : facts.Peds()) {
        if (IsCandidate(ped, facts, rules)) {
            Log(LogLevel::Debug, found, ped.Handle(), " at distance: ", ped.DistanceToPlayer(),
                "m");
            candidates.push_back(ped.Handle());
        }
    }
    return candidates;
}

std::vector<Ped> CollectByRules(const NearbyScan& scan, const CandidateRules& rules,
                                const char* found) {
    ScanFacts facts(scan);
    return CollectByRules(facts, rules, found);
}

const CandidateRules kConfrontationRules = {
    kNotThePlayer | kNotThePlayersHorse | kWildOnlyIfHuntable | kWomenSetting | kShopkeeperSetting,
    kProtectedGroups, Whereabouts::OnFoot};
