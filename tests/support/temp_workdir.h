// A fresh game folder for one test: a temporary directory with Tarrowind/logs (as an
// installed copy has it), made the current directory for the test's lifetime.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/logger.h"
#include "core/settings_table.h"

class TempWorkdir {
  public:
    // A line logged outside a script frame leaves the day's file open (only a wait closes it):
    // it must not carry over from one folder to another.
    TempWorkdir() {
        CloseLogFile();
        char pattern[] = "/tmp/tarrowind-test-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ / "Tarrowind" / "logs");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
    }
    ~TempWorkdir() {
        CloseLogFile();
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TempWorkdir(const TempWorkdir&) = delete;
    TempWorkdir& operator=(const TempWorkdir&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    // Writes Tarrowind/Tarrowind.ini with the given text.
    void WriteIni(const std::string& text) const {
        std::ofstream(root_ / "Tarrowind" / "Tarrowind.ini", std::ios::binary) << text;
    }

    // The file names under Tarrowind/logs, sorted.
    std::vector<std::string> LogFiles() const {
        std::vector<std::string> names;
        std::error_code missing;
        for (const auto& entry :
             std::filesystem::directory_iterator(root_ / "Tarrowind" / "logs", missing)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> LogLines(const std::string& fileName) const {
        std::ifstream in(root_ / "Tarrowind" / "logs" / fileName);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The lines of the only log file without their timestamps: "[INFO] ...".
    std::vector<std::string> LogMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : LogLines(LogFiles().at(0))) {
            messages.push_back(line.substr(line.find("] [") + 2));
        }
        return messages;
    }

  private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

// An INI that turns every encounter and weather event off but those a test names, with
// one-minute delays. The switches come from the settings table, so a new encounter is off here
// too unless named.
inline std::string IniWith(const std::vector<std::string>& enabledKeys, bool debug = true) {
    std::ostringstream ini;
    ini << "[Logging]\nEnableDebugLogging=" << (debug ? "true" : "false")
        << "\n[Event Timing]\nMinEventDelayMinutes=1\nMaxEventDelayMinutes=1\n"
        << "[Weather Timing]\nWeather_MinEventDelayMinutes=1\nWeather_MaxEventDelayMinutes=1\n";
    std::string section;
    for (const SettingRow& row : AllSettings()) {
        const bool isEvent =
            row.section == std::string(kEncounterSection) || row.section == std::string("Weather");
        if (!isEvent) {
            continue;
        }
        if (section != row.section) {
            section = row.section;
            ini << "[" << section << "]\n";
        }
        const bool on =
            std::find(enabledKeys.begin(), enabledKeys.end(), row.key) != enabledKeys.end();
        ini << row.key << (on ? "=true" : "=false") << "\n";
    }
    return ini.str();
}
