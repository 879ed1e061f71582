#include "scheduling/encounter_registry.h"

#include <exception>

#include "core/config.h"
#include "core/logger.h"
#include "encounters/encounter_list.h"
#include "host/natives.h"

std::vector<RegistryEntry> EncounterRegistry;

void RegisterEvent(const std::string& name, const std::function<void()>& action) {
    Log(LogLevel::Debug, "Registering event: ", name);
    EncounterRegistry.push_back(RegistryEntry{name, action});
}

void ClearEventRegistry() {
    EncounterRegistry.clear();
}

void InitializeEventRegistry() {
    Log(LogLevel::Info, "Initializing event registry");
    Log(LogLevel::Debug, "Clearing event registry");
    EncounterRegistry.clear();
    for (const EncounterDefinition& encounter : AllEncounters()) {
        if (Config.*(encounter.enabledBy)) {
            RegisterEvent(encounter.name, encounter.action);
            Log(LogLevel::Debug, "Successfully registered ", encounter.name);
        }
    }
    Log(LogLevel::Info,
        "Event registry initialized with " + std::to_string(EncounterRegistry.size()) + " events");
}

namespace {

// The night-only encounters lose their turn during these in-game hours.
bool SkippedAtHour(const std::string& name, int hour) {
    if (name == "event3_animal_aggressor") {
        return hour >= 6 && hour <= 19;
    }
    if (name == "event5_mugging") {
        return hour >= 5 && hour <= 20;
    }
    return false;
}

}  // namespace

bool SelectAndRunEvent() {
    try {
        const RegistryEntry& entry = PickRandomEntry(EncounterRegistry);
        Log(LogLevel::Debug, "Selected Event: ", entry.name);
        const int hour = GET_CLOCK_HOURS();
        if (SkippedAtHour(entry.name, hour)) {
            Log(LogLevel::Debug, "Skipping ", entry.name,
                " due to time constraints (current hour: ", hour, ")");
            return true;
        }
        entry.action();
        return false;
    } catch (const std::exception& e) {
        LogError(std::string("Exception during random event execution: ") + e.what());
        throw;
    } catch (...) {
        LogError("Unknown exception during random event execution");
        throw;
    }
}
