// The settings check's notes, word for word, and its summary line.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings_check.h"
#include "host/script_main.h"
#include "platform/os_services.h"
#include "platform/platform.h"
#include "support/temp_workdir.h"

namespace {

const char* const kPath = "Tarrowind/Tarrowind.ini";

struct BadFile {
    const char* what;
    std::string ini;
    std::vector<std::string> notes;  // each after "Settings: "
};

const std::string kOff = " reads as off: a switch is on only for true, 1 or yes, in lower case.";
const std::string kNoSection =
    " is not a section Tarrowind reads, so the lines under it are ignored.";
const std::string kNoSetting = " is not a setting Tarrowind reads, so it is ignored.";

const BadFile kBadFiles[] = {
    {"the mistakes players make most",
     "[Blips]\nEnableBlip=false\n[Encounters]\nExcludeWomen=false\nEvent5_Mugging=True\n"
     "[Event Timing]\nMinEventDelayMinutes=five\nMaxEventDelayMinutes=-\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=5\nWeather_MaxEventDelayMinutes=3\n",
     {"[Blips] EnableBlip=false" + kNoSetting + " Did you mean EnableBlips?",
      "[Encounters] ExcludeWomen=false is ignored here: ExcludeWomen belongs under "
      "[ExcludedPeds].",
      "[Encounters] Event5_Mugging=True" + kOff,
      "[Event Timing] MinEventDelayMinutes=five is not a whole number, so it reads as 0; that is "
      "below 1 minute, so 1 is used.",
      "[Event Timing] MaxEventDelayMinutes=- is not a whole number, so it reads as 0; that is "
      "below MinEventDelayMinutes (1), so 1 is used.",
      "[Weather Timing] Weather_MaxEventDelayMinutes=3 is below Weather_MinEventDelayMinutes (5), "
      "so 5 is used."}},
    {"switch words that look on, and plain off; a maximum of 1 under a minimum left at its "
     "default (no note)",
     "[Weather]\nSudden_Fog=On\nSudden_Hurricane=\"Y\"\n[Encounters]\nEvent1_Aggressor=FALSE\n"
     "Event2_Aggressor_Player=off\nEvent4_Wagon_Robbery=1\n[Event Timing]\nMaxEventDelayMinutes=1\n"
     "[Weather Timing]\nWeather_MaxEventDelayMinutes=1\n",
     {"[Weather] Sudden_Fog=On" + kOff, "[Weather] Sudden_Hurricane=\"Y\"" + kOff}},
    {"misspelt, misplaced and doubled names, any case",
     "[encounter]\nEvent1_Aggressor=false\n[lBips]\n[Options]\nEnableBlips=false\nColour=red\n"
     "[ENCOUNTERS]\nevent6_horse_buckin=false\nExcludeShopkeeper=false\nHorses=true\n"
     "# Event2_Aggressor_Player=false\n[Logging]\nEnableDebugLogging=false\nenabledebuglogging=1\n",
     {"[encounter]" + kNoSection + " Did you mean [Encounters]?",
      "[lBips]" + kNoSection + " Did you mean [Blips]?", "[Options]" + kNoSection,
      "[Options] EnableBlips=false is ignored here: EnableBlips belongs under [Blips].",
      "[ENCOUNTERS] event6_horse_buckin=false" + kNoSetting + " Did you mean Event6_Horse_Bucking?",
      "[ENCOUNTERS] ExcludeShopkeeper=false" + kNoSetting +
          " Did you mean ExcludeShopkeepers under [ExcludedPeds]?",
      "[ENCOUNTERS] Horses=true" + kNoSetting,
      "[Logging] EnableDebugLogging is written 2 times; only the first, "
      "EnableDebugLogging=false, is read."}},
    {"numbers and delays",
     "[Event Timing]\nMinEventDelayMinutes=-3\nMaxEventDelayMinutes=40000\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=2.5\nWeather_MaxEventDelayMinutes=99999999999\n",
     {"[Event Timing] MinEventDelayMinutes=-3 is below 1 minute, so 1 is used.",
      "[Event Timing] MaxEventDelayMinutes=40000 is above the longest delay, 35791 minutes, so "
      "35791 is used.",
      "[Weather Timing] Weather_MinEventDelayMinutes=2.5 is not a whole number, so it reads as 2.",
      "[Weather Timing] Weather_MaxEventDelayMinutes=99999999999 is out of range, so it reads as "
      "1215752191; that is above the longest delay, 35791 minutes, so 35791 is used."}},
    {"a minimum above the maximum left at its default; a number past 32 bits, a doubled letter",
     "[Event Timing]\nMinEventDelayMinutes=5\n[Weather Timing]\n"
     "Weather_MinEventDelayMinutes=4294967297\n[Blipss]\n",
     {"[Weather Timing] Weather_MinEventDelayMinutes=4294967297 is out of range, so it reads as 1.",
      "[Blipss]" + kNoSection + " Did you mean [Blips]?",
      "[Event Timing] MaxEventDelayMinutes is not set, so it is 2; that is below "
      "MinEventDelayMinutes (5), so 5 is used."}},
    {"letters too many or too few at the start; the nearer of two keys; a control character "
     "in a quoted value",
     "[Blips]\nXEnableBlips=false\nnableBlips=false\nableBlipz=false\nZZEnableBlipz=false\n"
     "[Event Timing]\nMaxEventDelayMinute=3\n"
     "[Weather]\nSudden_Fog=\"o\x01n\"\n",
     {"[Blips] XEnableBlips=false" + kNoSetting + " Did you mean EnableBlips?",
      "[Blips] nableBlips=false" + kNoSetting + " Did you mean EnableBlips?",
      // Three edits away, each with two of them at the start: too far to be meant.
      "[Blips] ableBlipz=false" + kNoSetting, "[Blips] ZZEnableBlipz=false" + kNoSetting,
      "[Event Timing] MaxEventDelayMinute=3" + kNoSetting + " Did you mean MaxEventDelayMinutes?",
      "[Weather] Sudden_Fog=\"o?n\" is neither on nor off, so it reads as off. Write true or "
      "false."}},
};

class SettingsCheckTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
    TempWorkdir dir_;
};

TEST_F(SettingsCheckTest, RealisticBadFilesGetTheirNotesAndASummaryAfterThem) {
    for (const BadFile& file : kBadFiles) {
        dir_.WriteIni(file.ini);
        std::vector<std::string> notes = file.notes;
        for (std::string& note : notes) {
            note = "Settings: " + note;
        }
        EXPECT_EQ(SettingsNotes(kPath), notes) << file.what;
    }
    dir_.WriteIni(kBadFiles[0].ini);
    LogSettingsCheck(kPath);
    const auto messages = dir_.LogMessages();
    ASSERT_EQ(messages.size(), 6u + 1u);
    EXPECT_EQ(messages[0], "[INFO] Settings: " + kBadFiles[0].notes[0]);
    EXPECT_EQ(messages.back(),
              "[INFO] Settings check: 6 notes above on Tarrowind/Tarrowind.ini; everything else "
              "is read as written");
}

TEST_F(SettingsCheckTest, TheShippedFileAMissingAndAnUnreadableOneEachGiveOneLine) {
    const std::string where = (dir_.Root() / "Tarrowind" / "Tarrowind.ini").string();
    std::filesystem::copy_file(TARROWIND_SHIPPED_INI, where);
    LogSettingsCheck(kPath);
    std::filesystem::remove(where);
    LogSettingsCheck(kPath);
    std::filesystem::create_directory(where);
    LogSettingsCheck(kPath);
    EXPECT_EQ(dir_.LogMessages(),
              (std::vector<std::string>{
                  "[INFO] Settings check: Tarrowind/Tarrowind.ini is read as written",
                  "[INFO] Settings check: no settings file at " + where +
                      ", so every setting has its default",
                  "[INFO] Settings check: " + where +
                      " could not be read, so every setting has its default"}));
}

// The system's answers, but a listing of the file's sections that fails as a full disk or a
// lost share can fail it: with a standard exception, or with something else.
bool gListingThrowsStandard = true;
std::vector<std::string> FailingListing(const char*) {
    if (gListingThrowsStandard) {
        throw std::runtime_error("the share went away");
    }
    throw 7;
}
const platform::KernelAnswers kFailingListing = {platform::os::TickCount64,
                                                 platform::os::SleepMs,
                                                 platform::os::CalendarNow,
                                                 platform::os::ToLocalTime,
                                                 platform::os::ReadIniString,
                                                 platform::os::ReadIniInt,
                                                 FailingListing,
                                                 platform::os::ListIniSectionEntries,
                                                 platform::os::ProbeFile,
                                                 platform::os::FullPath};

TEST_F(SettingsCheckTest, ACheckThatFailsSaysSoInOneLineAndStartUpGoesOn) {
    dir_.WriteIni(kBadFiles[0].ini);
    struct Answers {
        Answers() { platform::SetKernelAnswers(&kFailingListing); }
        ~Answers() { platform::SetKernelAnswers(nullptr); }
    } failing;
    gListingThrowsStandard = true;
    EXPECT_NO_THROW(LogSettingsCheck(kPath));
    gListingThrowsStandard = false;
    EXPECT_NO_THROW(LogSettingsCheck(kPath));
    // No note and no summary that would claim the file was read as written.
    EXPECT_EQ(dir_.LogMessages(),
              (std::vector<std::string>{"[ERROR] Settings check stopped: the share went away",
                                        "[ERROR] Settings check stopped: unknown exception"}));
}

}  // namespace
