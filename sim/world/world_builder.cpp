// Building worlds from code: peds and vehicles of catalogue models, and the common groups of
// them (a rider on his horse, a wagon with its driver).
#include <stdexcept>

#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

const PedModel& PedModelNamed(const std::string& name) {
    const PedModel* model = FindPedModelByName(name);
    if (model == nullptr) {
        throw std::invalid_argument("no ped model named '" + name + "' in the catalogue");
    }
    return *model;
}

}  // namespace

SimPed World::MakePed(const PedModel& model, const Vec3& pos) {
    SimPed ped;
    ped.model = model.hash;
    ped.modelName = model.name;
    ped.human = model.human;
    ped.male = model.male;
    ped.group = Joaat(model.group);
    ped.weapons = model.weapons;
    ped.pos = pos;
    ped.role = model.role;
    return ped;
}

int32_t World::AddPedOfModel(const std::string& modelName, const Vec3& pos) {
    return AddPed(MakePed(PedModelNamed(modelName), pos));
}

int32_t World::AddTownsfolk(const Vec3& pos, bool male) {
    return AddPedOfModel(male ? "A_M_M_ValTownfolk_01" : "A_F_M_ValTownfolk_01", pos);
}

int32_t World::AddLawman(const Vec3& pos) {
    return AddPedOfModel("S_M_M_ValDeputy_01", pos);
}

int32_t World::AddShopkeeper(const Vec3& pos) {
    return AddPedOfModel("U_M_M_ValGunsmith_01", pos);
}

int32_t World::AddAnimal(const std::string& modelName, const Vec3& pos) {
    return AddPedOfModel(modelName, pos);
}

int32_t World::AddRider(const Vec3& pos, const std::string& riderModel,
                        const std::string& horseModel) {
    const int32_t horse = AddPedOfModel(horseModel, pos);
    const int32_t rider = AddPedOfModel(riderModel, pos);
    MountPed(rider, horse);
    return rider;
}

int32_t World::AddVehicleOfModel(const std::string& modelName, const Vec3& pos) {
    const VehicleModel* model = FindVehicleModelByName(modelName);
    if (model == nullptr) {
        throw std::invalid_argument("no vehicle model named '" + modelName + "' in the catalogue");
    }
    SimVehicle vehicle;
    vehicle.model = model->hash;
    vehicle.modelName = model->name;
    vehicle.seatCount = model->seats;
    vehicle.pos = pos;
    return AddVehicle(std::move(vehicle));
}

int32_t World::AddWagonWithDriver(const std::string& modelName, const Vec3& pos, int passengers) {
    const int32_t wagon = AddVehicleOfModel(modelName, pos);
    SeatPed(AddPedOfModel("A_M_M_ValWagonDriver_01", pos), wagon, -1);
    const int seats = FindVehicle(wagon)->seatCount;
    for (int seat = 0; seat < passengers && seat < seats - 1; ++seat) {
        SeatPed(AddTownsfolk(pos, seat % 2 == 1), wagon, seat);
    }
    return wagon;
}
