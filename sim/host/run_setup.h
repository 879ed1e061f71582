// How a simulator run is set up from its seed and scenario. Shared by tarrowind-sim and the
// Windows launcher, so the same scenario and seed give the same run on both.
#pragma once

#include <cstdint>
#include <string>

#include "sim/host/stand_in_host.h"

#include "sim/world/scenario_file.h"

class World;

// The host options a seed gives: the seed also decides where the tick count stands, which
// seeds the plug-in.
HostOptions HostOptionsForSeed(uint64_t seed);

// The scenario file of a run: scenarioPath, or the default town scenario when it is empty.
bool ScenarioFileForRun(const std::string& scenarioPath, std::string* file, std::string* error);

// Builds the world of a run: the scenario file at scenarioPath, or the default town scenario
// when the path is empty. A scenario that brings an INI has it written to
// Tarrowind/Tarrowind.ini of the current (game) folder. On failure returns false with a
// one-line error naming the file, the field and what was expected. info, if given, gets what
// the scenario says besides the world.
bool BuildWorldForRun(World& world, const std::string& scenarioPath, std::string* error,
                      ScenarioInfo* info = nullptr);

// "NAME" or "NAME:N": the Nth call of the native NAME in the run (the first when N is not
// given) faults inside the native, as the game's own code crashes on a bad handle. On a bad
// text returns false with a one-line error.
bool PlanNativeCrashForRun(World& world, const std::string& text, std::string* error);
