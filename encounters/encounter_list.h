// The encounters the plug-in can stage, in registration order, each with the setting that
// enables it.
#pragma once

#include <vector>

#include "core/config.h"

struct EncounterDefinition {
    const char* name;
    bool ConfigData::*enabledBy;
    void (*action)();
};

const std::vector<EncounterDefinition>& AllEncounters();

// Forgets what the encounters keep from one run to the next in a process (whether each has
// seeded the generator yet), as a freshly loaded library has it.
void ResetEncounterState();
