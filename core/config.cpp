#include "core/config.h"

#include <exception>

#include "core/logger.h"
#include "platform/platform.h"

ConfigData Config;

void ResetConfig() {
    Config = ConfigData();
}

namespace {

bool ReadBool(const char* section, const char* key, const std::string& path) {
    return ParseBool(platform::ReadIniString(section, key, "true", path.c_str()));
}

int ReadInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    return platform::ReadIniInt(section, key, defaultValue, path.c_str());
}

}  // namespace

SettingsFileState ProbeSettingsFile(const std::string& path) {
    switch (platform::ProbeFile(path.c_str())) {
        case platform::FileState::Missing:
            return SettingsFileState::Missing;
        case platform::FileState::Unreadable:
            return SettingsFileState::Unreadable;
        case platform::FileState::Readable:
            break;
    }
    return SettingsFileState::Readable;
}

bool ParseBool(const std::string& text) {
    return text == "true" || text == "1" || text == "yes";
}

bool LoadConfig(const std::string& path) {
    try {
        // A missing file simply means defaults; one that is there but cannot be read is
        // worth telling the player about, since the reader quietly gives defaults too.
        if (ProbeSettingsFile(path) == SettingsFileState::Unreadable) {
            LogError("Configuration file could not be read, using defaults: " + path);
        }
        Config.EnableDebugLogging = ReadBool("Logging", "EnableDebugLogging", path);
        // Off unless asked for: a recording is for a session a player wants to report.
        Config.RecordSession =
            ParseBool(platform::ReadIniString("Logging", "RecordSession", "false", path.c_str()));
        Config.EnableBlips = ReadBool("Blips", "EnableBlips", path);
        Config.MinEventDelayMinutes = ReadInt("Event Timing", "MinEventDelayMinutes", 1, path);
        Config.MaxEventDelayMinutes = ReadInt("Event Timing", "MaxEventDelayMinutes", 2, path);

        if (Config.MinEventDelayMinutes < 1) {
            Config.MinEventDelayMinutes = 1;
        }
        if (Config.MaxEventDelayMinutes < Config.MinEventDelayMinutes) {
            Config.MaxEventDelayMinutes = Config.MinEventDelayMinutes;
        }
        if (Config.SearchRadius > 100) {
            Config.SearchRadius = 100;
        }
        if (Config.SearchRadius < 10) {
            Config.SearchRadius = 10;
        }

        Config.ExcludeShopkeepers = ReadBool("ExcludedPeds", "ExcludeShopkeepers", path);
        Config.ExcludeWomen = ReadBool("ExcludedPeds", "ExcludeWomen", path);

        Config.Event1_Aggressor = ReadBool("Encounters", "Event1_Aggressor", path);
        Config.Event2_Aggressor_Player = ReadBool("Encounters", "Event2_Aggressor_Player", path);
        Config.Event3_Animal_Predator = ReadBool("Encounters", "Event3_Animal_Predator", path);
        Config.Event4_Wagon_Robbery = ReadBool("Encounters", "Event4_Wagon_Robbery", path);
        Config.Event5_Mugging = ReadBool("Encounters", "Event5_Mugging", path);
        Config.Event6_Horse_Bucking = ReadBool("Encounters", "Event6_Horse_Bucking", path);

        Config.Sudden_Thunderstorm = ReadBool("Weather", "Sudden_Thunderstorm", path);
        Config.Sudden_Hurricane = ReadBool("Weather", "Sudden_Hurricane", path);
        Config.Sudden_Fog = ReadBool("Weather", "Sudden_Fog", path);

        // Stored as read; the timer makes them safe when it draws a delay.
        Config.Weather_MinEventDelayMinutes =
            ReadInt("Weather Timing", "Weather_MinEventDelayMinutes", 1, path);
        Config.Weather_MaxEventDelayMinutes =
            ReadInt("Weather Timing", "Weather_MaxEventDelayMinutes", 2, path);

        Log(LogLevel::Info, "Configuration loaded from: " + path);
        Log(LogLevel::Debug,
            "EnableDebugLogging: ", (Config.EnableDebugLogging ? "true" : "false"));
        Log(LogLevel::Debug, "Event delay range: ", Config.MinEventDelayMinutes, "-",
            Config.MaxEventDelayMinutes, " minutes");
        return true;
    } catch (...) {
        LogError("Failed to load configuration from: " + path);
        return false;
    }
}
