#include "host/natives.h"

#include "host/native_invoker.h"
#include "host/native_list.h"

using native::Invoke;
namespace id = native::id;

namespace {
constexpr int32_t kTrue = 1;
constexpr int32_t kFalse = 0;
}  // namespace

Player PLAYER_ID() {
    return Invoke<id::PLAYER_ID, Player>();
}
Ped GET_PLAYER_PED(Player player) {
    return Invoke<id::GET_PLAYER_PED, Ped>(player);
}
Ped PLAYER_PED_ID() {
    return Invoke<id::PLAYER_PED_ID, Ped>();
}
Ped GET_ACTIVE_HORSE_FOR_PLAYER(Player player) {
    return Invoke<id::GET_ACTIVE_HORSE_FOR_PLAYER, Ped>(player);
}
Vector3 GET_ENTITY_COORDS(Entity entity) {
    return Invoke<id::GET_ENTITY_COORDS, Vector3>(entity, kTrue, kFalse);
}
float VDIST(float x1, float y1, float z1, float x2, float y2, float z2) {
    return Invoke<id::VDIST, float>(x1, y1, z1, x2, y2, z2);
}
float VDIST(const Vector3& a, const Vector3& b) {
    return VDIST(a.x, a.y, a.z, b.x, b.y, b.z);
}
int GET_PED_NEARBY_PEDS(Ped centre, uint64_t* buffer) {
    return Invoke<id::GET_PED_NEARBY_PEDS, int32_t>(centre, buffer, int32_t{-1}, int32_t{-1});
}
Hash GET_HASH_KEY(const char* identifier) {
    return Invoke<id::GET_HASH_KEY, Hash>(identifier);
}
int GET_CLOCK_HOURS() {
    return Invoke<id::GET_CLOCK_HOURS, int32_t>();
}
bool GET_MISSION_FLAG() {
    return Invoke<id::GET_MISSION_FLAG, bool>();
}
bool IS_PLAYER_PLAYING(Player player) {
    return Invoke<id::IS_PLAYER_PLAYING, bool>(player);
}
bool IS_PED_DEAD_OR_DYING(Ped ped) {
    return Invoke<id::IS_PED_DEAD_OR_DYING, bool>(ped, true);
}
bool IS_PLAYER_BEING_ARRESTED(Player player) {
    return Invoke<id::IS_PLAYER_BEING_ARRESTED, bool>(player, true);
}
bool IS_PLAYER_CONTROL_ON(Player player) {
    return Invoke<id::IS_PLAYER_CONTROL_ON, bool>(player);
}
bool IS_SCREEN_FADED_OUT() {
    return Invoke<id::IS_SCREEN_FADED_OUT, bool>();
}
bool GET_IS_LOADING_SCREEN_ACTIVE() {
    return Invoke<id::GET_IS_LOADING_SCREEN_ACTIVE, bool>();
}
bool GET_RANDOM_EVENT_FLAG() {
    return Invoke<id::GET_RANDOM_EVENT_FLAG, bool>();
}
bool DOES_ENTITY_EXIST(Entity entity) {
    return Invoke<id::DOES_ENTITY_EXIST, bool>(entity);
}
bool IS_ENTITY_DEAD(Entity entity) {
    return Invoke<id::IS_ENTITY_DEAD, bool>(entity);
}
bool IS_ENTITY_A_MISSION_ENTITY(Entity entity) {
    return Invoke<id::IS_ENTITY_A_MISSION_ENTITY, bool>(entity);
}
Hash GET_ENTITY_MODEL(Entity entity) {
    return Invoke<id::GET_ENTITY_MODEL, Hash>(entity);
}
bool IS_PED_HUMAN(Ped ped) {
    return Invoke<id::IS_PED_HUMAN, bool>(ped);
}
bool IS_PED_MALE(Ped ped) {
    return Invoke<id::IS_PED_MALE, bool>(ped);
}
bool IS_PED_INJURED(Ped ped) {
    return Invoke<id::IS_PED_INJURED, bool>(ped);
}
bool IS_PED_HOGTIED(Ped ped) {
    return Invoke<id::IS_PED_HOGTIED, bool>(ped);
}
bool IS_PED_FLEEING(Ped ped) {
    return Invoke<id::IS_PED_FLEEING, bool>(ped);
}
bool IS_PED_IN_MELEE_COMBAT(Ped ped) {
    return Invoke<id::IS_PED_IN_MELEE_COMBAT, bool>(ped);
}
bool IS_PED_IN_COMBAT(Ped ped, Ped target) {
    return Invoke<id::IS_PED_IN_COMBAT, bool>(ped, target);
}
bool IS_PED_SHOOTING_TEST_1(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_1, bool>(ped, kTrue);
}
bool IS_PED_SHOOTING_TEST_2(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_2, bool>(ped, kTrue);
}
bool IS_PED_SHOOTING_TEST_3(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_3, bool>(ped, kTrue);
}
bool IS_PED_SHOOTING_TEST_4(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_4, bool>(ped, kTrue);
}
bool IS_PED_SHOOTING_TEST_5(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_5, bool>(ped, kTrue);
}
bool IS_PED_SHOOTING_TEST_6(Ped ped) {
    return Invoke<id::IS_PED_SHOOTING_TEST_6, bool>(ped, kTrue);
}
bool IsPedShooting(Ped ped) {
    return IS_PED_SHOOTING_TEST_1(ped) || IS_PED_SHOOTING_TEST_2(ped) ||
           IS_PED_SHOOTING_TEST_3(ped) || IS_PED_SHOOTING_TEST_4(ped) ||
           IS_PED_SHOOTING_TEST_5(ped) || IS_PED_SHOOTING_TEST_6(ped);
}
bool IS_PED_IN_ANY_VEHICLE(Ped ped) {
    return Invoke<id::IS_PED_IN_ANY_VEHICLE, bool>(ped, kFalse);
}
bool IS_PED_IN_VEHICLE(Ped ped, Vehicle vehicle) {
    return Invoke<id::IS_PED_IN_VEHICLE, bool>(ped, vehicle, kFalse);
}
Vehicle GET_VEHICLE_PED_IS_IN(Ped ped) {
    return Invoke<id::GET_VEHICLE_PED_IS_IN, Vehicle>(ped, kFalse);
}
int GET_SEAT_PED_IS_USING(Ped ped) {
    return Invoke<id::GET_SEAT_PED_IS_USING, int32_t>(ped);
}
bool IS_PED_RIDING_MOUNT(Ped ped) {
    return Invoke<id::IS_PED_RIDING_MOUNT, bool>(ped, kTrue);
}
Ped GET_MOUNT(Ped rider) {
    return Invoke<id::GET_MOUNT, Ped>(rider);
}
int GET_SCRIPT_TASK_STATUS(Ped ped, Hash taskHash, bool p2) {
    return Invoke<id::GET_SCRIPT_TASK_STATUS, int32_t>(ped, taskHash, p2);
}
void SET_ENTITY_AS_MISSION_ENTITY(Entity entity) {
    Invoke<id::SET_ENTITY_AS_MISSION_ENTITY, void>(entity, kTrue, kTrue);
}
void SET_ENTITY_AS_NO_LONGER_NEEDED(Entity* entity) {
    Invoke<id::SET_ENTITY_AS_NO_LONGER_NEEDED, void>(entity);
}
void SET_PED_KEEP_TASK(Ped ped) {
    Invoke<id::SET_PED_KEEP_TASK, void>(ped, kTrue);
}
void CLEAR_PED_TASKS(Ped ped) {
    Invoke<id::CLEAR_PED_TASKS, void>(ped, kTrue, kTrue);
}
void CLEAR_PED_SECONDARY_TASK(Ped ped) {
    Invoke<id::CLEAR_PED_SECONDARY_TASK, void>(ped);
}
void TASK_COMBAT_PED(Ped attacker, Ped target) {
    Invoke<id::TASK_COMBAT_PED, void>(attacker, target, int32_t{0}, int32_t{16});
}
void TASK_COMBAT_ANIMAL_CHARGE_PED(Ped attacker, Ped target) {
    Invoke<id::TASK_COMBAT_ANIMAL_CHARGE_PED, void>(attacker, target, int32_t{0}, int32_t{0},
                                                    int32_t{0}, int32_t{0}, int32_t{0});
}
void TASK_FLEE_PED(Ped ped, Ped fleeFrom) {
    Invoke<id::TASK_FLEE_PED, void>(ped, fleeFrom, int32_t{3}, int32_t{0}, -1.0f, int32_t{-1},
                                    int32_t{0});
}
void TASK_ROB_PED(Ped robber, Ped victim) {
    Invoke<id::TASK_ROB_PED, void>(robber, victim, 0.0f, int32_t{2}, int32_t{0});
}
void TASK_ENTER_VEHICLE(Ped ped, Vehicle vehicle) {
    Invoke<id::TASK_ENTER_VEHICLE, void>(ped, vehicle, int32_t{60000}, int32_t{-1}, 3.0f,
                                         int32_t{0x10049}, int32_t{0});
}
void TASK_VEHICLE_DRIVE_WANDER(Ped driver, Vehicle vehicle) {
    Invoke<id::TASK_VEHICLE_DRIVE_WANDER, void>(driver, vehicle, 3.0f, int32_t{786603});
}
void TASK_MOUNT_THROW_RIDER(Ped mount, bool throwRider) {
    Invoke<id::TASK_MOUNT_THROW_RIDER, void>(mount, throwRider);
}
uint32_t GIVE_WEAPON_TO_PED(Ped ped) {
    return Invoke<id::GIVE_WEAPON_TO_PED, uint32_t>(ped, uint32_t{0x0797FBF5u}, int32_t{100},
                                                    kFalse, kTrue, int32_t{14}, kFalse, 0.5f, 1.0f,
                                                    uint32_t{0x2CD419DCu}, kTrue, 0.0f, kFalse);
}
Hash GET_PED_RELATIONSHIP_GROUP_HASH(Ped ped) {
    return Invoke<id::GET_PED_RELATIONSHIP_GROUP_HASH, Hash>(ped);
}
void SET_PED_RELATIONSHIP_GROUP_HASH(Ped ped, Hash group) {
    Invoke<id::SET_PED_RELATIONSHIP_GROUP_HASH, void>(ped, group);
}
void ADD_RELATIONSHIP_GROUP(const char* name, Hash* groupHash) {
    Invoke<id::ADD_RELATIONSHIP_GROUP, bool>(name, groupHash);
}
void SET_RELATIONSHIP_BETWEEN_GROUPS(int relationship, Hash group1, Hash group2) {
    Invoke<id::SET_RELATIONSHIP_BETWEEN_GROUPS, void>(int32_t{relationship}, group1, group2);
}
Blip BLIP_ADD_FOR_ENTITY(Hash blipStyle, Entity entity) {
    return Invoke<id::BLIP_ADD_FOR_ENTITY, Blip>(blipStyle, entity);
}
Blip GET_BLIP_FROM_ENTITY(Entity entity) {
    return Invoke<id::GET_BLIP_FROM_ENTITY, Blip>(entity);
}
void REMOVE_BLIP(Blip blip) {
    // The first call only clears the blip's data; the game removes a blip through the address
    // of its handle.
    Invoke<id::CLEAR_BLIP, bool>(blip);
    Blip handle = blip;
    Invoke<id::REMOVE_BLIP_BY_ADDRESS, void>(&handle);
}
void REQUEST_MODEL(Hash model) {
    Invoke<id::REQUEST_MODEL, void>(model, kTrue);
}
bool HAS_MODEL_LOADED(Hash model) {
    return Invoke<id::HAS_MODEL_LOADED, bool>(model);
}
void SET_MODEL_AS_NO_LONGER_NEEDED(Hash model) {
    Invoke<id::SET_MODEL_AS_NO_LONGER_NEEDED, void>(model);
}
Ped CREATE_PED(Hash model, float x, float y, float z) {
    return Invoke<id::CREATE_PED, Ped>(model, x, y, z, 0.0f, kTrue, kTrue, kTrue, kTrue);
}
void PLACE_ENTITY_ON_GROUND_PROPERLY(Entity entity) {
    Invoke<id::PLACE_ENTITY_ON_GROUND_PROPERLY, bool>(entity, kTrue);
}
void SET_RANDOM_OUTFIT_VARIATION(Ped ped) {
    Invoke<id::SET_RANDOM_OUTFIT_VARIATION, void>(ped, kTrue);
}
void FREEZE_ENTITY_POSITION(Entity entity, bool frozen) {
    Invoke<id::FREEZE_ENTITY_POSITION, void>(entity, frozen);
}
void SET_WEATHER_TYPE(Hash weatherType) {
    Invoke<id::SET_WEATHER_TYPE, void>(weatherType, kTrue, kTrue, kTrue, 30.0f, kFalse);
}
void CLEAR_WEATHER_TYPE_OVER_TIME(int milliseconds) {
    Invoke<id::CLEAR_WEATHER_TYPE_OVER_TIME, void>(int32_t{milliseconds});
}
void FORCE_LIGHTNING_FLASH_AT_COORDS(float x, float y, float z) {
    Invoke<id::FORCE_LIGHTNING_FLASH_AT_COORDS, void>(x, y, z, -1.0f);
}

// ---- placement and scene-state natives

void REQUEST_COLLISION_AT_COORD(float x, float y, float z) {
    Invoke<id::REQUEST_COLLISION_AT_COORD, void>(x, y, z);
}
bool GET_GROUND_Z_FOR_3D_COORD(float x, float y, float z, float* groundZ) {
    return Invoke<id::GET_GROUND_Z_FOR_3D_COORD, bool>(x, y, z, groundZ, kFalse);
}
bool GET_WATER_HEIGHT_NO_WAVES(float x, float y, float z, float* height) {
    return Invoke<id::GET_WATER_HEIGHT_NO_WAVES, bool>(x, y, z, height);
}
bool IS_PED_ON_MOUNT(Ped ped) {
    return Invoke<id::IS_PED_ON_MOUNT, bool>(ped);
}
int GET_NUM_FREE_SLOTS_IN_PED_POOL() {
    return Invoke<id::GET_NUM_FREE_SLOTS_IN_PED_POOL, int32_t>();
}

namespace native {
namespace {
#define TARROWIND_NATIVE_INFO(name, hash, args) {#name, hash, args},
const NativeInfo kCatalogue[] = {TARROWIND_NATIVES(TARROWIND_NATIVE_INFO)
                                     TARROWIND_PLACEMENT_NATIVES(TARROWIND_NATIVE_INFO)};
#undef TARROWIND_NATIVE_INFO
}  // namespace

const NativeInfo* Catalogue() {
    return kCatalogue;
}
size_t CatalogueSize() {
    return sizeof(kCatalogue) / sizeof(kCatalogue[0]);
}
}  // namespace native
