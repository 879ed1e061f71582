// Scenario files: a JSON description of a world (clock, weather, the player and his path,
// peds, vehicles, the ambient population, world settings), the INI the plug-in should read,
// and a timeline of scripted happenings. docs/scenarios.md describes every field.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/world/world.h"

// What a scenario says about the run itself: how long it runs and with which seed, when the
// command line does not say, and what should come of it: "always" in every run of it, "expect"
// in its own run. The simulator reads and checks both; the world does not need them.
struct ScenarioRunSettings {
    uint64_t minutes = 0;  // 0: not given
    bool hasSeed = false;
    uint64_t seed = 0;
    std::string start;      // the calendar's start as written (sim_calendar.h); empty: not given
    nlohmann::json always;  // the "always" object as written; null when there is none
    nlohmann::json expect;  // the "expect" object as written; null when there is none
};

struct ScenarioInfo {
    std::string description;
    bool hasIni = false;
    std::string iniText;  // the plug-in's INI for the run, when hasIni
    ScenarioRunSettings run;
    // The handles the file's ids were given, as the world was built.
    std::map<std::string, int32_t> pedIds;
    std::map<std::string, int32_t> vehicleIds;
};

// Builds the scenario into a freshly made world. On a bad file returns false and sets error to
// one line naming the file, the field and what was expected; the world is then half built and
// should be thrown away.
bool LoadScenarioFile(const std::string& path, World& world, ScenarioInfo* info,
                      std::string* error);
// The same from text; name stands for the file in error messages.
bool LoadScenarioText(const std::string& text, const std::string& name, World& world,
                      ScenarioInfo* info, std::string* error);

// Reads only what the scenario says about the run (minutes, seed, always, expect), before its world
// is built with the seed; errors as LoadScenarioFile's.
bool ReadScenarioRunSettings(const std::string& path, ScenarioRunSettings* settings,
                             std::string* error);

// Writes the scenario's INI as gameFolder/Tarrowind/Tarrowind.ini (nothing when it has none).
bool WriteScenarioIni(const ScenarioInfo& info, const std::string& gameFolder, std::string* error);
