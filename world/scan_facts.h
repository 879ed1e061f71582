// What the game has told us about the peds of one scan (and the vehicles they sit in), each
// fact asked at most once. The candidate tests of an encounter may look at the same ped from
// several passes and helpers; within the frame of the scan nothing changes, so the first
// answer stands and every later look costs no native. The first asking of each fact happens
// where the tests first need it, so the game sees the calls of a plain walk with the repeats
// left out.
//
// Facts are good only for the frame of the scan, and only until the encounter acts on a ped:
// drop them before the first order or wait.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "host/game_types.h"
#include "world/nearby_scan.h"

class IdentifierList;

class EntityFacts {
  public:
    EntityFacts(Entity entity, const NearbyScan& scan) : entity_(entity), scan_(&scan) {}

    Entity Handle() const { return entity_; }
    bool IsPlayer() const { return entity_ == scan_->playerPed; }

    bool Exists();
    bool IsMissionEntity();
    bool IsDead();
    Hash Model();
    Vector3 Coords();
    // VDIST from the player's scanned position to Coords().
    float DistanceToPlayer();

    // Peds only.
    Hash RelationshipGroup();
    bool InAnyGroup(const IdentifierList& groups);  // in list order, up to the first match
    bool IsHuman();
    bool IsMale();
    bool InAnyVehicle();
    bool IsRidingMount();
    Vehicle VehicleIn();
    int Seat();

  private:
    // One answer of the game, once asked.
    template <typename T>
    struct Known {
        bool asked = false;
        T value{};
    };
    template <typename T, typename Ask>
    static T Once(Known<T>& fact, Ask ask) {
        if (!fact.asked) {
            fact.value = ask();
            fact.asked = true;
        }
        return fact.value;
    }

    Entity entity_;
    const NearbyScan* scan_;
    Known<bool> exists_, missionEntity_, dead_, human_, male_, inAnyVehicle_, ridingMount_;
    Known<Hash> model_, group_;
    Known<Vector3> coords_;
    Known<float> distance_;
    Known<Vehicle> vehicle_;
    Known<int> seat_;
};

class ScanFacts {
  public:
    explicit ScanFacts(const NearbyScan& scan);
    ScanFacts(const ScanFacts&) = delete;
    ScanFacts& operator=(const ScanFacts&) = delete;

    // The facts of the scanned peds, in scan order. (The game lists a ped once; a handle it
    // listed twice would be asked about twice.)
    std::vector<EntityFacts>& Peds() { return peds_; }
    // The facts of an entity other than the scanned peds (a vehicle a ped sits in); the
    // reference stays good for the life of the ScanFacts.
    EntityFacts& Of(Entity entity);
    // The player's active horse (the player as the scan read it).
    Ped PlayerHorse();

  private:
    const NearbyScan& scan_;
    std::vector<EntityFacts> peds_;
    std::deque<EntityFacts> others_;  // few: searched in turn
    std::optional<Ped> playerHorse_;
};
