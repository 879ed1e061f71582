// The world the simulator runs when no scenario is given: the town scenario file.
#pragma once

#include <string>

#include "sim/world/scenario_file.h"
#include "sim/world/world.h"

// Where scenarios/town.json is: beside or above the running program (an installed or built
// copy), else in the source tree this was built from. Empty when none is found.
std::string FindDefaultScenario();
// The error when there is none.
std::string DefaultScenarioMissing();

// Builds the town scenario into the world. On failure returns false with a one-line error.
bool BuildDefaultWorld(World& world, std::string* error, ScenarioInfo* info = nullptr);
