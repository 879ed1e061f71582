#include "scheduling/registry_entry.h"

#include "core/random.h"

const RegistryEntry& PickRandomEntry(const std::vector<RegistryEntry>& entries) {
    const int index = RandomInt() % static_cast<int>(entries.size());
    return entries[static_cast<size_t>(index)];
}
