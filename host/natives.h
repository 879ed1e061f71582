// Typed operations, one per game native the plug-in calls, named as the native. Arguments
// that are always the same value at every call site are fixed here.
#pragma once

#include "host/game_types.h"

// Capacity of one nearby-ped query plus the slot that carries it.
template <int Capacity>
struct NearbyPedBuffer {
    static constexpr int kCapacity = Capacity;
    uint64_t slots[Capacity + 1];
};

Player PLAYER_ID();
Ped GET_PLAYER_PED(Player player);
Ped PLAYER_PED_ID();
Ped GET_ACTIVE_HORSE_FOR_PLAYER(Player player);
Vector3 GET_ENTITY_COORDS(Entity entity);  // (entity, TRUE, FALSE)
float VDIST(float x1, float y1, float z1, float x2, float y2, float z2);
float VDIST(const Vector3& a, const Vector3& b);
// (centre, buffer, -1, -1); slot 0 of the buffer must hold the capacity.
int GET_PED_NEARBY_PEDS(Ped centre, uint64_t* buffer);  // as the game's scripts call it
Hash GET_HASH_KEY(const char* identifier);
int GET_CLOCK_HOURS();
bool GET_MISSION_FLAG();
// What the game says of the player's state and the screen: free play or not.
bool IS_PLAYER_PLAYING(Player player);
bool IS_PED_DEAD_OR_DYING(Ped ped);            // (ped, TRUE)
bool IS_PLAYER_BEING_ARRESTED(Player player);  // (player, TRUE): from the hands going up
bool IS_PLAYER_CONTROL_ON(Player player);
bool IS_SCREEN_FADED_OUT();
bool GET_IS_LOADING_SCREEN_ACTIVE();
// The game runs one random event of its own at a time; read only: the plug-in never sets it.
bool GET_RANDOM_EVENT_FLAG();
bool DOES_ENTITY_EXIST(Entity entity);
bool IS_ENTITY_DEAD(Entity entity);
bool IS_ENTITY_A_MISSION_ENTITY(Entity entity);
Hash GET_ENTITY_MODEL(Entity entity);
bool IS_PED_HUMAN(Ped ped);
bool IS_PED_MALE(Ped ped);
bool IS_PED_INJURED(Ped ped);
bool IS_PED_HOGTIED(Ped ped);
bool IS_PED_FLEEING(Ped ped);
bool IS_PED_IN_MELEE_COMBAT(Ped ped);
bool IS_PED_IN_COMBAT(Ped ped, Ped target);
// The six firing tests, (ped, TRUE); the game answers whether the ped carries a revolver,
// pistol, repeater, rifle, sniper rifle or shotgun.
bool IS_PED_SHOOTING_TEST_1(Ped ped);
bool IS_PED_SHOOTING_TEST_2(Ped ped);
bool IS_PED_SHOOTING_TEST_3(Ped ped);
bool IS_PED_SHOOTING_TEST_4(Ped ped);
bool IS_PED_SHOOTING_TEST_5(Ped ped);
bool IS_PED_SHOOTING_TEST_6(Ped ped);
// The six tests in order 1 to 6, stopping at the first true one.
bool IsPedShooting(Ped ped);
bool IS_PED_IN_ANY_VEHICLE(Ped ped);               // (ped, FALSE)
bool IS_PED_IN_VEHICLE(Ped ped, Vehicle vehicle);  // (ped, vehicle, FALSE)
Vehicle GET_VEHICLE_PED_IS_IN(Ped ped);            // (ped, FALSE)
int GET_SEAT_PED_IS_USING(Ped ped);
bool IS_PED_RIDING_MOUNT(Ped ped);  // (ped, TRUE)
Ped GET_MOUNT(Ped rider);
int GET_SCRIPT_TASK_STATUS(Ped ped, Hash taskHash, bool p2);
void SET_ENTITY_AS_MISSION_ENTITY(Entity entity);  // (entity, TRUE, TRUE)
// The game may rewrite the variable.
void SET_ENTITY_AS_NO_LONGER_NEEDED(Entity* entity);
void SET_PED_KEEP_TASK(Ped ped);  // (ped, TRUE)
void CLEAR_PED_TASKS(Ped ped);    // (ped, TRUE, TRUE)
void CLEAR_PED_SECONDARY_TASK(Ped ped);
void TASK_COMBAT_PED(Ped attacker, Ped target);                // (attacker, target, 0, 16)
void TASK_COMBAT_ANIMAL_CHARGE_PED(Ped attacker, Ped target);  // (attacker, target, 0 x5)
void TASK_FLEE_PED(Ped ped, Ped fleeFrom);                     // (ped, from, 3, 0, -1.0, -1, 0)
void TASK_ROB_PED(Ped robber, Ped victim);                     // (robber, victim, 0, 2, 0)
void TASK_ENTER_VEHICLE(Ped ped, Vehicle vehicle);  // (ped, vehicle, 60000, -1, 3.0, 0x10049, 0)
void TASK_VEHICLE_DRIVE_WANDER(Ped driver, Vehicle vehicle);  // (driver, vehicle, 3.0, 786603)
void TASK_MOUNT_THROW_RIDER(Ped mount, bool throwRider);
// (ped, 0x0797FBF5, 100, FALSE, TRUE, 14, FALSE, 0.5, 1.0, 0x2CD419DC, TRUE, 0.0, FALSE)
uint32_t GIVE_WEAPON_TO_PED(Ped ped);
Hash GET_PED_RELATIONSHIP_GROUP_HASH(Ped ped);
void SET_PED_RELATIONSHIP_GROUP_HASH(Ped ped, Hash group);
void ADD_RELATIONSHIP_GROUP(const char* name, Hash* groupHash);
void SET_RELATIONSHIP_BETWEEN_GROUPS(int relationship, Hash group1, Hash group2);
Blip BLIP_ADD_FOR_ENTITY(Hash blipStyle, Entity entity);
Blip GET_BLIP_FROM_ENTITY(Entity entity);
// Clears the blip's data, then removes it through the address of a copy of the handle.
void REMOVE_BLIP(Blip blip);
void REQUEST_MODEL(Hash model);  // (model, TRUE)
bool HAS_MODEL_LOADED(Hash model);
void SET_MODEL_AS_NO_LONGER_NEEDED(Hash model);         // gives a requested model back to streaming
Ped CREATE_PED(Hash model, float x, float y, float z);  // heading 0.0, then TRUE x4
void PLACE_ENTITY_ON_GROUND_PROPERLY(Entity entity);    // (entity, TRUE)
void SET_RANDOM_OUTFIT_VARIATION(Ped ped);              // (ped, TRUE)
void FREEZE_ENTITY_POSITION(Entity entity, bool frozen);
void SET_WEATHER_TYPE(Hash weatherType);  // (weather, TRUE, TRUE, TRUE, 30.0, FALSE)
void CLEAR_WEATHER_TYPE_OVER_TIME(int milliseconds);
void FORCE_LIGHTNING_FLASH_AT_COORDS(float x, float y, float z);  // fourth argument -1.0

// Placement and scene-state natives.
void REQUEST_COLLISION_AT_COORD(float x, float y, float z);
// (x, y, z, &groundZ, FALSE): the ground below the probe's height, if collision is loaded.
bool GET_GROUND_Z_FOR_3D_COORD(float x, float y, float z, float* groundZ);
// The water surface at (x, y), if there is water there.
bool GET_WATER_HEIGHT_NO_WAVES(float x, float y, float z, float* height);
bool IS_PED_ON_MOUNT(Ped ped);
int GET_NUM_FREE_SLOTS_IN_PED_POOL();

// Hashes and enum values of the game the plug-in uses as fixed constants.
namespace game_constant {
constexpr Hash kBlipStyleEnemy = 0x318C617Cu;
constexpr Hash kRobberyTask = 0x7F60B59Eu;
constexpr int kScriptTaskRunning = 1;  // GET_SCRIPT_TASK_STATUS: the task is being performed
constexpr int kRelationshipHate = 6;   // SET_RELATIONSHIP_BETWEEN_GROUPS
}  // namespace game_constant
