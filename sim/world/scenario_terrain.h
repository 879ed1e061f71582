// The parts of a scenario that make the world as hard as the game: its ground and water
// ("terrain"), and the settings for the game's short scan, its ped pool, restarted tasks,
// collision and how surely an agitated horse unseats its rider.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/world/scenario_fields.h"
#include "sim/world/scenario_reader.h"

// The "settings" fields beside those of the world's first table.
const ScenarioFields<WorldSettings>& GameHardnessSettingFields();

// "terrain": {"ground_height": z, "shapes": [...], "water": [...], "no_ground": [...]}.
void LoadTerrain(const ScenarioReader& in, const nlohmann::json& j, Terrain& terrain);
