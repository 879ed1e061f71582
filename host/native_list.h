// Every native the plug-in calls: name, hash and number of argument slots. The typed
// operations in natives.h are checked against this list at compile time.
//
// X(name, hash, argument count)
#pragma once

#define TARROWIND_NATIVES(X)                                     \
    X(PLAYER_ID, 0x217E9DC48139933DULL, 0)                       \
    X(GET_PLAYER_PED, 0x275F255ED201B937ULL, 1)                  \
    X(PLAYER_PED_ID, 0x096275889B8E0EE0ULL, 0)                   \
    X(GET_ACTIVE_HORSE_FOR_PLAYER, 0x46FA0AE18F4C7FA9ULL, 1)     \
    X(GET_ENTITY_COORDS, 0xA86D5F069399F44DULL, 3)               \
    X(VDIST, 0x2A488C176D52CCA5ULL, 6)                           \
    X(GET_PED_NEARBY_PEDS, 0x23F8F5FC7E8C4A6BULL, 4)             \
    X(GET_HASH_KEY, 0xFD340785ADF8CFB7ULL, 1)                    \
    X(GET_CLOCK_HOURS, 0xC82CF208C2B19199ULL, 0)                 \
    X(GET_MISSION_FLAG, 0xB15CD1CF58771DE1ULL, 0)                \
    X(IS_PLAYER_PLAYING, 0xBFFB35986CAAE58CULL, 1)               \
    X(IS_PED_DEAD_OR_DYING, 0x3317DEDB88C95038ULL, 2)            \
    X(IS_PLAYER_BEING_ARRESTED, 0xC8183AE963C58374ULL, 2)        \
    X(IS_PLAYER_CONTROL_ON, 0x7964097FCE4C244BULL, 1)            \
    X(IS_SCREEN_FADED_OUT, 0xF5472C80DF2FF847ULL, 0)             \
    X(GET_IS_LOADING_SCREEN_ACTIVE, 0x71D4BF5890659B0CULL, 0)    \
    X(GET_RANDOM_EVENT_FLAG, 0x924D54E5698AE3E0ULL, 0)           \
    X(DOES_ENTITY_EXIST, 0xD42BD6EB2E0F1677ULL, 1)               \
    X(IS_ENTITY_DEAD, 0x7D5B1F88E7504BBAULL, 1)                  \
    X(IS_ENTITY_A_MISSION_ENTITY, 0x138190F64DB4BBD1ULL, 1)      \
    X(GET_ENTITY_MODEL, 0xDA76A9F39210D365ULL, 1)                \
    X(IS_PED_HUMAN, 0xB980061DA992779DULL, 1)                    \
    X(IS_PED_MALE, 0x6D9F5FAA7488BA46ULL, 1)                     \
    X(IS_PED_INJURED, 0x84A2DD9AC37C35C1ULL, 1)                  \
    X(IS_PED_HOGTIED, 0x3AA24CCC0D451379ULL, 1)                  \
    X(IS_PED_FLEEING, 0xBBCCE00B381F8482ULL, 1)                  \
    X(IS_PED_IN_MELEE_COMBAT, 0x4E209B2C1EAD5159ULL, 1)          \
    X(IS_PED_IN_COMBAT, 0x4859F1FC66A6278EULL, 2)                \
    X(IS_PED_SHOOTING_TEST_1, 0x5B235F24472F2C3BULL, 2)          \
    X(IS_PED_SHOOTING_TEST_2, 0xBFCA7AFABF9D7967ULL, 2)          \
    X(IS_PED_SHOOTING_TEST_3, 0x495A04CAEC263AF8ULL, 2)          \
    X(IS_PED_SHOOTING_TEST_4, 0x95CA12E2C68043E5ULL, 2)          \
    X(IS_PED_SHOOTING_TEST_5, 0x80BB243789008A82ULL, 2)          \
    X(IS_PED_SHOOTING_TEST_6, 0xABC18A28BAD4B46FULL, 2)          \
    X(IS_PED_IN_ANY_VEHICLE, 0x997ABD671D25CA0BULL, 2)           \
    X(IS_PED_IN_VEHICLE, 0xA3EE4A07279BB9DBULL, 3)               \
    X(GET_VEHICLE_PED_IS_IN, 0x9A9112A0FE9A4713ULL, 2)           \
    X(GET_SEAT_PED_IS_USING, 0x4E76CB57222A00E5ULL, 1)           \
    X(IS_PED_RIDING_MOUNT, 0x95CBC65780DE7EB1ULL, 2)             \
    X(GET_MOUNT, 0xE7E11B8DCBED1058ULL, 1)                       \
    X(GET_SCRIPT_TASK_STATUS, 0x77F1BEB8863288D5ULL, 3)          \
    X(SET_ENTITY_AS_MISSION_ENTITY, 0xDC19C288082E586EULL, 3)    \
    X(SET_ENTITY_AS_NO_LONGER_NEEDED, 0x4971D2F8162B9674ULL, 1)  \
    X(SET_PED_KEEP_TASK, 0x971D38760FBC02EFULL, 2)               \
    X(CLEAR_PED_TASKS, 0xE1EF3C1216AFF2CDULL, 3)                 \
    X(CLEAR_PED_SECONDARY_TASK, 0x176CECF6F920D707ULL, 1)        \
    X(TASK_COMBAT_PED, 0xF166E48407BAC484ULL, 4)                 \
    X(TASK_COMBAT_ANIMAL_CHARGE_PED, 0xEE3AA414CF99F368ULL, 7)   \
    X(TASK_FLEE_PED, 0xFD45175A6DFD7CE9ULL, 7)                   \
    X(TASK_ROB_PED, 0x7BB967F85D8CCBDBULL, 5)                    \
    X(TASK_ENTER_VEHICLE, 0xC20E50AA46D09CA8ULL, 7)              \
    X(TASK_VEHICLE_DRIVE_WANDER, 0x480142959D337D00ULL, 4)       \
    X(TASK_MOUNT_THROW_RIDER, 0xBAE08F00021BFFB2ULL, 2)          \
    X(GIVE_WEAPON_TO_PED, 0x5E3BDDBCB83F3D84ULL, 13)             \
    X(GET_PED_RELATIONSHIP_GROUP_HASH, 0x7DBDD04862D95F04ULL, 1) \
    X(SET_PED_RELATIONSHIP_GROUP_HASH, 0xC80A74AC829DDD92ULL, 2) \
    X(ADD_RELATIONSHIP_GROUP, 0xF372BC22FCB88606ULL, 2)          \
    X(SET_RELATIONSHIP_BETWEEN_GROUPS, 0xBF25EB89375A37ADULL, 3) \
    X(BLIP_ADD_FOR_ENTITY, 0x23F74C2FDA6E7C61ULL, 2)             \
    X(GET_BLIP_FROM_ENTITY, 0x6D2C41A8BD6D6FD0ULL, 1)            \
    X(CLEAR_BLIP, 0x01B928CA2E198B01ULL, 1)                      \
    X(REMOVE_BLIP_BY_ADDRESS, 0xF2C3C9DA47AAA54AULL, 1)          \
    X(REQUEST_MODEL, 0xFA28FE3A6246FC30ULL, 2)                   \
    X(HAS_MODEL_LOADED, 0x1283B8B89DD5D1B6ULL, 1)                \
    X(SET_MODEL_AS_NO_LONGER_NEEDED, 0x4AD96EF928BD4F9AULL, 1)   \
    X(CREATE_PED, 0xD49F9B0955C367DEULL, 9)                      \
    X(PLACE_ENTITY_ON_GROUND_PROPERLY, 0x9587913B9E772D29ULL, 2) \
    X(SET_RANDOM_OUTFIT_VARIATION, 0x283978A15512B2FEULL, 2)     \
    X(FREEZE_ENTITY_POSITION, 0x7D9EFB7AD6B19754ULL, 2)          \
    X(SET_WEATHER_TYPE, 0x59174F1AFE095B5AULL, 6)                \
    X(CLEAR_WEATHER_TYPE_OVER_TIME, 0xCE7690C0A0D1C36DULL, 1)    \
    X(FORCE_LIGHTNING_FLASH_AT_COORDS, 0x67943537D179597CULL, 4)

// Natives for placing a new ped where the game can hold it and for reading a scene's state
// without disturbing it: the ground, collision, water, the ped pool, and whether a rider is
// still in the saddle. A block of their own, listed after the first.
#define TARROWIND_PLACEMENT_NATIVES(X)                      \
    X(REQUEST_COLLISION_AT_COORD, 0x0A3720F162A033C9ULL, 3) \
    X(GET_GROUND_Z_FOR_3D_COORD, 0x24FA4267BB8D2431ULL, 5)  \
    X(GET_WATER_HEIGHT_NO_WAVES, 0xDCF3690AA262C03FULL, 4)  \
    X(IS_PED_ON_MOUNT, 0x460BC76A0E10655EULL, 1)            \
    X(GET_NUM_FREE_SLOTS_IN_PED_POOL, 0x313778EDCA9158E2ULL, 0)

#include <cstddef>
#include <cstdint>

namespace native {

struct NativeInfo {
    const char* name;
    uint64_t hash;
    int argCount;
};

// Compile-time identity of one native: its hash and argument count.
#define TARROWIND_NATIVE_ID(name, hash, args)   \
    struct name {                               \
        static constexpr uint64_t kHash = hash; \
        static constexpr int kArgs = args;      \
    };
namespace id {
TARROWIND_NATIVES(TARROWIND_NATIVE_ID)
TARROWIND_PLACEMENT_NATIVES(TARROWIND_NATIVE_ID)
}  // namespace id
#undef TARROWIND_NATIVE_ID

// The whole list, for checks against the game's native database.
const NativeInfo* Catalogue();
size_t CatalogueSize();

}  // namespace native
