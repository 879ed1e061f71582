#include "sim/world/scenario_timeline.h"

#include <cmath>
#include <functional>
#include <optional>
#include <set>

#include "sim/world/native_names.h"

using nlohmann::json;

namespace {

const char* const kActions =
    "kill, hurt, hogtie, despawn, move, player_move, player_path, player_teleport, mission_on, "
    "mission_off, weather, time_of_day, spawn, attack, flee, drive, arm, own, release, "
    "player_dies, player_arrested, cutscene, loading_screen, random_event, control_off, "
    "fade_out or crash";

const std::initializer_list<const char*> kSpawnFields = {
    "id", "model", "position", "group", "weapons", "male", "state", "health", "owned", "wanders"};

using Happening = std::function<void(World&)>;

// Finds a ped by the id the file gave it, when the happening runs.
int32_t PedNamed(World& world, const ScenarioIds& ids, const std::string& id) {
    if (id == "player") {
        return world.PlayerPed();
    }
    if (id == "player_horse") {
        return world.PlayerHorse();
    }
    auto it = ids.peds.find(id);
    return it == ids.peds.end() ? 0 : it->second;
}

class TimelineReader {
  public:
    TimelineReader(const ScenarioReader& in, std::shared_ptr<ScenarioIds> ids,
                   std::set<std::string> spawnedIds)
        : in_(in), ids_(std::move(ids)), spawnedIds_(std::move(spawnedIds)) {}

    Happening Read(const json& j, const std::string& path) {
        const std::string action =
            in_.String(Need(j, path, "do", std::string("one of ") + kActions), path + ".do");
        if (action == "kill" || action == "hogtie" || action == "own" || action == "release") {
            Only(j, path, {"ped"});
            const std::string ped = PedId(j, path, "ped");
            return [ids = ids_, ped, action](World& w) {
                const int32_t handle = PedNamed(w, *ids, ped);
                if (action == "kill") {
                    w.KillPed(handle);
                } else if (action == "hogtie") {
                    w.HogtiePed(handle);
                } else if (SimPed* p = w.FindPed(handle)) {
                    p->missionEntity = action == "own";
                }
            };
        }
        if (action == "hurt") {
            Only(j, path, {"ped", "amount"});
            const std::string ped = PedId(j, path, "ped");
            const float amount =
                j.contains("amount")
                    ? static_cast<float>(in_.Number(j["amount"], path + ".amount", 0, 1000))
                    : 30.0f;
            return
                [ids = ids_, ped, amount](World& w) { w.HurtPed(PedNamed(w, *ids, ped), amount); };
        }
        if (action == "despawn" || action == "move") {
            const bool move = action == "move";
            if (move) {
                Only(j, path, {"ped", "vehicle", "to"});
            } else {
                Only(j, path, {"ped", "vehicle"});
            }
            const Vec3 to =
                move ? in_.Position(Need(j, path, "to", "[x, y, z]"), path + ".to") : Vec3{};
            if (j.contains("vehicle")) {
                if (j.contains("ped")) {
                    in_.Fail(path + ".vehicle", "either a \"ped\" or a \"vehicle\", not both");
                }
                const std::string id = in_.String(j["vehicle"], path + ".vehicle");
                auto it = ids_->vehicles.find(id);
                if (it == ids_->vehicles.end()) {
                    in_.Fail(path + ".vehicle",
                             "the id of a vehicle in \"vehicles\", not '" + id + "'");
                }
                const int32_t vehicle = it->second;
                return [vehicle, move, to](World& w) {
                    move ? w.MoveEntity(vehicle, to) : w.RemoveVehicle(vehicle);
                };
            }
            const std::string ped = PedId(j, path, "ped");
            return [ids = ids_, ped, move, to](World& w) {
                const int32_t handle = PedNamed(w, *ids, ped);
                move ? w.MoveEntity(handle, to) : w.RemovePed(handle);
            };
        }
        if (action == "player_move" || action == "player_teleport") {
            const bool teleport = action == "player_teleport";
            if (teleport) {
                Only(j, path, {"to"});
            } else {
                Only(j, path, {"to", "speed"});
            }
            const Vec3 to = in_.Position(Need(j, path, "to", "[x, y, z]"), path + ".to");
            const float speed =
                teleport ? 0.0f
                : j.contains("speed")
                    ? static_cast<float>(in_.Number(j["speed"], path + ".speed", 0.1, 100))
                    : 1.5f;
            return [to, speed](World& w) { w.PlayerPath().MoveTo(to, speed); };
        }
        if (action == "player_path") {
            Only(j, path, {"path", "loop"});
            auto points = in_.Path(Need(j, path, "path", "a list of points"), path + ".path");
            const bool loop = j.contains("loop") && in_.Bool(j["loop"], path + ".loop");
            return [points, loop](World& w) { w.PlayerPath().Set(points, loop); };
        }
        if (action == "player_dies") {
            Only(j, path, {"respawn_s", "respawn_at"});
            const uint64_t respawnMs = Lasting(j, path, "respawn_s", false);
            std::optional<Vec3> place;
            if (j.contains("respawn_at")) {
                place = in_.Position(j["respawn_at"], path + ".respawn_at");
            }
            return [respawnMs, place](World& w) {
                w.KillPed(w.PlayerPed());
                if (respawnMs != 0 || place) {
                    w.GameStates().SetRespawn(
                        w.NowMs() + (respawnMs != 0 ? respawnMs : w.settings.playerRespawnMs),
                        place);
                }
            };
        }
        if (action == "player_arrested" || action == "loading_screen") {
            const bool loading = action == "loading_screen";
            const char* place = loading ? "to" : "then_at";
            Only(j, path, {"for_s", place});
            const uint64_t forMs = Lasting(j, path, "for_s", true);
            std::optional<Vec3> to;
            if (j.contains(place)) {
                to = in_.Position(j[place], path + "." + place);
            }
            // Fast travel moves the player behind the loading screen; an arrest's fine or jail
            // puts him down somewhere once it is over.
            return [loading, forMs, to](World& w) {
                const uint64_t now = w.NowMs();
                w.GameStates().Add(loading ? GameStateKind::LoadingScreen : GameStateKind::Arrest,
                                   now, now + forMs);
                if (to) {
                    w.Schedule(loading ? now : now + forMs,
                               [to](World& world) { world.MoveEntity(world.PlayerPed(), *to); });
                }
            };
        }
        if (action == "cutscene" || action == "random_event" || action == "control_off" ||
            action == "fade_out") {
            Only(j, path, {"for_s"});
            const uint64_t forMs = Lasting(j, path, "for_s", true);
            const GameStateKind kind = action == "cutscene"       ? GameStateKind::Cutscene
                                       : action == "random_event" ? GameStateKind::RandomEvent
                                       : action == "control_off"  ? GameStateKind::ControlLoss
                                                                  : GameStateKind::Fade;
            return
                [kind, forMs](World& w) { w.GameStates().Add(kind, w.NowMs(), w.NowMs() + forMs); };
        }
        if (action == "mission_on" || action == "mission_off") {
            Only(j, path, {});
            const bool on = action == "mission_on";
            return [on](World& w) { w.Environment().SetMissionFlag(on); };
        }
        if (action == "weather") {
            Only(j, path, {"weather"});
            const uint32_t weather =
                in_.Identifier(Need(j, path, "weather", "a weather name"), path + ".weather");
            return [weather](World& w) { w.Environment().SetBaseWeather(weather); };
        }
        if (action == "time_of_day") {
            Only(j, path, {"time_of_day"});
            const auto clock =
                in_.TimeOfDay(Need(j, path, "time_of_day", "\"HH:MM\""), path + ".time_of_day");
            return [clock](World& w) { w.Environment().SetClock(clock.first, clock.second); };
        }
        if (action == "spawn") {
            Only(j, path, {"ped"});
            const std::string at = path + ".ped";
            const json& pedFields = Need(j, path, "ped", "a ped as in \"peds\"");
            in_.Fields(pedFields, at, kSpawnFields);
            const SimPed ped = in_.Ped(
                pedFields, at,
                in_.Position(Need(pedFields, at, "position", "[x, y, z]"), at + ".position"));
            const std::string id =
                pedFields.contains("id") ? in_.String(pedFields["id"], at + ".id") : "";
            return [ids = ids_, ped, id](World& w) {
                const int32_t handle = w.SpawnPed(ped);
                if (!id.empty()) {
                    ids->peds[id] = handle;
                }
            };
        }
        if (action == "attack" || action == "flee") {
            const bool attack = action == "attack";
            const char* other = attack ? "target" : "from";
            Only(j, path, {"ped", other});
            const std::string ped = PedId(j, path, "ped");
            const std::string target = PedId(j, path, other);
            return [ids = ids_, ped, target, attack](World& w) {
                const int32_t a = PedNamed(w, *ids, ped);
                const int32_t b = PedNamed(w, *ids, target);
                const SimPed* p = w.FindPed(a);
                if (p == nullptr) {
                    return;
                }
                attack ? w.OrderCombat(a, b, !p->human) : w.OrderFlee(a, b);
            };
        }
        if (action == "drive") {
            Only(j, path, {"ped", "speed"});
            const std::string ped = PedId(j, path, "ped");
            const float speed =
                j.contains("speed")
                    ? static_cast<float>(in_.Number(j["speed"], path + ".speed", 0.1, 50))
                    : 0.0f;
            return [ids = ids_, ped, speed](World& w) {
                const int32_t handle = PedNamed(w, *ids, ped);
                if (const SimPed* p = w.FindPed(handle)) {
                    w.OrderDriveWander(handle, p->vehicle, speed);
                }
            };
        }
        if (action == "arm") {
            Only(j, path, {"ped", "weapons"});
            const std::string ped = PedId(j, path, "ped");
            const uint32_t weapons =
                in_.Weapons(Need(j, path, "weapons", "a list of weapons"), path + ".weapons");
            return [ids = ids_, ped, weapons](World& w) {
                if (SimPed* p = w.FindPed(PedNamed(w, *ids, ped))) {
                    p->weapons = weapons;
                }
            };
        }
        if (action == "crash") {
            Only(j, path, {"native", "call"});
            const std::string name =
                in_.String(Need(j, path, "native", "the name of a native the plug-in calls"),
                           path + ".native");
            uint64_t hash = 0;
            if (!NativeHashNamed(name, &hash)) {
                in_.Fail(path + ".native",
                         "the name of a native the plug-in calls, not '" + name + "'");
            }
            const uint64_t call =
                j.contains("call")
                    ? static_cast<uint64_t>(in_.Number(j["call"], path + ".call", 1, 1e9))
                    : 1;
            return [hash, call](World& w) { w.PlanNativeCrash(hash, call); };
        }
        in_.Fail(path + ".do", std::string("one of ") + kActions + ", not '" + action + "'");
    }

  private:
    const json& Need(const json& j, const std::string& path, const char* field,
                     const std::string& what) const {
        if (!j.contains(field)) {
            in_.Fail(path + "." + field, what);
        }
        return j[field];
    }

    // A length in seconds, 0.1 s to a day; 0 when it may be left out and is.
    uint64_t Lasting(const json& j, const std::string& path, const char* field, bool needed) const {
        if (!j.contains(field) && !needed) {
            return 0;
        }
        const double seconds =
            in_.Number(Need(j, path, field, "a length in seconds"), path + "." + field, 0.1, 86400);
        return static_cast<uint64_t>(std::llround(seconds * 1000.0));
    }

    // The entry may hold at_s, do and the given fields only.
    void Only(const json& j, const std::string& path, std::initializer_list<const char*> fields) {
        std::vector<const char*> allowed = {"at_s", "do"};
        allowed.insert(allowed.end(), fields.begin(), fields.end());
        for (const auto& item : j.items()) {
            bool known = false;
            for (const char* field : allowed) {
                known = known || item.key() == field;
            }
            if (!known) {
                std::string list;
                for (const char* field : allowed) {
                    list += std::string(list.empty() ? "" : ", ") + field;
                }
                in_.Unknown(path + "." + item.key(),
                            list + " (for \"" + j["do"].get<std::string>() + "\")");
            }
        }
    }

    std::string PedId(const json& j, const std::string& path, const char* field) const {
        const std::string at = path + "." + field;
        const std::string id =
            in_.String(Need(j, path, field, "the id of a ped, or \"player\""), at);
        if (id != "player" && id != "player_horse" && ids_->peds.count(id) == 0 &&
            spawnedIds_.count(id) == 0) {
            in_.Fail(at,
                     "the id of a ped in \"peds\" or spawned by the timeline, or \"player\" "
                     "or \"player_horse\", not '" +
                         id + "'");
        }
        return id;
    }

    const ScenarioReader& in_;
    std::shared_ptr<ScenarioIds> ids_;
    std::set<std::string> spawnedIds_;
};

// The ids the timeline's spawns will give, so other entries may name them.
std::set<std::string> SpawnedIds(const ScenarioReader& in, const ScenarioIds& ids,
                                 const json& timeline) {
    std::set<std::string> spawned;
    for (size_t i = 0; i < timeline.size(); ++i) {
        const json& j = timeline[i];
        if (!j.is_object() || !j.contains("do") || j["do"] != "spawn" || !j.contains("ped") ||
            !j["ped"].is_object() || !j["ped"].contains("id")) {
            continue;
        }
        const std::string path = ScenarioReader::Index("timeline", i) + ".ped.id";
        const std::string id = in.String(j["ped"]["id"], path);
        if (id.empty() || id == "player" || id == "player_horse" || ids.peds.count(id) > 0 ||
            ids.vehicles.count(id) > 0 || !spawned.insert(id).second) {
            in.Fail(path, "an id used by nothing else in the file, not '" + id + "'");
        }
    }
    return spawned;
}

}  // namespace

void ScheduleTimeline(const ScenarioReader& in, World& world, std::shared_ptr<ScenarioIds> ids,
                      const json& timeline) {
    in.Array(timeline, "timeline");
    TimelineReader reader(in, ids, SpawnedIds(in, *ids, timeline));
    for (size_t i = 0; i < timeline.size(); ++i) {
        const std::string path = ScenarioReader::Index("timeline", i);
        const json& j = timeline[i];
        if (!j.is_object()) {
            in.Fail(path, "an object with \"at_s\" and \"do\"");
        }
        if (!j.contains("at_s")) {
            in.Fail(path + ".at_s", "the time of the happening in seconds from the start");
        }
        const double atS = in.Number(j["at_s"], path + ".at_s", 0, 1e8);
        Happening happening = reader.Read(j, path);
        world.Schedule(static_cast<uint64_t>(std::llround(atS * 1000)), std::move(happening));
    }
}
