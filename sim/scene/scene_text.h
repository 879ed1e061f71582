// A scenario as text for a person to read and edit: one field a line, and each ped, vehicle,
// point of a path or measured height on a line of its own.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

std::string SceneText(const nlohmann::ordered_json& scene);
