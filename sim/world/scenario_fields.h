// Objects of a scenario file read through a table: each row names a field and says how its
// value is read into what is being built. A field is written once, and the fields an object
// may have are its table's.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/world/scenario_reader.h"

template <typename Target>
struct ScenarioField {
    using Read = std::function<void(const ScenarioReader& in, const nlohmann::json& value,
                                    const std::string& path, Target& target)>;
    const char* name;
    Read read;
};

template <typename Target>
using ScenarioFields = std::vector<ScenarioField<Target>>;

template <typename Target>
std::vector<const char*> FieldNames(const ScenarioFields<Target>& table) {
    std::vector<const char*> names;
    for (const ScenarioField<Target>& field : table) {
        names.push_back(field.name);
    }
    return names;
}

// Reads the table's fields that j has, in the table's order; path names j in messages.
template <typename Target>
void ReadFields(const ScenarioReader& in, const nlohmann::json& j, const std::string& path,
                const ScenarioFields<Target>& table, Target& target) {
    for (const ScenarioField<Target>& field : table) {
        if (j.contains(field.name)) {
            field.read(in, j[field.name], path.empty() ? field.name : path + "." + field.name,
                       target);
        }
    }
}

// The same, once j is known to be an object with no field outside the table.
template <typename Target>
void ReadObject(const ScenarioReader& in, const nlohmann::json& j, const std::string& path,
                const ScenarioFields<Target>& table, Target& target) {
    in.Fields(j, path, FieldNames(table));
    ReadFields(in, j, path, table, target);
}

// How the usual kinds of value are read into a member.
namespace field {

template <typename Target>
typename ScenarioField<Target>::Read Switch(bool Target::*member) {
    return [member](const ScenarioReader& in, const nlohmann::json& value, const std::string& path,
                    Target& target) { target.*member = in.Bool(value, path); };
}

template <typename Target, typename Member>
typename ScenarioField<Target>::Read WholeNumber(Member Target::*member, int low, int high) {
    return [member, low, high](const ScenarioReader& in, const nlohmann::json& value,
                               const std::string& path, Target& target) {
        target.*member = static_cast<Member>(in.Int(value, path, low, high));
    };
}

template <typename Target, typename Member>
typename ScenarioField<Target>::Read Number(Member Target::*member, double low, double high) {
    return [member, low, high](const ScenarioReader& in, const nlohmann::json& value,
                               const std::string& path, Target& target) {
        target.*member = static_cast<Member>(in.Number(value, path, low, high));
    };
}

// Seconds in the file, up to 1e7, kept in whole milliseconds.
template <typename Target>
typename ScenarioField<Target>::Read Seconds(uint64_t Target::*member) {
    return [member](const ScenarioReader& in, const nlohmann::json& value, const std::string& path,
                    Target& target) {
        target.*member = static_cast<uint64_t>(std::llround(in.Number(value, path, 0, 1e7) * 1000));
    };
}

}  // namespace field
