#include "sim/host/run_setup.h"

#include "sim/world/sim_calendar.h"
#include "sim/world/default_world.h"
#include "sim/world/world.h"

HostOptions HostOptionsForSeed(uint64_t seed) {
    HostOptions options;
    options.recordCalls = false;
    options.startTickMs = 3600000 + (seed * 7919u) % 86400000u;
    options.calendarStart = DefaultCalendarStart();
    return options;
}

bool ScenarioFileForRun(const std::string& scenarioPath, std::string* file, std::string* error) {
    *file = scenarioPath.empty() ? FindDefaultScenario() : scenarioPath;
    if (file->empty()) {
        *error = DefaultScenarioMissing();
        return false;
    }
    return true;
}

bool BuildWorldForRun(World& world, const std::string& scenarioPath, std::string* error,
                      ScenarioInfo* info) {
    ScenarioInfo scratch;
    ScenarioInfo& out = info != nullptr ? *info : scratch;
    const bool built = scenarioPath.empty() ? BuildDefaultWorld(world, error, &out)
                                            : LoadScenarioFile(scenarioPath, world, &out, error);
    // The scenario's INI, if it brings one, is what the plug-in reads in this game folder.
    return built && WriteScenarioIni(out, ".", error);
}
