// The encounters enabled for this run, and the random pick that runs one of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scheduling/registry_entry.h"

extern std::vector<RegistryEntry> EncounterRegistry;

void RegisterEvent(const std::string& name, const std::function<void()>& action);

// Rebuilds the list from the configuration's encounter switches.
void InitializeEventRegistry();
// Empties the list, as a freshly loaded library has it.
void ClearEventRegistry();

// Picks and runs one encounter; true when the pick was skipped for the in-game hour.
bool SelectAndRunEvent();
