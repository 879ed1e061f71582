// Loading the settings: defaults, the boolean rule, the repairs of the encounter delays, keys
// under the wrong section, an unreadable file, and what is written to the log.
#include <gtest/gtest.h>

#include "core/config.h"
#include "host/script_main.h"
#include "support/temp_workdir.h"

namespace {

TEST(ParseBool, TrueOnlyForTrueOneAndYes) {
    for (const char* text : {"true", "1", "yes"}) {
        EXPECT_TRUE(ParseBool(text)) << text;
    }
    for (const char* text : {"True", "TRUE", "on", "0", "", "yes ", "false"}) {
        EXPECT_FALSE(ParseBool(text)) << text;
    }
}

struct ConfigCase {
    const char* ini;  // nullptr: no file; "/": a folder where the file should be
    bool debug, blips, shopkeepers, women;
    int min, max, weatherMin, weatherMax;
};

const ConfigCase kCases[] = {
    // No file: everything on, one to two minutes.
    {nullptr, true, true, true, true, 1, 2, 1, 2},
    // Only lower-case true, 1 and yes are on.
    {"[Logging]\nEnableDebugLogging=True\n[Blips]\nEnableBlips=yes\n", false, true, true, true, 1,
     2, 1, 2},
    // The encounter delays repaired, the weather's stored as read.
    {"[Event Timing]\nMinEventDelayMinutes=5\nMaxEventDelayMinutes=3\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=5\nWeather_MaxEventDelayMinutes=3\n",
     true, true, true, true, 5, 5, 5, 3},
    // The minimum raised before the maximum is compared.
    {"[Event Timing]\nMinEventDelayMinutes=-3\nMaxEventDelayMinutes=0\n", true, true, true, true, 1,
     1, 1, 2},
    // A key under the wrong section takes its default.
    {"[Encounters]\nExcludeWomen=false\n[ExcludedPeds]\nExcludeShopkeepers=no\n", true, true, false,
     true, 1, 2, 1, 2},
    // An unreadable file: reported, and the defaults used.
    {"/", true, true, true, true, 1, 2, 1, 2},
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
        EXPECT_EQ(Config.EnableDebugLogging, c.debug) << ini;
        EXPECT_EQ(Config.EnableBlips, c.blips) << ini;
        EXPECT_EQ(Config.ExcludeShopkeepers, c.shopkeepers) << ini;
        EXPECT_EQ(Config.ExcludeWomen, c.women) << ini;
        EXPECT_EQ(Config.MinEventDelayMinutes, c.min) << ini;
        EXPECT_EQ(Config.MaxEventDelayMinutes, c.max) << ini;
        EXPECT_EQ(Config.Weather_MinEventDelayMinutes, c.weatherMin) << ini;
        EXPECT_EQ(Config.Weather_MaxEventDelayMinutes, c.weatherMax) << ini;
        EXPECT_EQ(Config.SearchRadius, 100) << ini;
        // No file sets a switch, so every one takes its default: on.
        for (const bool on :
             {Config.Event1_Aggressor, Config.Event2_Aggressor_Player,
              Config.Event3_Animal_Predator, Config.Event4_Wagon_Robbery, Config.Event5_Mugging,
              Config.Event6_Horse_Bucking, Config.Sudden_Thunderstorm, Config.Sudden_Hurricane,
              Config.Sudden_Fog}) {
            EXPECT_TRUE(on) << ini;
        }
        // The load's lines: the two Debug ones only with Debug on.
        std::vector<std::string> expected;
        if (ini == "/") {
            expected.push_back(
                "[ERROR] Configuration file could not be read, using defaults: "
                "Tarrowind/Tarrowind.ini");
        }
        expected.push_back("[INFO] Configuration loaded from: Tarrowind/Tarrowind.ini");
        if (c.debug) {
            expected.push_back("[DEBUG] EnableDebugLogging: true");
            expected.push_back("[DEBUG] Event delay range: " + std::to_string(c.min) + "-" +
                               std::to_string(c.max) + " minutes");
        }
        std::vector<std::string> log;
        for (const std::string& line : dir.LogLines(dir.LogFiles().at(0))) {
            log.push_back(line.substr(line.find("] [") + 2));
        }
        EXPECT_EQ(log, expected) << ini;
    }
    ResetProcessState();
}

}  // namespace
