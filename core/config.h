// The user's settings, read once at start-up from the INI file.
#pragma once

#include <map>
#include <string>
#include <type_traits>

#include "core/settings_table.h"

// A switch is a bool, a delay a whole number of minutes.
template <SettingType type>
using SettingField = std::conditional_t<type == SettingType::Switch, bool, int>;

// One field for each fixed row of the settings table, holding `initial` until the file is
// read, and the encounters' switches by their keys.
struct ConfigData {
#define TARROWIND_SETTING_FIELD(section, key, type, defaultValue, initial, comment, readme) \
    SettingField<SettingType::type> key = initial;
    TARROWIND_SETTINGS_BEFORE_ENCOUNTERS(TARROWIND_SETTING_FIELD)
    TARROWIND_SETTINGS_AFTER_ENCOUNTERS(TARROWIND_SETTING_FIELD)
#undef TARROWIND_SETTING_FIELD
    // Keyed by each encounter's INI key; a key not here counts as on, as before loading.
    std::map<std::string, bool> encounterSwitches;
    int SearchRadius = 100;  // no INI key; kept within 10 to 100

    // Whether the encounter with this INI key is switched on.
    bool EncounterOn(const std::string& iniKey) const {
        const auto found = encounterSwitches.find(iniKey);
        return found == encounterSwitches.end() || found->second;
    }
};

// The one process-wide settings record. Fields before LoadConfig hold the values above.
extern ConfigData Config;
// Puts the defaults above back, as a freshly loaded library has them.
void ResetConfig();

// True exactly for "true", "1" and "yes", compared case-sensitively.
bool ParseBool(const std::string& text);

// Fills Config from the INI file; false when loading stopped on a failure.
bool LoadConfig(const std::string& path);

// What is at the settings path: nothing, something that cannot be read as a file, or a file.
enum class SettingsFileState { Missing, Unreadable, Readable };
SettingsFileState ProbeSettingsFile(const std::string& path);
