#include "sim/host/run_setup.h"

#include "sim/world/default_world.h"
#include "sim/world/world.h"

HostOptions HostOptionsForSeed(uint64_t seed) {
    HostOptions options;
    options.recordCalls = false;
    options.startTickMs = 3600000 + (seed * 7919u) % 86400000u;
    options.calendarStart = std::time(nullptr);
    return options;
}

bool BuildWorldForRun(World& world, const std::string& scenarioPath, std::string* error) {
    if (!scenarioPath.empty()) {
        *error = "scenario files are not supported yet: '" + scenarioPath + "'";
        return false;
    }
    return BuildDefaultWorld(world, error);
}
