// Our INI reader must answer as the Windows profile reader does for every setting.
#include <gtest/gtest.h>

#include "platform/ini_reader.h"
#include "support/temp_workdir.h"

namespace {

const std::string kText =
    "\xEF\xBB\xBF"
    "Loose=1\n"
    "[Logging]\nEnableDebugLogging=false\n"
    "  [Event Timing]  \n  minEventDelayMinutes \t=\t 7  \r\n"
    "[blips]\nEnableBlips = yes\nEnableBlips=second\nBare\nEmpty=\n"
    "[Quotes]\n; Commented=x\nDouble=\"1\"\nSingle='yes'\nUnmatched='yes\nLone=\"\nInner=a \"b\"\r"
    "Blanks=\x1a v \x1a\n"
    "[Broken\nKey=in the broken section\n"
    "[Blips]\nOther=x\n";

TEST(IniReader, ReadsTheValueTheWindowsReaderReads) {
    const struct {
        const char* section;
        const char* key;
        const char* defaultText;
        const char* value;
    } cases[] = {
        {"Logging", "EnableDebugLogging", "true", "false"},
        {"Event Timing", "MinEventDelayMinutes", "1", "7"},  // names by case, blanks dropped
        {" BLIPS ", "enableblips", "true", "yes"},
        {"", "Loose", "0", "1"},                      // the lines before any section
        {"Blips", "EnableDebugLogging", "d", "d"},    // only the key's own section
        {"Weather", "Sudden_Fog", "true  ", "true"},  // the default's trailing spaces go
        {"Blips", "Bare", "d", "d"},                  // a key without '='
        {"Blips", "Empty", "d", ""},
        {"Blips", "Other", "d", "d"},  // only the first section of a name
        {"Quotes", "Commented", "d", "d"},
        {"Quotes", "Double", "d", "1"},
        {"Quotes", "Single", "d", "yes"},
        {"Quotes", "Unmatched", "d", "'yes"},
        {"Quotes", "Lone", "d", "\""},
        {"Quotes", "Inner", "d", "a \"b\""},
        {"Quotes", "Blanks", "d", "v"},                   // ^Z counts as a blank; '\r' ends a line
        {"Quotes", "Key", "d", "in the broken section"},  // a header without ']' is a key line
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini::ReadStringFromText(kText, c.section, c.key, c.defaultText), c.value)
            << c.section << " " << c.key;
    }
    EXPECT_EQ(ini::ReadStringFromText("[A]\nk=" + std::string(300, 'x'), "A", "k", ""),
              std::string(255, 'x'));
    EXPECT_EQ(ini::ReadStringFromText("[A]\nk=\"" + std::string(300, 'x') + "\"", "A", "k", ""),
              std::string(255, 'x'));

    TempWorkdir dir;
    EXPECT_EQ(ini::ReadString("Logging", "EnableDebugLogging", "true", "Tarrowind/none.ini"),
              "true");
    EXPECT_EQ(ini::ReadInt("Event Timing", "MinEventDelayMinutes", 1, "Tarrowind/none.ini"), 1);
}

TEST(IniReader, IntegersReadTheLeadingSignedNumber) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},   {"  -3", -3}, {"\t7", 7},     {"+5minutes", 5},  {"minutes", 0},
        {"1.9", 1},   {"0x1A", 26}, {"0xff", 255},  {"0X10", 0},       {"0o17", 15},
        {"0b101", 5}, {"2x3", 2},   {"-0x10", -16}, {"4294967297", 1},  // wraps like the Windows
                                                                        // reader
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini::ParseProfileInt(c.first), c.second) << c.first;
    }
    EXPECT_EQ(ini::ReadIntFromText("[T]\nMin=\n", "T", "Min", 9), 9);
    EXPECT_EQ(ini::ReadIntFromText("[T]\nMin= 12 \n", "T", "Min", 9), 12);
    // The value is read into 30 characters before it is converted.
    EXPECT_EQ(ini::ReadIntFromText("[T]\nMin=" + std::string(27, '0') + "123\n", "T", "Min", 9),
              12);
}

TEST(IniReader, ListingsShowWhatTheReaderHolds) {
    const std::string text =
        "Loose=1\n[Blips]\n; comment\nEnableBlips = \"no\" \nBare\n=a\n=b\n[ ]\n[blips]\nX=1\n";
    EXPECT_EQ(ini::ListSectionsFromText(text), (std::vector<std::string>{"Blips", "blips"}));
    // The first section of the name only; quotes kept; one of two empty names in a row.
    EXPECT_EQ(ini::ListSectionEntriesFromText(text, "BLIPS"),
              (std::vector<std::string>{"EnableBlips=\"no\"", "Bare", "=a"}));
    EXPECT_EQ(ini::ListSectionEntriesFromText(text, ""), (std::vector<std::string>{"Loose=1"}));
    EXPECT_TRUE(ini::ListSectionEntriesFromText(text, " Blips").empty());
}

}  // namespace
