// One named action of a registry; both registries hold these.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct RegistryEntry {
    std::string name;
    std::function<void()> action;
};

// The entry a random draw falls on; the list must not be empty.
const RegistryEntry& PickRandomEntry(const std::vector<RegistryEntry>& entries);
