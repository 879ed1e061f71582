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
