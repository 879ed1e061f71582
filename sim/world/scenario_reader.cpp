#include "sim/world/scenario_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "sim/world/joaat.h"

namespace {

struct WeaponName {
    const char* name;
    uint32_t bit;
};

constexpr WeaponName kWeaponNames[] = {
    {"revolver", kRevolver}, {"pistol", kPistol}, {"repeater", kRepeater},
    {"rifle", kRifle},       {"sniper", kSniper}, {"shotgun", kShotgun},
};

bool ParseHex(const std::string& text, uint32_t* value) {
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' ||
        (text[1] != 'x' && text[1] != 'X')) {
        return false;
    }
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text.c_str() + 2, &end, 16);
    if (end == nullptr || *end != '\0') {
        return false;
    }
    *value = static_cast<uint32_t>(parsed);
    return true;
}

}  // namespace

void ScenarioReader::Fail(const std::string& path, const std::string& expected) const {
    throw ScenarioError(file_ + ": " + path + ": expected " + expected);
}

void ScenarioReader::Unknown(const std::string& path, const std::string& fields) const {
    throw ScenarioError(file_ + ": " + path + ": unknown field; expected one of " + fields);
}

std::string ScenarioReader::Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

void ScenarioReader::Fields(const json& j, const std::string& path,
                            const std::vector<const char*>& allowed) const {
    const std::string where = path.empty() ? "(top level)" : path;
    if (!j.is_object()) {
        Fail(where, "an object");
    }
    for (const auto& item : j.items()) {
        bool known = false;
        std::string list;
        for (const char* field : allowed) {
            known = known || item.key() == field;
            list += std::string(list.empty() ? "" : ", ") + field;
        }
        if (!known) {
            Unknown((path.empty() ? "" : path + ".") + item.key(), list);
        }
    }
}

const nlohmann::json& ScenarioReader::Array(const json& j, const std::string& path) const {
    if (!j.is_array()) {
        Fail(path, "an array");
    }
    return j;
}

std::string ScenarioReader::String(const json& j, const std::string& path) const {
    if (!j.is_string()) {
        Fail(path, "a string");
    }
    return j.get<std::string>();
}

bool ScenarioReader::Bool(const json& j, const std::string& path) const {
    if (!j.is_boolean()) {
        Fail(path, "true or false");
    }
    return j.get<bool>();
}

int ScenarioReader::Int(const json& j, const std::string& path, int low, int high) const {
    const std::string range =
        "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    if (!j.is_number_integer()) {
        Fail(path, range);
    }
    const long long value = j.get<long long>();
    if (value < low || value > high) {
        Fail(path, range + ", not " + std::to_string(value));
    }
    return static_cast<int>(value);
}

double ScenarioReader::Number(const json& j, const std::string& path, double low,
                              double high) const {
    std::ostringstream range;
    range << "a number from " << low << " to " << high;
    if (!j.is_number()) {
        Fail(path, range.str());
    }
    const double value = j.get<double>();
    if (!std::isfinite(value) || value < low || value > high) {
        range << ", not " << value;
        Fail(path, range.str());
    }
    return value;
}

Vec3 ScenarioReader::Position(const json& j, const std::string& path) const {
    if (!j.is_array() || j.size() != 3 || !j[0].is_number() || !j[1].is_number() ||
        !j[2].is_number()) {
        Fail(path, "a position [x, y, z] of three numbers in metres");
    }
    return Vec3{j[0].get<float>(), j[1].get<float>(), j[2].get<float>()};
}

std::pair<int, int> ScenarioReader::TimeOfDay(const json& j, const std::string& path) const {
    const std::string what = "a time of day \"HH:MM\" from \"00:00\" to \"23:59\"";
    if (!j.is_string()) {
        Fail(path, what);
    }
    const std::string text = j.get<std::string>();
    if (text.size() != 5 || text[2] != ':' || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        !std::isdigit(static_cast<unsigned char>(text[1])) ||
        !std::isdigit(static_cast<unsigned char>(text[3])) ||
        !std::isdigit(static_cast<unsigned char>(text[4]))) {
        Fail(path, what + ", not \"" + text + "\"");
    }
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[3] - '0') * 10 + (text[4] - '0');
    if (hour > 23 || minute > 59) {
        Fail(path, what + ", not \"" + text + "\"");
    }
    return {hour, minute};
}

uint32_t ScenarioReader::Identifier(const json& j, const std::string& path) const {
    if (!j.is_string() || j.get<std::string>().empty()) {
        Fail(path, "a game identifier such as \"REL_COP\" or a hash such as \"0x7C1C4A13\"");
    }
    const std::string text = j.get<std::string>();
    uint32_t hash = 0;
    return ParseHex(text, &hash) ? hash : Joaat(text);
}

uint32_t ScenarioReader::Weapons(const json& j, const std::string& path) const {
    const std::string what =
        "a list of weapons from revolver, pistol, repeater, rifle, sniper and shotgun";
    if (!j.is_array()) {
        Fail(path, what);
    }
    uint32_t bits = 0;
    for (size_t i = 0; i < j.size(); ++i) {
        const std::string name = j[i].is_string() ? j[i].get<std::string>() : "";
        bool known = false;
        for (const WeaponName& weapon : kWeaponNames) {
            if (name == weapon.name) {
                bits |= weapon.bit;
                known = true;
            }
        }
        if (!known) {
            Fail(Index(path, i), "one of revolver, pistol, repeater, rifle, sniper, shotgun");
        }
    }
    return bits;
}

std::vector<PathPoint> ScenarioReader::Path(const json& j, const std::string& path) const {
    Array(j, path);
    std::vector<PathPoint> points;
    for (size_t i = 0; i < j.size(); ++i) {
        const std::string at = Index(path, i);
        Fields(j[i], at, {"to", "speed", "wait_s"});
        if (!j[i].contains("to")) {
            Fail(at + ".to", "the point [x, y, z] to go to");
        }
        PathPoint point;
        point.to = Position(j[i]["to"], at + ".to");
        if (j[i].contains("speed")) {
            point.speed = static_cast<float>(Number(j[i]["speed"], at + ".speed", 0, 100));
        }
        if (j[i].contains("wait_s")) {
            point.waitS = Number(j[i]["wait_s"], at + ".wait_s", 0, 1e7);
        }
        points.push_back(point);
    }
    return points;
}

const PedModel* ScenarioReader::PedModelOf(const json& j, const std::string& path) const {
    const std::string what = "a ped model of the catalogue (docs/scenarios.md lists them)";
    if (!j.is_string()) {
        Fail(path, what);
    }
    uint32_t hash = 0;
    const std::string text = j.get<std::string>();
    const PedModel* model = ParseHex(text, &hash) ? FindPedModel(hash) : FindPedModelByName(text);
    if (model == nullptr) {
        Fail(path, what + ", not '" + text + "'");
    }
    return model;
}

uint32_t ScenarioReader::VehicleModelHash(const json& j, const std::string& path,
                                          const VehicleModel** known) const {
    const std::string what =
        "a vehicle model of the catalogue (docs/scenarios.md lists them) or a hash \"0x...\"";
    if (!j.is_string()) {
        Fail(path, what);
    }
    const std::string text = j.get<std::string>();
    uint32_t hash = 0;
    if (ParseHex(text, &hash)) {
        *known = FindVehicleModel(hash);
        return hash;
    }
    *known = FindVehicleModelByName(text);
    if (*known == nullptr) {
        Fail(path, what + ", not '" + text + "'");
    }
    return (*known)->hash;
}

SimPed ScenarioReader::Ped(const json& j, const std::string& path, const Vec3& pos) const {
    if (!j.contains("model")) {
        Fail(path + ".model", "a ped model of the catalogue (docs/scenarios.md lists them)");
    }
    SimPed ped;
    uint32_t hash = 0;
    const json& model = j["model"];
    if (model.is_string() && ParseHex(model.get<std::string>(), &hash) &&
        FindPedModel(hash) == nullptr && j.contains("human")) {
        // A model the catalogue lacks, by its hash (a ped a recording saw): a person or an
        // animal as "human" says, of no group and unarmed unless the entry says otherwise.
        ped.model = hash;
        ped.pos = pos;
    } else {
        ped = World::MakePed(*PedModelOf(model, path + ".model"), pos);
    }
    if (j.contains("human")) {
        ped.human = Bool(j["human"], path + ".human");
    }
    if (j.contains("group")) {
        ped.group = Identifier(j["group"], path + ".group");
    }
    if (j.contains("weapons")) {
        ped.weapons = Weapons(j["weapons"], path + ".weapons");
    }
    if (j.contains("male")) {
        ped.male = Bool(j["male"], path + ".male");
    }
    if (j.contains("owned")) {
        ped.missionEntity = Bool(j["owned"], path + ".owned");
    }
    if (j.contains("wanders")) {
        ped.wanders = Bool(j["wanders"], path + ".wanders");
    }
    if (j.contains("state")) {
        const std::string state = j["state"].is_string() ? j["state"].get<std::string>() : "";
        if (state == "injured") {
            ped.health = 40.0f;
        } else if (state == "dead") {
            ped.dead = true;
            ped.health = 0;
        } else if (state == "hogtied") {
            ped.hogtied = true;
        } else if (state != "alive") {
            Fail(path + ".state", "one of alive, injured, dead, hogtied");
        }
    }
    if (j.contains("health")) {
        if (ped.dead) {
            Fail(path + ".health", "no health for a dead ped");
        }
        ped.health = static_cast<float>(Number(j["health"], path + ".health", 1, 100));
    }
    return ped;
}
