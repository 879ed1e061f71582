// Reading the values of a scenario file, each checked against what the field expects; a bad
// value stops the load with one line naming the file, the field and what was expected.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sim/world/world.h"

class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ScenarioReader {
  public:
    using json = nlohmann::json;

    explicit ScenarioReader(std::string file) : file_(std::move(file)) {}

    [[noreturn]] void Fail(const std::string& path, const std::string& expected) const;
    // A field that has no business where it stands; fields lists those that do.
    [[noreturn]] void Unknown(const std::string& path, const std::string& fields) const;
    static std::string Index(const std::string& path, size_t i);

    // The value must be an object whose fields are all among the allowed ones.
    void Fields(const json& j, const std::string& path,
                const std::vector<const char*>& allowed) const;
    const json& Array(const json& j, const std::string& path) const;
    std::string String(const json& j, const std::string& path) const;
    bool Bool(const json& j, const std::string& path) const;
    int Int(const json& j, const std::string& path, int low, int high) const;
    double Number(const json& j, const std::string& path, double low, double high) const;
    Vec3 Position(const json& j, const std::string& path) const;
    // "HH:MM" as hour and minute.
    std::pair<int, int> TimeOfDay(const json& j, const std::string& path) const;
    // A game identifier (hashed as GET_HASH_KEY does) or a hash written "0x1234ABCD".
    uint32_t Identifier(const json& j, const std::string& path) const;
    // A list of weapon kinds: revolver, pistol, repeater, rifle, sniper, shotgun.
    uint32_t Weapons(const json& j, const std::string& path) const;
    std::vector<PathPoint> Path(const json& j, const std::string& path) const;
    const PedModel* PedModelOf(const json& j, const std::string& path) const;
    // A catalogue vehicle by name or hash, or any other hash (known is then null).
    uint32_t VehicleModelHash(const json& j, const std::string& path,
                              const VehicleModel** known) const;
    // A ped as a "peds" entry describes it (model, group, weapons, sex, state, ownership),
    // standing at pos.
    SimPed Ped(const json& j, const std::string& path, const Vec3& pos) const;

  private:
    std::string file_;
};
