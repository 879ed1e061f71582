// Our INI reader must answer as the Windows profile reader does for every setting.
#include <gtest/gtest.h>

#include "platform/ini_reader.h"
#include "support/temp_workdir.h"

namespace {

std::string Read(const std::string& text, const std::string& section, const std::string& key,
                 const std::string& def = "true") {
    return ini::ReadStringFromText(text, section, key, def);
}

TEST(IniReader, FindsKeysInTheirSectionIgnoringCaseAndBlanks) {
    const std::string text =
        "[Logging]\nEnableDebugLogging=false\n"
        "  [Event Timing]  \n  minEventDelayMinutes \t=\t 7  \r\n"
        "[blips]\nEnableBlips = yes\n";
    EXPECT_EQ(Read(text, "Logging", "EnableDebugLogging"), "false");
    EXPECT_EQ(Read(text, "Event Timing", "MinEventDelayMinutes"), "7");
    EXPECT_EQ(Read(text, "BLIPS", "enableblips"), "yes");
    // A key under another section is not found.
    EXPECT_EQ(Read(text, "Blips", "EnableDebugLogging"), "true");
    EXPECT_EQ(Read(text, "Weather", "Sudden_Fog"), "true");
}

TEST(IniReader, MissingFileOrKeyWithoutEqualsGivesTheDefault) {
    TempWorkdir dir;
    EXPECT_EQ(ini::ReadString("Logging", "EnableDebugLogging", "true", "Tarrowind/none.ini"),
              "true");
    EXPECT_EQ(ini::ReadInt("Event Timing", "MinEventDelayMinutes", 1, "Tarrowind/none.ini"), 1);
    EXPECT_EQ(Read("[Logging]\nEnableDebugLogging\n", "Logging", "EnableDebugLogging"), "true");
    EXPECT_EQ(Read("[Logging]\nEnableDebugLogging=\n", "Logging", "EnableDebugLogging"), "");
}

TEST(IniReader, OnlyTheFirstSectionAndFirstKeyOfANameCount) {
    const std::string text = "[Blips]\nEnableBlips=first\nEnableBlips=second\n[Blips]\nOther=x\n";
    EXPECT_EQ(Read(text, "Blips", "EnableBlips"), "first");
    EXPECT_EQ(Read(text, "Blips", "Other", "dflt"), "dflt");
}

TEST(IniReader, CommentsQuotesAndByteOrderMark) {
    const std::string text =
        "\xEF\xBB\xBF[Logging]\n; EnableDebugLogging=false\nEnableDebugLogging=\"1\"\n"
        "[Blips]\nEnableBlips='yes\n";
    EXPECT_EQ(Read(text, "Logging", "EnableDebugLogging"), "1");
    EXPECT_EQ(Read(text, "Blips", "EnableBlips"), "'yes");  // unmatched quote stays
}

TEST(IniReader, ValuesAreCutTo255Characters) {
    const std::string longValue(300, 'x');
    const std::string cut = Read("[A]\nk=" + longValue + "\n", "A", "k");
    EXPECT_EQ(cut, std::string(255, 'x'));
}

TEST(IniReader, IntegersReadTheLeadingSignedNumber) {
    EXPECT_EQ(ini::ParseProfileInt("42"), 42);
    EXPECT_EQ(ini::ParseProfileInt("  -3"), -3);
    EXPECT_EQ(ini::ParseProfileInt("+5minutes"), 5);
    EXPECT_EQ(ini::ParseProfileInt("minutes"), 0);
    EXPECT_EQ(ini::ParseProfileInt("1.9"), 1);
    EXPECT_EQ(ini::ParseProfileInt("4294967297"), 1);  // wraps like the Windows reader
    EXPECT_EQ(ini::ReadIntFromText("[T]\nMin=\n", "T", "Min", 9), 9);
    EXPECT_EQ(ini::ReadIntFromText("[T]\nMin= 12 \n", "T", "Min", 9), 12);
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
