// Loading the settings: defaults, the boolean rule, the repairs of the encounter delays, and
// what is written to the log.
#include <gtest/gtest.h>

#include "core/config.h"
#include "core/logger.h"
#include "host/script_main.h"
#include "support/temp_workdir.h"

namespace {

class ConfigTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
    TempWorkdir dir_;
    const std::string path_ = "Tarrowind/Tarrowind.ini";
};

TEST_F(ConfigTest, MissingFileEnablesEverythingWithOneToTwoMinutes) {
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_TRUE(Config.EnableDebugLogging);
    EXPECT_TRUE(Config.ExcludeWomen);  // its initial value is false
    EXPECT_TRUE(Config.Sudden_Thunderstorm && Config.Sudden_Hurricane && Config.Sudden_Fog);
    EXPECT_TRUE(Config.Event1_Aggressor && Config.Event6_Horse_Bucking);
    EXPECT_EQ(Config.MinEventDelayMinutes, 1);
    EXPECT_EQ(Config.MaxEventDelayMinutes, 2);
    EXPECT_EQ(Config.Weather_MinEventDelayMinutes, 1);
    EXPECT_EQ(Config.Weather_MaxEventDelayMinutes, 2);
    EXPECT_EQ(Config.SearchRadius, 100);

    const auto files = dir_.LogFiles();
    ASSERT_EQ(files.size(), 1u);
    const auto lines = dir_.LogLines(files[0]);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("[INFO] Configuration loaded from: Tarrowind/Tarrowind.ini"),
              std::string::npos);
    EXPECT_NE(lines[1].find("[DEBUG] EnableDebugLogging: true"), std::string::npos);
    EXPECT_NE(lines[2].find("[DEBUG] Event delay range: 1-2 minutes"), std::string::npos);
}

TEST_F(ConfigTest, BooleansAreTrueOnlyForTrueOneAndYes) {
    EXPECT_TRUE(ParseBool("true"));
    EXPECT_TRUE(ParseBool("1"));
    EXPECT_TRUE(ParseBool("yes"));
    for (const char* text : {"True", "TRUE", "on", "0", "", "yes ", "false"}) {
        EXPECT_FALSE(ParseBool(text)) << text;
    }
    dir_.WriteIni("[Logging]\nEnableDebugLogging=True\n[Blips]\nEnableBlips=yes\n");
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_FALSE(Config.EnableDebugLogging);
    EXPECT_TRUE(Config.EnableBlips);
    // With Debug off, only the Info line of the load is written.
    const auto lines = dir_.LogLines(dir_.LogFiles().at(0));
    ASSERT_EQ(lines.size(), 1u);
}

TEST_F(ConfigTest, EncounterDelaysAreRepairedWeatherDelaysStoredAsRead) {
    dir_.WriteIni(
        "[Event Timing]\nMinEventDelayMinutes=5\nMaxEventDelayMinutes=3\n"
        "[Weather Timing]\nWeather_MinEventDelayMinutes=5\nWeather_MaxEventDelayMinutes=3\n");
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_EQ(Config.MinEventDelayMinutes, 5);
    EXPECT_EQ(Config.MaxEventDelayMinutes, 5);
    EXPECT_EQ(Config.Weather_MinEventDelayMinutes, 5);
    EXPECT_EQ(Config.Weather_MaxEventDelayMinutes, 3);
    const auto lines = dir_.LogLines(dir_.LogFiles().at(0));
    EXPECT_NE(lines.back().find("Event delay range: 5-5 minutes"), std::string::npos);

    ResetProcessState();
    dir_.WriteIni("[Event Timing]\nMinEventDelayMinutes=-3\nMaxEventDelayMinutes=0\n");
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_EQ(Config.MinEventDelayMinutes, 1);  // raised before the maximum is compared
    EXPECT_EQ(Config.MaxEventDelayMinutes, 1);
}

TEST_F(ConfigTest, KeyUnderTheWrongSectionTakesItsDefault) {
    dir_.WriteIni("[Encounters]\nExcludeWomen=false\n[ExcludedPeds]\nExcludeShopkeepers=no\n");
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_TRUE(Config.ExcludeWomen);
    EXPECT_FALSE(Config.ExcludeShopkeepers);
}

TEST_F(ConfigTest, UnreadableFileIsReportedAndDefaultsUsed) {
    std::filesystem::create_directory(dir_.Root() / "Tarrowind" / "Tarrowind.ini");
    Config.ExcludeWomen = false;
    ASSERT_TRUE(LoadConfig(path_));
    EXPECT_TRUE(Config.ExcludeWomen);
    const auto lines = dir_.LogLines(dir_.LogFiles().at(0));
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("[ERROR] Configuration file could not be read, using defaults: "
                            "Tarrowind/Tarrowind.ini"),
              std::string::npos);
}

}  // namespace
