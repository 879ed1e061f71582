#include "scheduling/weather_registry.h"

#include <exception>

#include "core/config.h"
#include "core/logger.h"
#include "weather/weather_events.h"

std::vector<RegistryEntry> WeatherEventRegistry;

void RegisterWeatherEvent(const std::string& name, const std::function<void()>& action) {
    Log(LogLevel::Debug, "Registering weather event: ", name);
    WeatherEventRegistry.push_back(RegistryEntry{name, action});
}

void ClearWeatherRegistry() {
    WeatherEventRegistry.clear();
}

void InitializeWeatherRegistry() {
    struct WeatherDefinition {
        const char* name;
        bool ConfigData::*enabledBy;
        void (*action)();
    };
    static const WeatherDefinition kWeatherEvents[] = {
        {"event_weather_thunderstorm", &ConfigData::Sudden_Thunderstorm,
         event_weather_thunderstorm},
        {"event_weather_hurricane", &ConfigData::Sudden_Hurricane, event_weather_hurricane},
        {"event_weather_fog", &ConfigData::Sudden_Fog, event_weather_fog},
    };

    Log(LogLevel::Info, "Initializing weather event registry");
    Log(LogLevel::Debug, "Clearing weather event registry");
    WeatherEventRegistry.clear();
    for (const WeatherDefinition& weather : kWeatherEvents) {
        if (Config.*(weather.enabledBy)) {
            RegisterWeatherEvent(weather.name, weather.action);
            Log(LogLevel::Debug, "Successfully registered ", weather.name);
        }
    }
    Log(LogLevel::Info, "Weather event registry initialized with " +
                            std::to_string(WeatherEventRegistry.size()) + " events");
}

void SelectAndRunWeatherEvent() {
    try {
        const RegistryEntry& entry = PickRandomEntry(WeatherEventRegistry);
        Log(LogLevel::Debug, "Selected Weather Event: ", entry.name);
        entry.action();
    } catch (const std::exception& e) {
        LogError(std::string("Exception during random weather event execution: ") + e.what());
        throw;
    } catch (...) {
        LogError("Unknown exception during random weather event execution");
        throw;
    }
}
