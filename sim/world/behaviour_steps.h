// What the behaviour files share: the pace of the world and the small moves every task is
// made of. Each step function carries one kind of task forward by some seconds.
#pragma once

#include <cstdint>

#include "sim/world/world.h"

namespace behaviour {

constexpr uint64_t kTickMs = 100;          // orders are carried forward in ticks of this
constexpr uint64_t kAwarenessMs = 1000;    // looking about, strolling, despawning, spawning
constexpr float kFleeSafeDistance = 400;   // flight ends this far from the threat
constexpr float kHostilityRange = 40;      // peds pick fights with hated peds this close
constexpr float kGunfireHeardRange = 25;   // people this close to a shot may run
constexpr float kGunfireAnimalRange = 50;  // animals this close to a shot run

// The ped's pace when it runs, or walks, in metres per second.
float RunSpeed(const SimPed& ped);
float WalkSpeed(const SimPed& ped);

// The entity that carries the ped about: its horse when riding, its vehicle when driving,
// itself on foot; 0 for a passenger, who cannot move on his own.
int32_t BodyOf(const World& world, const SimPed& ped);
// Moves the ped's body toward a point, stopping stopAt metres short of it. Returns the
// distance left.
float MoveToward(World& world, const SimPed& ped, const Vec3& point, float speed, double seconds,
                 float stopAt);
// Moves the ped's body along a direction (need not be of unit length).
void MoveAlong(World& world, const SimPed& ped, const Vec3& direction, float speed, double seconds);
// A horizontal unit direction at a random angle.
Vec3 RandomDirection(World& world);

// True while nobody has ordered the ped anything (it may be strolling or passing through).
bool IsIdle(const SimPed& ped);
void EndTask(SimPed& ped);

// A ped hit by an attacker: the damage, and the reaction of a ped nobody ordered about.
void Hit(World& world, int32_t target, int32_t attacker, float damage);

void StepCombat(World& world, int32_t ped, double seconds);
void StepFlee(World& world, int32_t ped, double seconds);
void StepRob(World& world, int32_t ped, double seconds);
void StepEnterVehicle(World& world, int32_t ped, double seconds);
void StepDrive(World& world, int32_t ped, double seconds);  // drive-wander and passing through
void StepBolt(World& world, int32_t ped, double seconds);

// Once a second: idle peds stroll, pick fights with those their group hates and run from
// gunfire; a dead player gets up again.
void LookAbout(World& world);
// Once a second: peds and vehicles nobody owns vanish when far or long dead, and ambient
// mode tops the population up.
void ManagePopulation(World& world);

}  // namespace behaviour
