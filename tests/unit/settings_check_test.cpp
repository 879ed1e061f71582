// The settings check: the notes realistic bad files get, word for word, and the summary after
// them; the shipped file, and a missing or unreadable one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/settings_check.h"
#include "host/script_main.h"
#include "support/temp_workdir.h"

namespace {

const char* const kPath = "Tarrowind/Tarrowind.ini";

struct BadFile {
    const char* what;
    std::string ini;
    std::vector<std::string> notes;
};

const BadFile kBadFiles[] = {
    {"the mistakes players make most",
     "[Blips]\nEnableBlip=false\n[Encounters]\nExcludeWomen=false\nEvent5_Mugging=True\n"
     "[Event Timing]\nMinEventDelayMinutes=five\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=5\nWeather_MaxEventDelayMinutes=3\n",
     {"Settings: [Blips] EnableBlip=false is not a setting Tarrowind reads, so it is ignored. "
      "Did you mean EnableBlips?",
      "Settings: [Encounters] ExcludeWomen=false is ignored here: ExcludeWomen belongs under "
      "[ExcludedPeds].",
      "Settings: [Encounters] Event5_Mugging=True reads as off: a switch is on only for true, 1 "
      "or yes, in lower case.",
      "Settings: [Event Timing] MinEventDelayMinutes=five is not a whole number, so it reads as "
      "0; that is below 1 minute, so 1 is used.",
      "Settings: [Weather Timing] Weather_MaxEventDelayMinutes=3 is below "
      "Weather_MinEventDelayMinutes (5), so 5 is used."}},
    {"switch words: on-looking, neither, and plain off; a maximum of 1 under a minimum left "
     "at its default (no note)",
     "[Weather]\nSudden_Fog=On\nSudden_Hurricane=\"Y\"\nSudden_Thunderstorm=true ; storms\n"
     "[Encounters]\nEvent1_Aggressor=FALSE\nEvent2_Aggressor_Player=off\nEvent3_Animal_Predator=\n"
     "Event4_Wagon_Robbery=1\n[Event Timing]\nMaxEventDelayMinutes=1\n[Weather Timing]\n"
     "Weather_MaxEventDelayMinutes=1\n",
     {"Settings: [Weather] Sudden_Fog=On reads as off: a switch is on only for true, 1 or yes, "
      "in lower case.",
      "Settings: [Weather] Sudden_Hurricane=\"Y\" reads as off: a switch is on only for true, 1 "
      "or yes, in lower case.",
      "Settings: [Weather] Sudden_Thunderstorm=true ; storms is neither on nor off, so it reads "
      "as off. Write true or false.",
      "Settings: [Encounters] Event3_Animal_Predator= is neither on nor off, so it reads as off. "
      "Write true or false."}},
    {"misspelt and misplaced names, any case",
     "[encounter]\nEvent1_Aggressor=false\n[lBips]\n[Options]\nEnableBlips=false\nColour=red\n"
     "[ENCOUNTERS]\nevent6_horse_buckin=false\nExcludeShopkeeper=false\nHorses=true\n"
     "# Event2_Aggressor_Player=false\n",
     {"Settings: [encounter] is not a section Tarrowind reads, so the lines under it are "
      "ignored. Did you mean [Encounters]?",
      "Settings: [lBips] is not a section Tarrowind reads, so the lines under it are ignored. "
      "Did you mean [Blips]?",
      "Settings: [Options] is not a section Tarrowind reads, so the lines under it are ignored.",
      "Settings: [Options] EnableBlips=false is ignored here: EnableBlips belongs under [Blips].",
      "Settings: [ENCOUNTERS] event6_horse_buckin=false is not a setting Tarrowind reads, so it "
      "is ignored. Did you mean Event6_Horse_Bucking?",
      "Settings: [ENCOUNTERS] ExcludeShopkeeper=false is not a setting Tarrowind reads, so it is "
      "ignored. Did you mean ExcludeShopkeepers under [ExcludedPeds]?",
      "Settings: [ENCOUNTERS] Horses=true is not a setting Tarrowind reads, so it is ignored."}},
    {"numbers and delays",
     "[Event Timing]\nMinEventDelayMinutes=-3\nMaxEventDelayMinutes=40000\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=2.5\nWeather_MaxEventDelayMinutes=99999999999\n",
     {"Settings: [Event Timing] MinEventDelayMinutes=-3 is below 1 minute, so 1 is used.",
      "Settings: [Event Timing] MaxEventDelayMinutes=40000 is above the longest delay, 35791 "
      "minutes, so 35791 is used.",
      "Settings: [Weather Timing] Weather_MinEventDelayMinutes=2.5 is not a whole number, so it "
      "reads as 2.",
      "Settings: [Weather Timing] Weather_MaxEventDelayMinutes=99999999999 is out of range, so "
      "it reads as 1215752191; that is above the longest delay, 35791 minutes, so 35791 is "
      "used."}},
    {"a minimum above the maximum left at its default; a number past 32 bits, a long value, a "
     "doubled letter",
     "[Event Timing]\nMinEventDelayMinutes=5\n[Weather "
     "Timing]\nWeather_MinEventDelayMinutes=4294967297\n"
     "[Weather]\nSudden_Fog=" +
         std::string(61, 'x') + "\n[Blipss]\n",
     {"Settings: [Weather Timing] Weather_MinEventDelayMinutes=4294967297 is out of range, so it "
      "reads as 1.",
      "Settings: [Weather] Sudden_Fog=" + std::string(49, 'x') +
          "... is neither on nor off, so it reads as off. Write true or false.",
      "Settings: [Blipss] is not a section Tarrowind reads, so the lines under it are ignored. "
      "Did you mean [Blips]?",
      "Settings: [Event Timing] MaxEventDelayMinutes is not set, so it is 2; that is below "
      "MinEventDelayMinutes (5), so 5 is used."}},
    {"written twice, and lines before any section",
     "EnableDebugLogging=false\nVolume=3\n; a comment\n[Logging]\nEnableDebugLogging=false\n"
     "enabledebuglogging=true\n[Blips]\n[logging]\nEnableDebugLogging=true\n",
     {"Settings: EnableDebugLogging=false comes before any [section] line, so it is ignored. It "
      "belongs under [Logging].",
      "Settings: Volume=3 comes before any [section] line, so it is ignored.",
      "Settings: [Logging] is written 2 times; only the first is read, so the lines under the "
      "others are ignored.",
      "Settings: [Logging] EnableDebugLogging is written 2 times; only the first, "
      "EnableDebugLogging=false, is read."}},
};

class SettingsCheckTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
    std::vector<std::string> LoggedMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : dir_.LogLines(dir_.LogFiles().at(0))) {
            messages.push_back(line.substr(line.find("] [") + 2));
        }
        return messages;
    }
    TempWorkdir dir_;
};

TEST_F(SettingsCheckTest, RealisticBadFilesGetTheirNotesAndASummaryAfterThem) {
    for (const BadFile& file : kBadFiles) {
        dir_.WriteIni(file.ini);
        EXPECT_EQ(SettingsNotes(kPath), file.notes) << file.what;
    }
    dir_.WriteIni(kBadFiles[0].ini);
    LogSettingsCheck(kPath);
    const auto messages = LoggedMessages();
    ASSERT_EQ(messages.size(), 5u + 1u);
    EXPECT_EQ(messages[0], "[INFO] " + kBadFiles[0].notes[0]);
    EXPECT_EQ(messages.back(),
              "[INFO] Settings check: 5 notes above on Tarrowind/Tarrowind.ini; everything else "
              "is read as written");
}

TEST_F(SettingsCheckTest, TheShippedFileAMissingAndAnUnreadableOneEachGiveOneLine) {
    std::ifstream shipped(TARROWIND_SOURCE_DIR "/packaging/Tarrowind.ini", std::ios::binary);
    std::ostringstream text;
    text << shipped.rdbuf();
    ASSERT_FALSE(text.str().empty());
    dir_.WriteIni(text.str());
    LogSettingsCheck(kPath);
    const std::string where = (dir_.Root() / "Tarrowind" / "Tarrowind.ini").string();
    std::filesystem::remove(where);
    LogSettingsCheck(kPath);
    std::filesystem::create_directory(where);
    LogSettingsCheck(kPath);
    EXPECT_EQ(LoggedMessages(),
              (std::vector<std::string>{
                  "[INFO] Settings check: Tarrowind/Tarrowind.ini is read as written",
                  "[INFO] Settings check: no settings file at " + where +
                      ", so every setting has its default",
                  "[INFO] Settings check: " + where +
                      " could not be read, so every setting has its default"}));
}

}  // namespace
