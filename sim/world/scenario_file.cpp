#include "sim/world/scenario_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "core/settings_table.h"
#include "encounters/encounter_catalogue.h"
#include "platform/ini_reader.h"
#include "sim/world/joaat.h"
#include "sim/world/scenario_fields.h"
#include "sim/world/scenario_terrain.h"
#include "sim/world/scenario_timeline.h"
#include "sim/world/sim_calendar.h"

using nlohmann::json;

namespace {

std::string EncounterNames() {
    std::string names;
    for (const CataloguedEncounter& encounter : EncounterCatalogue()) {
        names += (names.empty() ? "" : ", ") + std::string(encounter.name);
    }
    return names;
}

// Whether an INI's text has a line "[section]" (as the reader compares names: any case).
bool IniNamesSection(const std::string& text, const std::string& section) {
    // Section names match whatever their case, as the game's INI reader matches them.
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    const std::vector<std::string> names = ini::ListSectionsFromText(text);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return lower(name) == lower(section); });
}

// A block of checks is only required to be an object here; the simulator reads it field by
// field.
json Checks(const ScenarioReader& in, const json& value, const std::string& path) {
    if (!value.is_object()) {
        in.Fail(path, "an object of checks");
    }
    return value;
}

// What the file says about the run itself.
const ScenarioFields<ScenarioRunSettings>& RunFields() {
    static const ScenarioFields<ScenarioRunSettings> kFields = {
        {"minutes", field::WholeNumber(&ScenarioRunSettings::minutes, 1, 525600)},
        {"seed",
         [](const ScenarioReader& in, const json& value, const std::string& path,
            ScenarioRunSettings& run) {
             run.hasSeed = true;
             run.seed = static_cast<uint64_t>(in.Int(value, path, 0, 2147483647));
         }},
        {"start",
         [](const ScenarioReader& in, const json& value, const std::string& path,
            ScenarioRunSettings& run) {
             run.start = in.String(value, path);
             std::time_t ignored = 0;
             std::string problem;
             if (!ParseCalendarStart(run.start, &ignored, &problem)) {
                 in.Fail(path, "a local date and time YYYY-MM-DDTHH:MM:SS, or \"now\"");
             }
         }},
        {"always", [](const ScenarioReader& in, const json& value, const std::string& path,
                      ScenarioRunSettings& run) { run.always = Checks(in, value, path); }},
        {"expect", [](const ScenarioReader& in, const json& value, const std::string& path,
                      ScenarioRunSettings& run) { run.expect = Checks(in, value, path); }},
    };
    return kFields;
}

const ScenarioFields<WorldSettings>& WorldSettingFields() {
    static const ScenarioFields<WorldSettings> kFields = {
        {"peds_act", field::Switch(&WorldSettings::pedsAct)},
        {"model_load_ms", field::WholeNumber(&WorldSettings::modelLoadMs, 0, 3600000)},
        {"never_loading_models",
         [](const ScenarioReader& in, const json& value, const std::string& path,
            WorldSettings& settings) {
             const json& list = in.Array(value, path);
             for (size_t i = 0; i < list.size(); ++i) {
                 settings.neverLoadModels.insert(in.Identifier(list[i], in.Index(path, i)));
             }
         }},
        {"failed_spawns", field::WholeNumber(&WorldSettings::failNextSpawns, 0, 1000000)},
        {"nearby_ped_range", field::Number(&WorldSettings::nearbyPedRange, 0, 1e5)},
        {"despawn_range", field::Number(&WorldSettings::despawnRange, 0, 1e6)},
        {"despawn_far_peds", field::Switch(&WorldSettings::despawnFarPeds)},
        {"corpse_lifetime_s", field::Seconds(&WorldSettings::corpseLifetimeMs)},
        {"player_fights_back", field::Switch(&WorldSettings::playerFightsBack)},
        {"player_respawn_s", field::Seconds(&WorldSettings::playerRespawnMs)},
        {"rewrite_released_handle", field::Switch(&WorldSettings::rewriteReleasedHandle)},
        {"hogtie_escape_s", field::Seconds(&WorldSettings::hogtieEscapeMs)},
        {"abandoned_vehicle_s", field::Seconds(&WorldSettings::abandonedVehicleLifetimeMs)},
    };
    return kFields;
}

const ScenarioFields<PopulationSettings>& PopulationFields() {
    static const ScenarioFields<PopulationSettings> kFields = {
        {"enabled", field::Switch(&PopulationSettings::enabled)},
        {"target", field::WholeNumber(&PopulationSettings::targetPeds, 0, 500)},
        {"min_distance", field::Number(&PopulationSettings::minDistance, 0, 1e4)},
        {"max_distance", field::Number(&PopulationSettings::maxDistance, 0, 1e4)},
        {"spawns_per_second", field::WholeNumber(&PopulationSettings::spawnsPerSecond, 1, 100)},
        {"mix",
         [](const ScenarioReader& in, const json& mix, const std::string& path,
            PopulationSettings& population) {
             if (!mix.is_object()) {
                 in.Fail(path, "an object of kind: weight");
             }
             population.mix.clear();
             for (const auto& item : mix.items()) {
                 PopulationKind kind;
                 const std::string at = path + "." + item.key();
                 if (!ParsePopulationKind(item.key(), &kind)) {
                     in.Fail(at,
                             "a kind of townsfolk, women, lawmen, shopkeepers, riders, wagons, "
                             "deer, wolves or birds");
                 }
                 population.mix.emplace_back(kind, in.Number(item.value(), at, 0, 1e6));
             }
         }},
    };
    return kFields;
}

// The top level's fields: the world's, then the run's.
std::vector<const char*> TopFields() {
    std::vector<const char*> names = {"description",
                                      "time_of_day",
                                      "game_minutes_per_real_second",
                                      "weather",
                                      "player",
                                      "vehicles",
                                      "peds",
                                      "population",
                                      "settings",
                                      "ini",
                                      "timeline",
                                      "terrain",
                                      "only_encounters"};
    for (const char* name : FieldNames(RunFields())) {
        names.push_back(name);
    }
    return names;
}

const std::initializer_list<const char*> kPlayerFields = {"position", "horse", "riding",
                                                          "weapons",  "path",  "loop_path"};
const std::initializer_list<const char*> kVehicleFields = {"id", "model", "position", "seats",
                                                           "owned"};
const std::initializer_list<const char*> kPedFields = {
    "id",     "model", "position", "group", "weapons", "male",  "vehicle", "seat", "mount",
    "riding", "state", "health",   "owned", "wanders", "count", "spread",  "human"};

ScenarioRunSettings ReadRunFields(const ScenarioReader& in, const json& root) {
    ScenarioRunSettings settings;
    ReadFields(in, root, "", RunFields(), settings);
    return settings;
}

// Seats a ped of the file is to take once every ped exists.
struct Placement {
    int32_t ped = 0;
    std::string path;
    std::string vehicle;
    int seat = -1;
    std::string mount;
};

class ScenarioLoader {
  public:
    ScenarioLoader(ScenarioReader& reader, World& world, ScenarioInfo& info)
        : in_(reader), world_(world), info_(info), ids_(std::make_shared<ScenarioIds>()) {}

    void Load(const json& root) {
        in_.Fields(root, "", TopFields());
        info_.run = ReadRunFields(in_, root);
        if (root.contains("description")) {
            info_.description = in_.String(root["description"], "description");
        }
        if (root.contains("game_minutes_per_real_second")) {
            world_.settings.gameMinutesPerRealSecond = in_.Number(
                root["game_minutes_per_real_second"], "game_minutes_per_real_second", 0, 1440);
        }
        if (root.contains("time_of_day")) {
            const auto clock = in_.TimeOfDay(root["time_of_day"], "time_of_day");
            world_.Environment().SetClock(clock.first, clock.second);
        }
        if (root.contains("weather")) {
            world_.Environment().SetBaseWeather(in_.Identifier(root["weather"], "weather"));
        }
        if (root.contains("settings")) {
            LoadSettings(root["settings"]);
        }
        if (root.contains("terrain")) {
            LoadTerrain(in_, root["terrain"], world_.terrain);  // before the player stands on it
        }
        if (!root.contains("player")) {
            in_.Fail("player", "an object with the player's \"position\"");
        }
        LoadPlayer(root["player"]);
        if (root.contains("vehicles")) {
            LoadVehicles(root["vehicles"]);
        }
        if (root.contains("peds")) {
            LoadPeds(root["peds"]);
        }
        if (root.contains("population")) {
            LoadPopulation(root["population"]);
        }
        if (root.contains("ini")) {
            LoadIni(root["ini"]);
        }
        if (root.contains("only_encounters")) {
            LoadOnlyEncounters(root["only_encounters"]);
        }
        if (root.contains("timeline")) {
            ScheduleTimeline(in_, world_, ids_, root["timeline"]);
        }
        info_.pedIds = ids_->peds;
        info_.vehicleIds = ids_->vehicles;
    }

  private:
    void LoadSettings(const json& j) {
        static const ScenarioFields<WorldSettings> kAllSettings = [] {
            ScenarioFields<WorldSettings> all = WorldSettingFields();
            const ScenarioFields<WorldSettings>& more = GameHardnessSettingFields();
            all.insert(all.end(), more.begin(), more.end());
            return all;
        }();
        ReadObject(in_, j, "settings", kAllSettings, world_.settings);
    }

    void LoadPlayer(const json& j) {
        in_.Fields(j, "player", kPlayerFields);
        if (!j.contains("position")) {
            in_.Fail("player.position", "the player's position as [x, y, z]");
        }
        const Vec3 pos = in_.Position(j["position"], "player.position");
        const int32_t player = world_.CreatePlayer(pos);
        if (j.contains("weapons")) {
            world_.FindPed(player)->weapons = in_.Weapons(j["weapons"], "player.weapons");
        }
        bool hasHorse = false;
        Vec3 horsePos{pos.x - 3.0f, pos.y, pos.z};
        if (j.contains("horse")) {
            const json& horse = j["horse"];
            if (horse.is_boolean()) {
                hasHorse = horse.get<bool>();
            } else {
                in_.Fields(horse, "player.horse", {"position"});
                hasHorse = true;
                if (horse.contains("position")) {
                    horsePos = in_.Position(horse["position"], "player.horse.position");
                }
            }
        }
        if (hasHorse) {
            world_.CreatePlayerHorse(horsePos);
        }
        if (j.contains("riding") && in_.Bool(j["riding"], "player.riding")) {
            if (!hasHorse) {
                in_.Fail("player.riding", "a \"horse\" for the player to ride");
            }
            world_.MountPed(player, world_.PlayerHorse());
        }
        const bool loop = j.contains("loop_path") && in_.Bool(j["loop_path"], "player.loop_path");
        if (j.contains("path")) {
            world_.PlayerPath().Set(in_.Path(j["path"], "player.path"), loop);
        }
    }

    void LoadVehicles(const json& list) {
        in_.Array(list, "vehicles");
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string path = in_.Index("vehicles", i);
            const json& j = list[i];
            in_.Fields(j, path, kVehicleFields);
            SimVehicle vehicle;
            const VehicleModel* known = nullptr;
            vehicle.model = in_.VehicleModelHash(Required(j, path, "model", "a vehicle model"),
                                                 path + ".model", &known);
            vehicle.modelName = known != nullptr ? known->name : "";
            vehicle.seatCount = known != nullptr ? known->seats : 2;
            vehicle.pos =
                in_.Position(Required(j, path, "position", "[x, y, z]"), path + ".position");
            if (j.contains("seats")) {
                vehicle.seatCount = in_.Int(j["seats"], path + ".seats", 1, 16);
            }
            if (j.contains("owned")) {
                vehicle.missionEntity = in_.Bool(j["owned"], path + ".owned");
            }
            const int32_t handle = world_.AddVehicle(std::move(vehicle));
            if (j.contains("id")) {
                DefineId(j["id"], path + ".id", handle, false);
            }
        }
    }

    void LoadPeds(const json& list) {
        in_.Array(list, "peds");
        std::vector<Placement> placements;
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string path = in_.Index("peds", i);
            const json& j = list[i];
            in_.Fields(j, path, kPedFields);
            const int count =
                j.contains("count") ? in_.Int(j["count"], path + ".count", 1, 1000) : 1;
            const float spread =
                j.contains("spread")
                    ? static_cast<float>(in_.Number(j["spread"], path + ".spread", 0, 10000))
                    : (count > 1 ? 5.0f : 0.0f);
            if (count > 1) {
                for (const char* single : {"id", "vehicle", "mount", "riding"}) {
                    if (j.contains(single)) {
                        in_.Fail(path + "." + single,
                                 "no \"" + std::string(single) + "\" on an entry with a count");
                    }
                }
            }
            if (j.contains("riding") && (j.contains("mount") || j.contains("vehicle"))) {
                in_.Fail(path + ".riding", "one of \"riding\", \"mount\" and \"vehicle\" at most");
            }
            const Vec3 centre =
                in_.Position(Required(j, path, "position", "[x, y, z]"), path + ".position");
            for (int n = 0; n < count; ++n) {
                Vec3 pos = centre;
                if (spread > 0) {
                    double x = 0;
                    double y = 0;
                    world_.random.InDisc(&x, &y);
                    pos.x += static_cast<float>(x * spread);
                    pos.y += static_cast<float>(y * spread);
                }
                const int32_t handle = world_.AddPed(in_.Ped(j, path, pos));
                if (j.contains("id")) {
                    DefineId(j["id"], path + ".id", handle, true);
                }
                if (j.contains("riding")) {
                    const PedModel* horse = in_.PedModelOf(j["riding"], path + ".riding");
                    world_.MountPed(handle, world_.AddPed(World::MakePed(*horse, pos)));
                }
                if (j.contains("vehicle") || j.contains("mount")) {
                    Placement placement;
                    placement.ped = handle;
                    placement.path = path;
                    if (j.contains("vehicle")) {
                        placement.vehicle = in_.String(j["vehicle"], path + ".vehicle");
                        placement.seat =
                            j.contains("seat") ? in_.Int(j["seat"], path + ".seat", -1, 14) : -1;
                    }
                    if (j.contains("mount")) {
                        placement.mount = in_.String(j["mount"], path + ".mount");
                    }
                    placements.push_back(placement);
                } else if (j.contains("seat")) {
                    in_.Fail(path + ".seat", "a \"vehicle\" for the seat");
                }
            }
        }
        for (const Placement& placement : placements) {
            Place(placement);
        }
    }

    // Seats or mounts a ped once every ped and vehicle of the file exists.
    void Place(const Placement& placement) {
        if (!placement.vehicle.empty() && !placement.mount.empty()) {
            in_.Fail(placement.path + ".mount", "either a \"vehicle\" or a \"mount\", not both");
        }
        if (!placement.vehicle.empty()) {
            auto it = ids_->vehicles.find(placement.vehicle);
            if (it == ids_->vehicles.end()) {
                in_.Fail(placement.path + ".vehicle",
                         "the id of a vehicle in \"vehicles\", not '" + placement.vehicle + "'");
            }
            const SimVehicle* vehicle = world_.FindVehicle(it->second);
            if (placement.seat > vehicle->seatCount - 2 ||
                vehicle->occupants.count(placement.seat) > 0) {
                in_.Fail(placement.path + ".seat", "a free seat of '" + placement.vehicle +
                                                       "' (-1 to " +
                                                       std::to_string(vehicle->seatCount - 2) +
                                                       "), not " + std::to_string(placement.seat));
            }
            world_.SeatPed(placement.ped, it->second, placement.seat);
            return;
        }
        auto it = ids_->peds.find(placement.mount);
        const SimPed* horse = it != ids_->peds.end() ? world_.FindPed(it->second) : nullptr;
        if (horse == nullptr || horse->handle == placement.ped || horse->rider != 0) {
            in_.Fail(placement.path + ".mount",
                     "the id of another ped in \"peds\" with nobody on it, not '" +
                         placement.mount + "'");
        }
        world_.MountPed(placement.ped, horse->handle);
    }

    void LoadPopulation(const json& j) {
        PopulationSettings& population = world_.settings.population;
        population.enabled = true;  // a "population" object turns it on unless it says not
        ReadObject(in_, j, "population", PopulationFields(), population);
        if (population.maxDistance < population.minDistance) {
            in_.Fail("population.max_distance", "a distance no smaller than min_distance (" +
                                                    std::to_string(population.minDistance) + ")");
        }
    }

    void LoadIni(const json& j) {
        info_.hasIni = true;
        if (j.is_string()) {
            info_.iniText = j.get<std::string>();
            return;
        }
        in_.Array(j, "ini");
        std::string text;
        for (size_t i = 0; i < j.size(); ++i) {
            text += in_.String(j[i], in_.Index("ini", i)) + "\n";
        }
        info_.iniText = text;
    }

    // "only_encounters": the encounters the run may stage, by name; the INI gets an
    // [Encounters] section that switches every other encounter the plug-in knows off.
    void LoadOnlyEncounters(const json& j) {
        in_.Array(j, "only_encounters");
        if (IniNamesSection(info_.iniText, kEncounterSection)) {
            in_.Fail("only_encounters", "no [Encounters] section in \"ini\" as well");
        }
        std::vector<std::string> wanted;
        for (size_t i = 0; i < j.size(); ++i) {
            const std::string path = in_.Index("only_encounters", i);
            wanted.push_back(in_.String(j[i], path));
            if (FindInCatalogue(wanted.back()) == nullptr) {
                in_.Fail(path, "the name of an encounter (" + EncounterNames() + ")");
            }
        }
        std::string section = std::string("[") + kEncounterSection + "]\n";
        for (const CataloguedEncounter& encounter : EncounterCatalogue()) {
            const bool on = std::find(wanted.begin(), wanted.end(), encounter.name) != wanted.end();
            section += std::string(encounter.definition->iniKey) + (on ? "=true\n" : "=false\n");
        }
        info_.hasIni = true;
        info_.iniText += section;
    }

    void DefineId(const json& value, const std::string& path, int32_t handle, bool ped) {
        const std::string id = in_.String(value, path);
        if (id.empty() || id == "player" || id == "player_horse" || ids_->peds.count(id) > 0 ||
            ids_->vehicles.count(id) > 0) {
            in_.Fail(path,
                     "an id used by nothing else in the file (and not 'player' or "
                     "'player_horse'), not '" +
                         id + "'");
        }
        (ped ? ids_->peds : ids_->vehicles)[id] = handle;
    }

    const json& Required(const json& j, const std::string& path, const char* field,
                         const std::string& what) {
        if (!j.contains(field)) {
            in_.Fail(path + "." + field, what);
        }
        return j[field];
    }

    ScenarioReader& in_;
    World& world_;
    ScenarioInfo& info_;
    std::shared_ptr<ScenarioIds> ids_;
};

}  // namespace

namespace {

// Parses the file's JSON (comments allowed) into an object and hands it to `use` with a reader
// for its messages; false with the one-line error on a mistake.
template <typename Use>
bool ReadScenario(const std::string& text, const std::string& name, std::string* error, Use use) {
    json root;
    try {
        root = json::parse(text, nullptr, true, true);
    } catch (const json::parse_error& e) {
        std::string what = e.what();
        const size_t cut = what.find("] ");
        *error =
            name + ": not valid JSON: " + (cut == std::string::npos ? what : what.substr(cut + 2));
        return false;
    }
    try {
        ScenarioReader reader(name);
        if (!root.is_object()) {
            reader.Fail("(top level)", "an object");
        }
        use(reader, root);
    } catch (const ScenarioError& e) {
        *error = e.what();
        return false;
    }
    return true;
}

bool ReadFileText(const std::string& path, std::string* text, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return true;
}

}  // namespace

bool LoadScenarioText(const std::string& text, const std::string& name, World& world,
                      ScenarioInfo* info, std::string* error) {
    ScenarioInfo scratch;
    ScenarioInfo& out = info != nullptr ? *info : scratch;
    out = ScenarioInfo();
    return ReadScenario(text, name, error, [&](ScenarioReader& reader, const json& root) {
        ScenarioLoader(reader, world, out).Load(root);
    });
}

bool ReadScenarioRunSettings(const std::string& path, ScenarioRunSettings* settings,
                             std::string* error) {
    std::string text;
    return ReadFileText(path, &text, error) &&
           ReadScenario(text, path, error, [&](ScenarioReader& reader, const json& root) {
               *settings = ReadRunFields(reader, root);
           });
}

bool LoadScenarioFile(const std::string& path, World& world, ScenarioInfo* info,
                      std::string* error) {
    std::string text;
    return ReadFileText(path, &text, error) && LoadScenarioText(text, path, world, info, error);
}

bool WriteScenarioIni(const ScenarioInfo& info, const std::string& gameFolder, std::string* error) {
    if (!info.hasIni) {
        return true;
    }
    const std::filesystem::path folder = std::filesystem::path(gameFolder) / "Tarrowind";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::ofstream out(folder / "Tarrowind.ini", std::ios::binary | std::ios::trunc);
    out << info.iniText;
    out.close();
    if (ec || !out) {
        *error = "cannot write " + (folder / "Tarrowind.ini").string();
        return false;
    }
    return true;
}
