#include "scheduling/encounter_registry.h"

#include <exception>

#include "core/config.h"
#include "core/logger.h"
#include "encounters/encounter_catalogue.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_list.h"
#include "host/natives.h"

std::vector<RegistryEntry> EncounterRegistry;

namespace {

// The in-game hours the definition of the encounter with this name skips; any hour for a name
// the catalogue does not know.
SkippedHours SkippedHoursOf(const std::string& name) {
    const CataloguedEncounter* encounter = FindInCatalogue(name);
    return encounter != nullptr ? encounter->definition->skipped : kAnyHour;
}

}  // namespace

void RegisterEvent(const std::string& name, const std::function<void()>& action) {
    Log(LogLevel::Debug, "Registering event: ", name);
    EncounterRegistry.push_back(RegistryEntry{name, action, SkippedHoursOf(name)});
}

void ClearEventRegistry() {
    EncounterRegistry.clear();
}

void InitializeEventRegistry() {
    Log(LogLevel::Info, "Initializing event registry");
    Log(LogLevel::Debug, "Clearing event registry");
    EncounterRegistry.clear();
    for (const EncounterEntry& encounter : AllEncounters()) {
        if (Config.EncounterOn(encounter.definition->iniKey)) {
            RegisterEvent(encounter.name, encounter.action);
            Log(LogLevel::Debug, "Successfully registered ", encounter.name);
        }
    }
    Log(LogLevel::Info,
        "Event registry initialized with " + std::to_string(EncounterRegistry.size()) + " events");
}

bool SelectAndRunEvent() {
    try {
        const RegistryEntry& entry = PickRandomEntry(EncounterRegistry);
        Log(LogLevel::Debug, "Selected Event: ", entry.name);
        const int hour = GET_CLOCK_HOURS();
        if (entry.skipped.Skips(hour)) {
            Log(LogLevel::Debug, kSkippingLine, entry.name,
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
