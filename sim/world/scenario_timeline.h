// The timeline of a scenario file: scripted happenings at set times of the run (a ped dies,
// the player rides off, a mission starts), scheduled on the world.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "sim/world/scenario_reader.h"

// The ids a scenario file gives its peds and vehicles, and those its timeline spawns.
struct ScenarioIds {
    std::map<std::string, int32_t> peds;
    std::map<std::string, int32_t> vehicles;
};

// Checks every entry and schedules it; a bad entry stops the load (ScenarioError).
void ScheduleTimeline(const ScenarioReader& in, World& world, std::shared_ptr<ScenarioIds> ids,
                      const nlohmann::json& timeline);
