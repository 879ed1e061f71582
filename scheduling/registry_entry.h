// One named action of a registry; both registries hold these.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "encounters/encounter_definition.h"

struct RegistryEntry {
    std::string name;
    std::function<void()> action;
    SkippedHours skipped = kAnyHour;  // the in-game hours at which its turn is skipped
};

// The entry a random draw falls on; the list must not be empty.
const RegistryEntry& PickRandomEntry(const std::vector<RegistryEntry>& entries);
