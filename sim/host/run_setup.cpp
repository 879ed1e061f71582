#include "sim/host/run_setup.h"

#include "sim/world/default_world.h"
#include "sim/world/native_names.h"
#include "sim/world/sim_calendar.h"
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

bool PlanNativeCrashForRun(World& world, const std::string& text, std::string* error) {
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    uint64_t hash = 0;
    uint64_t call = 1;
    bool ok = NativeHashNamed(name, &hash);
    if (ok && colon != std::string::npos) {
        const std::string count = text.substr(colon + 1);
        ok = !count.empty() && count.size() < 10 &&
             count.find_first_not_of("0123456789") == std::string::npos;
        call = ok ? std::stoull(count) : 0;
        ok = ok && call > 0;
    }
    if (!ok) {
        *error =
            "--crash-native takes NAME or NAME:N, a native the plug-in calls and which of "
            "its calls (from 1) crashes, not '" +
            text + "'";
        return false;
    }
    world.PlanNativeCrash(hash, call);
    return true;
}
