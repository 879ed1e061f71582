#include "world/scan_facts.h"

#include "host/natives.h"
#include "world/identifier_hash.h"

bool EntityFacts::Exists() {
    return Once(exists_, [this] { return DOES_ENTITY_EXIST(entity_); });
}

bool EntityFacts::IsMissionEntity() {
    return Once(missionEntity_, [this] { return IS_ENTITY_A_MISSION_ENTITY(entity_); });
}

bool EntityFacts::IsDead() {
    return Once(dead_, [this] { return IS_ENTITY_DEAD(entity_); });
}

Hash EntityFacts::Model() {
    return Once(model_, [this] { return GET_ENTITY_MODEL(entity_); });
}

Vector3 EntityFacts::Coords() {
    return Once(coords_, [this] { return GET_ENTITY_COORDS(entity_); });
}

float EntityFacts::DistanceToPlayer() {
    return Once(distance_, [this] { return VDIST(scan_->playerPos, Coords()); });
}

Hash EntityFacts::RelationshipGroup() {
    return Once(group_, [this] { return GET_PED_RELATIONSHIP_GROUP_HASH(entity_); });
}

bool EntityFacts::InAnyGroup(const IdentifierList& groups) {
    return groups.Contains(RelationshipGroup());
}

bool EntityFacts::IsHuman() {
    return Once(human_, [this] { return IS_PED_HUMAN(entity_); });
}

bool EntityFacts::IsMale() {
    return Once(male_, [this] { return IS_PED_MALE(entity_); });
}

bool EntityFacts::InAnyVehicle() {
    return Once(inAnyVehicle_, [this] { return IS_PED_IN_ANY_VEHICLE(entity_); });
}

bool EntityFacts::IsRidingMount() {
    return Once(ridingMount_, [this] { return IS_PED_RIDING_MOUNT(entity_); });
}

Vehicle EntityFacts::VehicleIn() {
    return Once(vehicle_, [this] { return GET_VEHICLE_PED_IS_IN(entity_); });
}

int EntityFacts::Seat() {
    return Once(seat_, [this] { return GET_SEAT_PED_IS_USING(entity_); });
}

ScanFacts::ScanFacts(const NearbyScan& scan) : scan_(scan) {
    peds_.reserve(scan.handles.size());
    for (const Ped ped : scan.handles) {
        peds_.emplace_back(ped, scan);
    }
}

EntityFacts& ScanFacts::Of(Entity entity) {
    for (EntityFacts& other : others_) {
        if (other.Handle() == entity) {
            return other;
        }
    }
    return others_.emplace_back(entity, scan_);
}

Ped ScanFacts::PlayerHorse() {
    if (!playerHorse_) {
        playerHorse_ = GET_ACTIVE_HORSE_FOR_PLAYER(scan_.player);
    }
    return *playerHorse_;
}
