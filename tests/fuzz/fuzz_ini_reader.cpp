// Fuzz target: the INI reader, its listings, LoadConfig and the settings check on arbitrary
// bytes. No crash, no sanitizer report, and every setting within what the rest of the plug-in
// can take.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/config.h"
#include "core/settings_check.h"
#include "host/script_main.h"
#include "platform/ini_reader.h"

namespace {

const char* const kKeys[][2] = {
    {"Logging", "EnableDebugLogging"},
    {"Event Timing", "MinEventDelayMinutes"},
    {"Weather Timing", "Weather_MaxEventDelayMinutes"},
    {"ExcludedPeds", "ExcludeWomen"},
    {"", ""},
};

// A private game folder for the whole fuzzing process, with no logs folder: lines are
// dropped, so the run does not fill the disk.
void EnterScratchFolder() {
    static bool entered = false;
    if (entered) {
        return;
    }
    char pattern[] = "/tmp/tarrowind-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        std::abort();
    }
    std::filesystem::create_directories("Tarrowind");
    entered = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterScratchFolder();
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& key : kKeys) {
        const std::string value = ini::ReadStringFromText(text, key[0], key[1], "true");
        if (value.size() > 255) {
            std::abort();
        }
        ini::ReadIntFromText(text, key[0], key[1], 1);
    }
    // Every listed line comes from one line of the file.
    for (const std::string& section : ini::ListSectionsFromText(text)) {
        for (const std::string& entry : ini::ListSectionEntriesFromText(text, section)) {
            if (entry.find_first_of("\r\n") != std::string::npos) {
                std::abort();
            }
        }
    }

    {
        std::ofstream file("Tarrowind/Tarrowind.ini", std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    ResetProcessState();
    if (!LoadConfig("Tarrowind/Tarrowind.ini")) {
        std::abort();  // nothing in a file can make loading fail
    }
    LogSettingsCheck("Tarrowind/Tarrowind.ini");
    const bool delaysRepaired = Config.MinEventDelayMinutes >= 1 &&
                                Config.MaxEventDelayMinutes >= Config.MinEventDelayMinutes;
    const bool radiusInRange = Config.SearchRadius >= 10 && Config.SearchRadius <= 100;
    if (!delaysRepaired || !radiusInRange) {
        std::abort();
    }
    return 0;
}
