#include "sim/world/model_catalogue.h"

#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

constexpr uint32_t kSidearm = kRevolver;
constexpr uint32_t kLawmanArms = kRevolver | kRepeater;
constexpr uint32_t kHunterArms = kRevolver | kRifle;

PedModel Human(const char* name, PedRole role, bool male, const char* group, uint32_t weapons) {
    return PedModel{name, Joaat(name), role, true, male, group, weapons};
}

PedModel Animal(const char* name, PedRole role, const char* group) {
    return PedModel{name, Joaat(name), role, false, true, group, 0};
}

std::vector<PedModel> BuildPedModels() {
    return {
        // Townsfolk.
        Human("A_M_M_ValTownfolk_01", PedRole::Townsfolk, true, "REL_CIVMALE", 0),
        Human("A_M_M_ValTownfolk_02", PedRole::Townsfolk, true, "REL_CIVMALE", 0),
        Human("A_M_M_ValFarmer_01", PedRole::Townsfolk, true, "REL_CIVMALE", 0),
        Human("A_M_M_ValLaborer_01", PedRole::Townsfolk, true, "REL_CIVMALE", 0),
        Human("A_M_M_ValCriminals_01", PedRole::Townsfolk, true, "REL_CIVMALE", kSidearm),
        Human("A_F_M_ValTownfolk_01", PedRole::Townsfolk, false, "REL_CIVFEMALE", 0),
        Human("A_F_M_ValTownfolk_02", PedRole::Townsfolk, false, "REL_CIVFEMALE", 0),
        Human("A_F_M_ValProstitute_01", PedRole::Townsfolk, false, "REL_CIVFEMALE", 0),
        // Lawmen.
        Human("S_M_M_ValDeputy_01", PedRole::Lawman, true, "REL_COP", kLawmanArms),
        Human("S_M_M_ValSheriff_01", PedRole::Lawman, true, "REL_COP", kLawmanArms),
        // Shopkeepers and other service peds (all on the plug-in's exempt list).
        Human("U_M_M_ValGunsmith_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_ValGenStoreOwner_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_ValBartender_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_ValDoctor_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_ValBarber_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_VALBUTCHER_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_M_M_ValHotelOwner_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("S_M_M_BankClerk_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("S_M_Y_NewspaperBoy_01", PedRole::Shopkeeper, true, "REL_CIVMALE", 0),
        Human("U_F_M_TumGeneralStoreOwner_01", PedRole::Shopkeeper, false, "REL_CIVFEMALE", 0),
        // Riders and wagon drivers.
        Human("A_M_M_Rancher_01", PedRole::Rider, true, "REL_CIVMALE", kSidearm),
        Human("A_M_Y_ValRider_01", PedRole::Rider, true, "REL_CIVMALE", kHunterArms),
        Human("A_F_M_ValRider_01", PedRole::Rider, false, "REL_CIVFEMALE", 0),
        Human("A_M_M_ValWagonDriver_01", PedRole::WagonDriver, true, "REL_CIVMALE", 0),
        Human("A_M_O_ValWagonDriver_01", PedRole::WagonDriver, true, "REL_CIVMALE", kShotgun),
        Human("A_F_M_ValWagonDriver_01", PedRole::WagonDriver, false, "REL_CIVFEMALE", 0),
        // The player and horses.
        Human("player_zero", PedRole::PlayerCharacter, true, "PLAYER", kRevolver),
        Animal("A_C_Horse_Arabian_White", PedRole::Horse, "REL_DOMESTICATED_ANIMAL"),
        Animal("A_C_Horse_KentuckySaddle_Black", PedRole::Horse, "REL_DOMESTICATED_ANIMAL"),
        Animal("A_C_Horse_Morgan_Bay", PedRole::Horse, "REL_DOMESTICATED_ANIMAL"),
        Animal("A_C_Horse_Turkoman_Gold", PedRole::Horse, "REL_DOMESTICATED_ANIMAL"),
        // Game animals.
        Animal("A_C_Deer_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Buck_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Elk_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Moose_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Buffalo_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Pronghorn_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Fox_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        Animal("A_C_Rabbit_01", PedRole::Prey, "REL_WILD_ANIMAL"),
        // Predators: every model the plug-in may spawn.
        Animal("A_C_Wolf", PedRole::Predator, "REL_WILD_ANIMAL"),
        Animal("A_C_Wolf_Medium", PedRole::Predator, "REL_WILD_ANIMAL"),
        Animal("A_C_Wolf_Small", PedRole::Predator, "REL_WILD_ANIMAL"),
        Animal("A_C_Bear_01", PedRole::Predator, "REL_WILD_ANIMAL"),
        Animal("A_C_Cougar_01", PedRole::Predator, "REL_WILD_ANIMAL"),
        Animal("A_C_Coyote_01", PedRole::Predator, "REL_WILD_ANIMAL"),
        // Birds.
        Animal("A_C_Crow_01", PedRole::Bird, "REL_WILD_ANIMAL_BIRD"),
        Animal("A_C_Pigeon", PedRole::Bird, "REL_WILD_ANIMAL_BIRD"),
        Animal("A_C_Songbird_01", PedRole::Bird, "REL_WILD_ANIMAL_BIRD"),
    };
}

VehicleModel Listed(const char* name, int seats) {
    return VehicleModel{name, Joaat(name), seats, true};
}

VehicleModel Unlisted(const char* name, int seats) {
    return VehicleModel{name, Joaat(name), seats, false};
}

// Game vehicles, with the seats the world gives them.
std::vector<VehicleModel> BuildVehicleModels() {
    return {
        // On the plug-in's wagon list.
        Listed("CART01", 2),
        Listed("CART02", 4),
        Listed("CART03", 2),
        Listed("CART04", 2),
        Listed("CART05", 4),
        // Not on it.
        Unlisted("STAGECOACH004_2X", 6),
        Unlisted("HANDCART", 2),
    };
}

}  // namespace

const std::vector<PedModel>& PedModels() {
    static const std::vector<PedModel> models = BuildPedModels();
    return models;
}

const std::vector<VehicleModel>& VehicleModels() {
    static const std::vector<VehicleModel> models = BuildVehicleModels();
    return models;
}

const PedModel* FindPedModel(uint32_t hash) {
    for (const PedModel& model : PedModels()) {
        if (model.hash == hash) {
            return &model;
        }
    }
    return nullptr;
}

const VehicleModel* FindVehicleModel(uint32_t hash) {
    for (const VehicleModel& model : VehicleModels()) {
        if (model.hash == hash) {
            return &model;
        }
    }
    return nullptr;
}

const PedModel* FindPedModelByName(const std::string& name) {
    return FindPedModel(Joaat(name));
}

const VehicleModel* FindVehicleModelByName(const std::string& name) {
    return FindVehicleModel(Joaat(name));
}

std::vector<const PedModel*> PedModelsWithRole(PedRole role) {
    std::vector<const PedModel*> found;
    for (const PedModel& model : PedModels()) {
        if (model.role == role) {
            found.push_back(&model);
        }
    }
    return found;
}
