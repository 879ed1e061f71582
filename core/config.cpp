#include "core/config.h"

#include <exception>

#include "core/logger.h"
#include "platform/platform.h"

ConfigData Config;

void ResetConfig() {
    Config = ConfigData();
}

namespace {

// A row's value as the file gives it: a switch's text read as on or off, with its default
// when the key is missing, or a delay's number.
int ReadSetting(const SettingRow& row, const std::string& path) {
    if (row.type == SettingType::Switch) {
        return ParseBool(platform::ReadIniString(row.section, row.key.c_str(),
                                                 row.defaultValue ? "true" : "false", path.c_str()))
                   ? 1
                   : 0;
    }
    return platform::ReadIniInt(row.section, row.key.c_str(), row.defaultValue, path.c_str());
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
        for (const SettingRow& row : AllSettings()) {
            row.set(Config, row.key, ReadSetting(row, path));
        }

        // The encounter delays are made safe here; the weather's are stored as read, as the
        // timer makes them safe when it draws a delay.
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
