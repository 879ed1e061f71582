// Every native the plug-in may call, answered from the simulated world the way the game
// answers it (see the game's native database for each hash).
#include <cmath>
#include <string>

#include "sim/host/native_table.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

using A = const NativeArgs&;
using R = NativeResult&;

// Whether the living ped carries a weapon of the kind (the weapon natives take a second
// slot the world does not read).
template <uint32_t kWeaponBit>
void HasWeapon(World& w, A a, R r) {
    const SimPed* p = w.FindPed(a.Int(0));
    r.SetBool(p != nullptr && !p->dead && (p->weapons & kWeaponBit) != 0);
}

void AddPlayerNatives(NativeTable& t) {
    t.Add(
        0x217E9DC48139933DULL, "PLAYER_ID", 0, +[](World& w, A, R r) { r.SetInt(w.PlayerId()); });
    t.Add(
        0x275F255ED201B937ULL, "GET_PLAYER_PED", 1,
        +[](World& w, A a, R r) { r.SetInt(a.Int(0) == w.PlayerId() ? w.PlayerPed() : 0); });
    t.Add(
        0x096275889B8E0EE0ULL, "PLAYER_PED_ID", 0,
        +[](World& w, A, R r) { r.SetInt(w.PlayerPed()); });
    t.Add(
        0x46FA0AE18F4C7FA9ULL, "_GET_ACTIVE_HORSE_FOR_PLAYER", 1, +[](World& w, A a, R r) {
            r.SetInt(a.Int(0) == w.PlayerId() && w.FindPed(w.PlayerHorse()) ? w.PlayerHorse() : 0);
        });
    t.Add(
        0xB15CD1CF58771DE1ULL, "GET_MISSION_FLAG", 0,
        +[](World& w, A, R r) { r.SetBool(w.Environment().MissionActive()); });
    t.Add(
        0xC82CF208C2B19199ULL, "GET_CLOCK_HOURS", 0,
        +[](World& w, A, R r) { r.SetInt(w.Environment().ClockHours()); });
}

bool PlayerDead(const World& w) {
    const SimPed* player = w.FindPed(w.PlayerPed());
    return player == nullptr || player->dead;
}

// Free play or not: the player's state and the screen (game_states.h).
void AddGameStateNatives(NativeTable& t) {
    t.Add(
        0xBFFB35986CAAE58CULL, "IS_PLAYER_PLAYING", 1, +[](World& w, A a, R r) {
            r.SetBool(a.Int(0) == w.PlayerId() && !PlayerDead(w) &&
                      !w.GameStates().BeingArrested(w.NowMs()));
        });
    t.Add(
        0x3317DEDB88C95038ULL, "IS_PED_DEAD_OR_DYING", 2, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && (p->dead || p->health <= 0));
        });
    t.Add(
        0xC8183AE963C58374ULL, "IS_PLAYER_BEING_ARRESTED", 2, +[](World& w, A a, R r) {
            r.SetBool(a.Int(0) == w.PlayerId() && w.GameStates().BeingArrested(w.NowMs()));
        });
    t.Add(
        0x7964097FCE4C244BULL, "IS_PLAYER_CONTROL_ON", 1, +[](World& w, A a, R r) {
            r.SetBool(a.Int(0) == w.PlayerId() && !w.GameStates().ControlTaken(w.NowMs()) &&
                      !PlayerDead(w));
        });
    t.Add(
        0xF5472C80DF2FF847ULL, "IS_SCREEN_FADED_OUT", 0,
        +[](World& w, A, R r) { r.SetBool(w.GameStates().ScreenFadedOut(w.NowMs())); });
    t.Add(
        0x71D4BF5890659B0CULL, "GET_IS_LOADING_SCREEN_ACTIVE", 0,
        +[](World& w, A, R r) { r.SetBool(w.GameStates().LoadingScreen(w.NowMs())); });
    t.Add(
        0x924D54E5698AE3E0ULL, "GET_RANDOM_EVENT_FLAG", 0,
        +[](World& w, A, R r) { r.SetBool(w.GameStates().RandomEvent(w.NowMs())); });
}

void AddPositionNatives(NativeTable& t) {
    t.Add(
        0xA86D5F069399F44DULL, "GET_ENTITY_COORDS", 3, +[](World& w, A a, R r) {
            const Vec3 p = w.EntityPosition(a.Int(0), a.Bool(2));
            r.SetVector(p.x, p.y, p.z);
        });
    t.Add(
        0x2A488C176D52CCA5ULL, "VDIST", 6, +[](World&, A a, R r) {
            const Vec3 p{a.Float(0), a.Float(1), a.Float(2)};
            const Vec3 q{a.Float(3), a.Float(4), a.Float(5)};
            r.SetFloat(Distance(p, q));
        });
    t.Add(
        0x23F8F5FC7E8C4A6BULL, "GET_PED_NEARBY_PEDS", 4, +[](World& w, A a, R r) {
            // Slot 0 of the buffer holds its capacity; handles go into slots 1 to count.
            uint64_t* buffer = a.Pointer<uint64_t>(1);
            if (buffer == nullptr) {
                r.SetInt(0);
                return;
            }
            const int32_t capacity = static_cast<int32_t>(static_cast<uint32_t>(buffer[0]));
            if (capacity <= 0) {
                r.SetInt(0);
                return;
            }
            const auto peds = w.NearbyPeds(a.Int(0), static_cast<size_t>(capacity));
            for (size_t i = 0; i < peds.size(); ++i) {
                buffer[i + 1] = static_cast<uint32_t>(peds[i]);
            }
            r.SetInt(static_cast<int32_t>(peds.size()));
        });
    t.Add(
        0xFD340785ADF8CFB7ULL, "GET_HASH_KEY", 1, +[](World&, A a, R r) {
            const char* text = a.Pointer<const char>(0);
            r.SetUint(text == nullptr ? 0u : Joaat(text));
        });
}

void AddEntityQueryNatives(NativeTable& t) {
    t.Add(
        0xD42BD6EB2E0F1677ULL, "DOES_ENTITY_EXIST", 1,
        +[](World& w, A a, R r) { r.SetBool(w.EntityExists(a.Int(0))); });
    t.Add(
        0x7D5B1F88E7504BBAULL, "IS_ENTITY_DEAD", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && p->dead);
        });
    t.Add(
        0x138190F64DB4BBD1ULL, "IS_ENTITY_A_MISSION_ENTITY", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            const SimVehicle* v = w.FindVehicle(a.Int(0));
            r.SetBool((p != nullptr && p->missionEntity) || (v != nullptr && v->missionEntity));
        });
    t.Add(
        0xDA76A9F39210D365ULL, "GET_ENTITY_MODEL", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            const SimVehicle* v = w.FindVehicle(a.Int(0));
            r.SetUint(p != nullptr ? p->model : v != nullptr ? v->model : 0u);
        });
}

// Natives that read one flag of a ped; missing peds answer false.
#define PED_FLAG(hash, name, expression)             \
    t.Add(                                           \
        hash, name, 1, +[](World& w, A a, R r) {     \
            const SimPed* p = w.FindPed(a.Int(0));   \
            r.SetBool(p != nullptr && (expression)); \
        })

void AddPedStateNatives(NativeTable& t) {
    PED_FLAG(0xB980061DA992779DULL, "IS_PED_HUMAN", p->human);
    PED_FLAG(0x6D9F5FAA7488BA46ULL, "IS_PED_MALE", p->male);
    PED_FLAG(0x84A2DD9AC37C35C1ULL, "IS_PED_INJURED", p->Injured() || p->dead);
    PED_FLAG(0x3AA24CCC0D451379ULL, "IS_PED_HOGTIED", p->hogtied);
    PED_FLAG(0xBBCCE00B381F8482ULL, "IS_PED_FLEEING", p->fleeing && !p->dead);
    PED_FLAG(0x4E209B2C1EAD5159ULL, "IS_PED_IN_MELEE_COMBAT", p->inMelee && !p->dead);
    t.Add(
        0x4859F1FC66A6278EULL, "IS_PED_IN_COMBAT", 2, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && !p->dead && p->combatTarget != 0 &&
                      p->combatTarget == a.Int(1));
        });
    t.Add(0x5B235F24472F2C3BULL, "_DOES_PED_HAVE_REVOLVER", 2, HasWeapon<kRevolver>);
    t.Add(0xBFCA7AFABF9D7967ULL, "_DOES_PED_HAVE_PISTOL", 2, HasWeapon<kPistol>);
    t.Add(0x495A04CAEC263AF8ULL, "_DOES_PED_HAVE_REPEATER", 2, HasWeapon<kRepeater>);
    t.Add(0x95CA12E2C68043E5ULL, "_DOES_PED_HAVE_RIFLE", 2, HasWeapon<kRifle>);
    t.Add(0x80BB243789008A82ULL, "_DOES_PED_HAVE_SNIPER", 2, HasWeapon<kSniper>);
    t.Add(0xABC18A28BAD4B46FULL, "_DOES_PED_HAVE_SHOTGUN", 2, HasWeapon<kShotgun>);
    t.Add(
        0x997ABD671D25CA0BULL, "IS_PED_IN_ANY_VEHICLE", 2, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && p->vehicle != 0);
        });
    t.Add(
        0xA3EE4A07279BB9DBULL, "IS_PED_IN_VEHICLE", 3, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && p->vehicle != 0 && p->vehicle == a.Int(1));
        });
    t.Add(
        0x9A9112A0FE9A4713ULL, "GET_VEHICLE_PED_IS_IN", 2, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetInt(p != nullptr ? p->vehicle : 0);
        });
    t.Add(
        0x4E76CB57222A00E5ULL, "GET_SEAT_PED_IS_USING", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetInt(p != nullptr && p->vehicle != 0 ? p->seat : -2);
        });
    t.Add(
        0x95CBC65780DE7EB1ULL, "IS_PED_FULLY_ON_MOUNT", 2, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && p->mount != 0);
        });
    t.Add(
        0xE7E11B8DCBED1058ULL, "GET_MOUNT", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetInt(p != nullptr ? p->mount : 0);
        });
    t.Add(
        0x77F1BEB8863288D5ULL, "GET_SCRIPT_TASK_STATUS", 3,
        +[](World& w, A a, R r) { r.SetInt(w.ScriptTaskStatus(a.Int(0), a.Uint(1))); });
}
#undef PED_FLAG

void AddOwnershipAndTaskNatives(NativeTable& t) {
    t.Add(
        0xDC19C288082E586EULL, "SET_ENTITY_AS_MISSION_ENTITY", 3, +[](World& w, A a, R) {
            if (SimPed* p = w.FindPed(a.Int(0))) {
                p->missionEntity = true;
            } else if (SimVehicle* v = w.FindVehicle(a.Int(0))) {
                v->missionEntity = true;
            }
        });
    t.Add(
        0x4971D2F8162B9674ULL, "SET_ENTITY_AS_NO_LONGER_NEEDED", 1, +[](World& w, A a, R) {
            int32_t* handle = a.Pointer<int32_t>(0);
            if (handle == nullptr) {
                return;
            }
            if (SimPed* p = w.FindPed(*handle)) {
                p->missionEntity = false;
                if (!p->keepTask) {
                    w.ClearTasks(p->handle);  // a script's orders end with its hold
                }
            } else if (SimVehicle* v = w.FindVehicle(*handle)) {
                v->missionEntity = false;
            }
            if (w.settings.rewriteReleasedHandle) {
                *handle = 0;
            }
        });
    t.Add(
        0x971D38760FBC02EFULL, "SET_PED_KEEP_TASK", 2, +[](World& w, A a, R) {
            if (SimPed* p = w.FindPed(a.Int(0))) {
                p->keepTask = a.Bool(1);
            }
        });
    t.Add(
        0xE1EF3C1216AFF2CDULL, "CLEAR_PED_TASKS", 3,
        +[](World& w, A a, R) { w.ClearTasks(a.Int(0)); });
    t.Add(
        0x176CECF6F920D707ULL, "CLEAR_PED_SECONDARY_TASK", 1, +[](World&, A, R) {});
    t.Add(
        0xF166E48407BAC484ULL, "TASK_COMBAT_PED", 4,
        +[](World& w, A a, R) { w.OrderCombat(a.Int(0), a.Int(1), false); });
    t.Add(
        0xEE3AA414CF99F368ULL, "TASK_COMBAT_ANIMAL_CHARGE_PED", 7,
        +[](World& w, A a, R) { w.OrderCombat(a.Int(0), a.Int(1), true); });
    t.Add(
        0xFD45175A6DFD7CE9ULL, "TASK_FLEE_PED", 7,
        +[](World& w, A a, R) { w.OrderFlee(a.Int(0), a.Int(1)); });
    t.Add(
        0x7BB967F85D8CCBDBULL, "TASK_ROB_PED", 5,
        +[](World& w, A a, R) { w.OrderRob(a.Int(0), a.Int(1)); });
    t.Add(
        0xC20E50AA46D09CA8ULL, "TASK_ENTER_VEHICLE", 7, +[](World& w, A a, R) {
            const int32_t timeout = a.Int(2);
            w.OrderEnterVehicle(a.Int(0), a.Int(1),
                                timeout > 0 ? static_cast<uint64_t>(timeout) : 0);
        });
    t.Add(
        0x480142959D337D00ULL, "TASK_VEHICLE_DRIVE_WANDER", 4,
        +[](World& w, A a, R) { w.OrderDriveWander(a.Int(0), a.Int(1)); });
    t.Add(
        0xBAE08F00021BFFB2ULL, "_HORSE_AGITATE", 2,
        +[](World& w, A a, R) { w.OrderThrowRider(a.Int(0), a.Bool(1)); });
    t.Add(
        0x5E3BDDBCB83F3D84ULL, "GIVE_WEAPON_TO_PED", 13,
        +[](World& w, A a, R r) { r.SetUint(w.GiveWeapon(a.Int(0), a.Uint(1))); });
}

void AddGroupAndBlipNatives(NativeTable& t) {
    t.Add(
        0x7DBDD04862D95F04ULL, "GET_PED_RELATIONSHIP_GROUP_HASH", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetUint(p != nullptr ? p->group : 0u);
        });
    t.Add(
        0xC80A74AC829DDD92ULL, "SET_PED_RELATIONSHIP_GROUP_HASH", 2, +[](World& w, A a, R) {
            if (SimPed* p = w.FindPed(a.Int(0))) {
                p->group = a.Uint(1);
            }
        });
    t.Add(
        0xF372BC22FCB88606ULL, "ADD_RELATIONSHIP_GROUP", 2, +[](World& w, A a, R r) {
            const char* name = a.Pointer<const char>(0);
            uint32_t* out = a.Pointer<uint32_t>(1);
            if (name == nullptr || out == nullptr) {
                r.SetBool(false);
                return;
            }
            *out = w.AddRelationshipGroup(name);
            r.SetBool(true);
        });
    t.Add(
        0xBF25EB89375A37ADULL, "SET_RELATIONSHIP_BETWEEN_GROUPS", 3,
        +[](World& w, A a, R) { w.SetRelationship(a.Int(0), a.Uint(1), a.Uint(2)); });
    t.Add(
        0x23F74C2FDA6E7C61ULL, "BLIP_ADD_FOR_ENTITY", 2,
        +[](World& w, A a, R r) { r.SetInt(w.AddBlip(a.Uint(0), a.Int(1))); });
    t.Add(
        0x6D2C41A8BD6D6FD0ULL, "GET_BLIP_FROM_ENTITY", 1,
        +[](World& w, A a, R r) { r.SetInt(w.BlipForEntity(a.Int(0))); });
    t.Add(
        0x01B928CA2E198B01ULL, "_CLEAR_BLIP", 1,
        +[](World& w, A a, R r) { r.SetBool(w.ClearBlip(a.Int(0))); });
    t.Add(
        0xF2C3C9DA47AAA54AULL, "REMOVE_BLIP", 1, +[](World& w, A a, R) {
            int32_t* handle = a.Pointer<int32_t>(0);
            if (handle != nullptr) {
                w.RemoveBlip(*handle);
            }
        });
}

void AddSpawnNatives(NativeTable& t) {
    t.Add(
        0xFA28FE3A6246FC30ULL, "REQUEST_MODEL", 2,
        +[](World& w, A a, R) { w.RequestModel(a.Uint(0)); });
    t.Add(
        0x1283B8B89DD5D1B6ULL, "HAS_MODEL_LOADED", 1,
        +[](World& w, A a, R r) { r.SetBool(w.ModelLoaded(a.Uint(0))); });
    t.Add(
        0x4AD96EF928BD4F9AULL, "SET_MODEL_AS_NO_LONGER_NEEDED", 1,
        +[](World& w, A a, R) { w.ReleaseModel(a.Uint(0)); });
    t.Add(
        0xD49F9B0955C367DEULL, "CREATE_PED", 9, +[](World& w, A a, R r) {
            r.SetInt(w.CreatePedFromModel(a.Uint(0), Vec3{a.Float(1), a.Float(2), a.Float(3)}));
        });
    t.Add(
        0x9587913B9E772D29ULL, "PLACE_ENTITY_ON_GROUND_PROPERLY", 2,
        +[](World& w, A a, R r) { r.SetBool(w.PlaceOnGround(a.Int(0))); });
    t.Add(
        0x283978A15512B2FEULL, "_SET_RANDOM_OUTFIT_VARIATION", 2, +[](World&, A, R) {});
    t.Add(
        0x7D9EFB7AD6B19754ULL, "FREEZE_ENTITY_POSITION", 2, +[](World&, A, R) {});
}

void AddWeatherNatives(NativeTable& t) {
    t.Add(
        0x59174F1AFE095B5AULL, "SET_WEATHER_TYPE", 6,
        +[](World& w, A a, R) { w.Environment().ForceWeather(a.Uint(0), a.Float(4)); });
    t.Add(
        0xCE7690C0A0D1C36DULL, "_CLEAR_WEATHER_TYPE_PERSIST_OVERTIME", 1,
        +[](World& w, A a, R) { w.Environment().ClearWeatherOverTime(a.Int(0)); });
    t.Add(
        0x67943537D179597CULL, "_FORCE_LIGHTNING_FLASH_AT_COORDS", 4, +[](World& w, A a, R) {
            w.Environment().StrikeLightning(Vec3{a.Float(0), a.Float(1), a.Float(2)});
        });
}

// The ground, collision and water under a spot, the ped pool, and the saddle.
void AddPlacementNatives(NativeTable& t) {
    t.Add(
        0x0A3720F162A033C9ULL, "REQUEST_COLLISION_AT_COORD", 3, +[](World& w, A a, R) {
            w.RequestCollision(Vec3{a.Float(0), a.Float(1), a.Float(2)});
        });
    t.Add(
        0x24FA4267BB8D2431ULL, "GET_GROUND_Z_FOR_3D_COORD", 5, +[](World& w, A a, R r) {
            float* out = a.Pointer<float>(3);
            float ground = 0;
            const bool found = w.ProbeGround(a.Float(0), a.Float(1), a.Float(2), &ground);
            if (out != nullptr) {
                *out = found ? ground : 0.0f;
            }
            r.SetBool(found && out != nullptr);
        });
    t.Add(
        0xDCF3690AA262C03FULL, "GET_WATER_HEIGHT_NO_WAVES", 4, +[](World& w, A a, R r) {
            float* out = a.Pointer<float>(3);
            float surface = 0;
            const bool found = w.terrain.WaterSurface(a.Float(0), a.Float(1), &surface);
            if (out != nullptr && found) {
                *out = surface;
            }
            r.SetBool(found && out != nullptr);
        });
    t.Add(
        0xDDE5C125AC446723ULL, "IS_ENTITY_IN_WATER", 1,
        +[](World& w, A a, R r) { r.SetBool(w.EntityInWater(a.Int(0))); });
    t.Add(
        0x460BC76A0E10655EULL, "IS_PED_ON_MOUNT", 1, +[](World& w, A a, R r) {
            const SimPed* p = w.FindPed(a.Int(0));
            r.SetBool(p != nullptr && p->mount != 0 && w.FindPed(p->mount) != nullptr);
        });
    t.Add(
        0x313778EDCA9158E2ULL, "_GET_NUM_FREE_SLOTS_IN_PED_POOL", 0,
        +[](World& w, A, R r) { r.SetInt(w.FreePedSlots()); });
}

}  // namespace

void RegisterWorldNatives(NativeTable& table) {
    AddPlacementNatives(table);
    AddPlayerNatives(table);
    AddGameStateNatives(table);
    AddPositionNatives(table);
    AddEntityQueryNatives(table);
    AddPedStateNatives(table);
    AddOwnershipAndTaskNatives(table);
    AddGroupAndBlipNatives(table);
    AddSpawnNatives(table);
    AddWeatherNatives(table);
}
