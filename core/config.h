// The user's settings, read once at start-up from the INI file.
#pragma once

#include <string>

struct ConfigData {
    bool EnableDebugLogging = true;
    bool RecordSession = false;
    bool EnableBlips = true;
    int MinEventDelayMinutes = 1;
    int MaxEventDelayMinutes = 2;
    bool ExcludeShopkeepers = true;
    bool ExcludeWomen = false;
    bool Event1_Aggressor = true;
    bool Event2_Aggressor_Player = true;
    bool Event3_Animal_Predator = true;
    bool Event4_Wagon_Robbery = true;
    bool Event5_Mugging = true;
    bool Event6_Horse_Bucking = true;
    bool Sudden_Thunderstorm = false;
    bool Sudden_Hurricane = false;
    bool Sudden_Fog = false;
    int Weather_MinEventDelayMinutes = 1;
    int Weather_MaxEventDelayMinutes = 2;
    int SearchRadius = 100;  // no INI key; kept within 10 to 100
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
