// Loading the settings, and what the load writes to the log.
#include <gtest/gtest.h>

#include "core/config.h"
#include "host/script_main.h"
#include "support/temp_workdir.h"

namespace {

struct ConfigCase {
    const char* ini;  // nullptr: no file; "/": a folder where the file should be
    // EnableDebugLogging, EnableBlips, ExcludeShopkeepers, ExcludeWomen, then the encounter's
    // and the weather's minimum and maximum delays.
    std::vector<int> values;
};

const ConfigCase kCases[] = {
    // No file: everything on, one to two minutes.
    {nullptr, {1, 1, 1, 1, 1, 2, 1, 2}},
    // Only lower-case true, 1 and yes are on.
    {"[Logging]\nEnableDebugLogging=True\n[Blips]\nEnableBlips=yes\n[ExcludedPeds]\n"
     "ExcludeShopkeepers=1\nExcludeWomen=0\n",
     {0, 1, 1, 0, 1, 2, 1, 2}},
    // The encounter delays repaired, the weather's stored as read.
    {"[Event Timing]\nMinEventDelayMinutes=5\nMaxEventDelayMinutes=3\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=5\nWeather_MaxEventDelayMinutes=3\n",
     {1, 1, 1, 1, 5, 5, 5, 3}},
    // The minimum raised before the maximum is compared.
    {"[Event Timing]\nMinEventDelayMinutes=-3\nMaxEventDelayMinutes=0\n", {1, 1, 1, 1, 1, 1, 1, 2}},
    // An unreadable file: reported, and the defaults used.
    {"/", {1, 1, 1, 1, 1, 2, 1, 2}},
};

TEST(ConfigTest, EachFileLoadsItsValuesAndLogsTheLoad) {
    for (const ConfigCase& c : kCases) {
        const std::string ini = c.ini == nullptr ? "no file" : c.ini;
        ResetProcessState();
        Config.ExcludeWomen = false;  // its value before a load, not what a load gives
        TempWorkdir dir;
        if (ini == "/") {
            std::filesystem::create_directory(dir.Root() / "Tarrowind" / "Tarrowind.ini");
        } else if (c.ini != nullptr) {
            dir.WriteIni(ini);
        }
        ASSERT_TRUE(LoadConfig("Tarrowind/Tarrowind.ini")) << ini;
        EXPECT_EQ((std::vector<int>{
                      Config.EnableDebugLogging, Config.EnableBlips, Config.ExcludeShopkeepers,
                      Config.ExcludeWomen, Config.MinEventDelayMinutes, Config.MaxEventDelayMinutes,
                      Config.Weather_MinEventDelayMinutes, Config.Weather_MaxEventDelayMinutes}),
                  c.values)
            << ini;
        // The load's lines: the two Debug ones only with Debug on.
        std::vector<std::string> expected;
        if (ini == "/") {
            expected.push_back(
                "[ERROR] Configuration file could not be read, using defaults: "
                "Tarrowind/Tarrowind.ini");
        }
        expected.push_back("[INFO] Configuration loaded from: Tarrowind/Tarrowind.ini");
        if (c.values[0] == 1) {
            expected.push_back("[DEBUG] EnableDebugLogging: true");
            expected.push_back("[DEBUG] Event delay range: " + std::to_string(c.values[4]) + "-" +
                               std::to_string(c.values[5]) + " minutes");
        }
        EXPECT_EQ(dir.LogMessages(), expected) << ini;
    }
    ResetProcessState();
}

}  // namespace
