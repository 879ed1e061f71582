// The weather events enabled for this run, and the random pick that runs one of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scheduling/registry_entry.h"

extern std::vector<RegistryEntry> WeatherEventRegistry;

void RegisterWeatherEvent(const std::string& name, const std::function<void()>& action);

// Rebuilds the list from the configuration's weather switches.
void InitializeWeatherRegistry();
// Empties the list, as a freshly loaded library has it.
void ClearWeatherRegistry();

void SelectAndRunWeatherEvent();
