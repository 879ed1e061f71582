// The models the simulated world knows: what kind of ped or vehicle each model hash makes.
// A model outside the catalogue never loads, as an invalid model never does in the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a ped of a model is and how it behaves when nobody orders it about.
enum class PedRole {
    Townsfolk,
    Lawman,
    Shopkeeper,
    Rider,
    WagonDriver,
    PlayerCharacter,
    Horse,
    Prey,      // deer and other animals that run from trouble
    Predator,  // wolves, bears, cougars, coyotes
    Bird,
};

struct PedModel {
    std::string name;
    uint32_t hash = 0;
    PedRole role = PedRole::Townsfolk;
    bool human = true;
    bool male = true;
    std::string group;     // default relationship group name
    uint32_t weapons = 0;  // WeaponBit set a ped of this model carries
};

struct VehicleModel {
    std::string name;
    uint32_t hash = 0;
    int seats = 2;  // seat -1 (the driver) and seats 0 to seats - 2
    bool wagon = true;
};

const std::vector<PedModel>& PedModels();
const std::vector<VehicleModel>& VehicleModels();

// By hash; null when the catalogue has no such model.
const PedModel* FindPedModel(uint32_t hash);
const VehicleModel* FindVehicleModel(uint32_t hash);
// By name, compared as the game compares identifiers (case-insensitively, by hash).
const PedModel* FindPedModelByName(const std::string& name);
const VehicleModel* FindVehicleModelByName(const std::string& name);

// Every model of one role, in catalogue order.
std::vector<const PedModel*> PedModelsWithRole(PedRole role);
