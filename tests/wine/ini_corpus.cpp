// The corpus of awkward INI files, and what the platform layer reads from each: one result per
// line, so the Windows reader's answers (under Wine) and ours can be compared line by line.
// Built for both platforms from this one source.
#include "ini_corpus.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/settings_check.h"
#include "platform/platform.h"

namespace {

void Appendf(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        const size_t start = out.size();
        out.resize(start + static_cast<size_t>(length) + 1);
        std::vsnprintf(&out[start], static_cast<size_t>(length) + 1, format, again);
        out.resize(start + static_cast<size_t>(length));
    }
    va_end(again);
}

struct Lookup {
    bool integer;
    const char* section;
    const char* key;
    const char* defaultText;  // string lookups
    int defaultNumber;        // integer lookups
};

struct CorpusFile {
    std::string name;
    std::string text;
    std::vector<Lookup> lookups;
};

Lookup Str(const char* section, const char* key, const char* defaultText = "true") {
    return Lookup{false, section, key, defaultText, 0};
}

Lookup Int(const char* section, const char* key, int defaultNumber = 1) {
    return Lookup{true, section, key, "", defaultNumber};
}

std::string DefaultFile(const std::string& eol) {
    const char* const lines[] = {
        "[Logging]",
        "EnableDebugLogging=true",
        "[Blips]",
        "EnableBlips=true",
        "[Event Timing]",
        "MinEventDelayMinutes=1",
        "MaxEventDelayMinutes=2",
        "[ExcludedPeds]",
        "ExcludeShopkeepers=true",
        "ExcludeWomen=true",
        "[Encounters]",
        "Event1_Aggressor=true",
        "Event2_Aggressor_Player=true",
        "Event3_Animal_Predator=true",
        "Event4_Wagon_Robbery=true",
        "Event5_Mugging=true",
        "Event6_Horse_Bucking=true",
        "[Weather]",
        "Sudden_Thunderstorm=true",
        "Sudden_Hurricane=true",
        "Sudden_Fog=true",
        "[Weather Timing]",
        "Weather_MinEventDelayMinutes=1",
        "Weather_MaxEventDelayMinutes=2",
    };
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += eol;
    }
    return text;
}

// Every key the plug-in reads, as it reads them.
std::vector<Lookup> ConfigLookups() {
    return {Str("Logging", "EnableDebugLogging"),
            Str("Blips", "EnableBlips"),
            Int("Event Timing", "MinEventDelayMinutes", 1),
            Int("Event Timing", "MaxEventDelayMinutes", 2),
            Str("ExcludedPeds", "ExcludeShopkeepers"),
            Str("ExcludedPeds", "ExcludeWomen"),
            Str("Encounters", "Event1_Aggressor"),
            Str("Encounters", "Event6_Horse_Bucking"),
            Str("Weather", "Sudden_Fog"),
            Int("Weather Timing", "Weather_MinEventDelayMinutes", 1),
            Int("Weather Timing", "Weather_MaxEventDelayMinutes", 2)};
}

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

std::vector<CorpusFile> Corpus() {
    std::vector<CorpusFile> corpus;
    corpus.push_back({"defaults_lf", DefaultFile("\n"), ConfigLookups()});
    corpus.push_back({"defaults_crlf", DefaultFile("\r\n"), ConfigLookups()});
    corpus.push_back({"bom",
                      "\xEF\xBB\xBF[Logging]\r\nEnableDebugLogging=false\r\n",
                      {Str("Logging", "EnableDebugLogging")}});
    corpus.push_back({"bom_then_key",
                      "\xEF\xBB\xBF"
                      "EnableDebugLogging=false\n[Logging]\n",
                      {Str("Logging", "EnableDebugLogging"), Str("", "EnableDebugLogging")}});
    corpus.push_back({"empty", "", ConfigLookups()});
    corpus.push_back(
        {"only_blank_lines", "\n\n  \r\n\t\n", {Str("Logging", "EnableDebugLogging")}});

    corpus.push_back(
        {"blanks_and_tabs",
         "  [Logging]  \n\t EnableDebugLogging \t=\t no \t\n[ Blips ]\nEnableBlips=false\n"
         "[Event Timing]\n   MinEventDelayMinutes   =   4   \n\tMaxEventDelayMinutes\t=\t9\t\n"
         "[Encounters]\nEvent1_Aggressor =\nEvent2_Aggressor_Player= \t \n",
         {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
          Str(" Blips ", "EnableBlips"), Int("Event Timing", "MinEventDelayMinutes"),
          Int("Event Timing", "MaxEventDelayMinutes", 2), Str("Encounters", "Event1_Aggressor"),
          Str("Encounters", "Event2_Aggressor_Player"), Int("Encounters", "Event1_Aggressor", 7),
          Str("  Logging  ", "  EnableDebugLogging  ")}});

    corpus.push_back(
        {"quotes",
         "[Q]\nDouble=\"yes\"\nSingle='1'\nMismatched=\"true'\nEmptyQuotes=\"\"\n"
         "OneQuote=\"\nPadded = \" true \" \nInner=tr\"ue\nOnlyOpen=\"true\nOnlyClose=true\"\n"
         "Nested=\"'true'\"\nNumber=\"42\"\nNegative='-7'\n",
         {Str("Q", "Double"), Str("Q", "Single"), Str("Q", "Mismatched"), Str("Q", "EmptyQuotes"),
          Str("Q", "OneQuote"), Str("Q", "Padded"), Str("Q", "Inner"), Str("Q", "OnlyOpen"),
          Str("Q", "OnlyClose"), Str("Q", "Nested"), Int("Q", "Number"), Int("Q", "Negative"),
          Int("Q", "EmptyQuotes", 5), Str("Q", "Missing", "\"quoted default\""),
          Str("Q", "Missing", "  spaced default  "), Str("Q", "Missing", "tab default\t"),
          Str("Q", "Missing", "'")}});

    corpus.push_back(
        {"comments",
         "; settings\n# also a comment\n[Logging] ; the log\n;EnableDebugLogging=false\n"
         "EnableDebugLogging=true ; keep it on\n[Blips]\n#EnableBlips=false\nEnableBlips=1\n"
         "[Event Timing]\nMinEventDelayMinutes=3 ; minutes\nMaxEventDelayMinutes=8;\n",
         {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
          Str("Logging", ";EnableDebugLogging"), Int("Event Timing", "MinEventDelayMinutes"),
          Int("Event Timing", "MaxEventDelayMinutes", 2), Str("", "; settings")}});

    corpus.push_back(
        {"duplicates",
         "[Logging]\nEnableDebugLogging=yes\nEnableDebugLogging=false\n[Blips]\nEnableBlips=1\n"
         "[Logging]\nEnableDebugLogging=0\n[Event Timing]\nMinEventDelayMinutes=3\n"
         "[Event Timing]\nMaxEventDelayMinutes=9\n",
         {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
          Int("Event Timing", "MinEventDelayMinutes"),
          Int("Event Timing", "MaxEventDelayMinutes", 2)}});

    corpus.push_back({"missing_and_misplaced",
                      "EnableDebugLogging=false\n[Encounters]\nExcludeWomen=false\n[Blips]\n"
                      "[Event Timing]\n[Logging\nEnableDebugLogging=false\n[]\nEnableBlips=false\n",
                      {Str("Logging", "EnableDebugLogging"), Str("ExcludedPeds", "ExcludeWomen"),
                       Str("Encounters", "ExcludeWomen"), Str("Blips", "EnableBlips"),
                       Str("Event Timing", "EnableDebugLogging"), Str("Event Timing", "[Logging"),
                       Str("", "EnableBlips"), Int("Event Timing", "MinEventDelayMinutes", 1)}});

    corpus.push_back(
        {"wrong_case",
         "[LOGGING]\nenabledebuglogging=True\n[blips]\nENABLEBLIPS=YES\n[event timing]\n"
         "minEVENTdelayMINUTES=6\n[Weather]\nSudden_Fog=TRUE\n",
         {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
          Int("Event Timing", "MinEventDelayMinutes"), Str("weather", "sudden_fog")}});

    corpus.push_back(
        {"long_values",
         "[Long]\nV254=" + Repeat('a', 254) + "\nV255=" + Repeat('b', 255) +
             "\nV256=" + Repeat('c', 256) + "\nV300=" + Repeat('d', 300) + "\nQ254=\"" +
             Repeat('e', 254) + "\"\nQ255=\"" + Repeat('f', 255) + "\"\nQ256=\"" +
             Repeat('g', 256) + "\"\n" + "Num28=" + Repeat('1', 28) + "\nNum29=" + Repeat('2', 29) +
             "\nNum30=" + Repeat('3', 30) + "\nNum40=" + Repeat('9', 40) + "\nPadded29=" +
             Repeat(' ', 10) + "12" + Repeat('0', 27) + "\n" + Repeat('k', 300) + "=long key\n",
         {Str("Long", "V254"), Str("Long", "V255"), Str("Long", "V256"), Str("Long", "V300"),
          Str("Long", "Q254"), Str("Long", "Q255"), Str("Long", "Q256"), Int("Long", "Num28"),
          Int("Long", "Num29"), Int("Long", "Num30"), Int("Long", "Num40"), Int("Long", "Padded29"),
          Str("Long", "Missing", "")}});

    corpus.push_back(
        {"integers",
         "[I]\nPlus=+5\nMinus=-3\nSpaced= 7 \nTrailingJunk=12abc\nJunk=abc\nEmpty=\n"
         "Hex=0x1F\nHexUpper=0X1F\nBinary=0b101\nOctal=0o17\nLeadingZero=007\n"
         "Exponent=1e3\nDecimal=3.9\nSpaceAfterSign=- 5\nTwoSigns=+-5\n"
         "Max=2147483647\nOverMax=2147483648\nMin=-2147483648\nUnderMin=-2147483649\n"
         "FourG=4294967296\nHuge=99999999999\nTab=\t8\t\nZero=0\nMinusZero=-0\n"
         "Fullwidth=\xEF\xBC\x95\nSignOnly=-\nHexJunk=0xZZ\nHexDigits=0xff\nHexOnly=0x\n"
         "MinusHex=-0x10\nControl=\x01 12\n",
         {Int("I", "Plus"),         Int("I", "Minus"),          Int("I", "Spaced"),
          Int("I", "TrailingJunk"), Int("I", "Junk"),           Int("I", "Empty", 9),
          Int("I", "Hex"),          Int("I", "HexUpper"),       Int("I", "Binary"),
          Int("I", "Octal"),        Int("I", "LeadingZero"),    Int("I", "Exponent"),
          Int("I", "Decimal"),      Int("I", "SpaceAfterSign"), Int("I", "TwoSigns"),
          Int("I", "Max"),          Int("I", "OverMax"),        Int("I", "Min"),
          Int("I", "UnderMin"),     Int("I", "FourG"),          Int("I", "Huge"),
          Int("I", "Tab"),          Int("I", "Zero"),           Int("I", "MinusZero"),
          Int("I", "SignOnly"),     Int("I", "HexJunk"),        Int("I", "HexDigits"),
          Int("I", "HexOnly"),      Int("I", "MinusHex"),       Int("I", "Control"),
          Int("I", "Missing", -4)}});

    corpus.push_back({"no_equals_and_empty_keys",
                      "[Logging]\nEnableDebugLogging\nEnableDebugLogging=false\n=orphan\n  = \n"
                      "[Blips]\nEnableBlips = = yes\nEnableBlips2==\n",
                      {Str("Logging", "EnableDebugLogging"), Str("Logging", ""),
                       Str("Blips", "EnableBlips"), Str("Blips", "EnableBlips2")}});

    corpus.push_back({"line_endings",
                      "[Logging]\rEnableDebugLogging=false\r[Blips]\r\nEnableBlips=false\n\r"
                      "[Event Timing]\r\n\r\nMinEventDelayMinutes=4\r\r\nMaxEventDelayMinutes=6",
                      {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
                       Int("Event Timing", "MinEventDelayMinutes"),
                       Int("Event Timing", "MaxEventDelayMinutes", 2)}});

    corpus.push_back(
        {"odd_characters",
         "[Logging]\nEnableDebugLogging=\x1atrue\x1a\n[Blips]\nEnableBlips=\vtrue\f\n"
         "[Names]\nCaf\xC3\xA9=ol\xC3\xA9\nSpace Inside=a  b\nEquals=a=b\n",
         {Str("Logging", "EnableDebugLogging"), Str("Blips", "EnableBlips"),
          Str("Names", "Caf\xC3\xA9"), Str("Names", "Space Inside"), Str("Names", "Equals")}});

    // For the listings: repeated and empty headers, comment and bare lines, keys with empty
    // names in a row, keys before any header, and more than one buffer's worth of names.
    std::string manySections = "Orphan=before any header\n; comment before any header\n";
    for (int i = 0; i < 400; ++i) {
        manySections += "[Section number " + std::to_string(i) + "]\nKey=" + Repeat('v', 20) + "\n";
    }
    corpus.push_back(
        {"listings",
         "Loose=1\n[Blips]\n; a comment\n# another\nEnableBlips=false\nBareWord\n=a\n=b\n"
         "  =  c  \nEnableBlips=true\n[ ]\nHidden=1\n[]\nAlsoHidden=1\n[blips]\nSecond=1\n"
         "[Logging]\n\n\nEnableDebugLogging = \"True\" \n[Blips]\nThird=1\n[Semi;colon]\nk=v\n",
         {Str("Blips", "BareWord"), Str("", "Loose"), Str(" ", "Hidden")}});
    corpus.push_back({"many_sections", manySections, {Str("Section number 399", "Key")}});
    corpus.push_back({"long_lines",
                      "[" + Repeat('S', 300) + "]\n" + Repeat('k', 5000) + "=" +
                          Repeat('v', 20000) + "\n[Blips]\nEnableBlips=" + Repeat('x', 70000) +
                          "\nAfter=1\n",
                      {Str("Blips", "After")}});
    return corpus;
}

// Printable ASCII as it is, everything else as \xNN, so blanks and cuts show.
std::string Shown(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            out += escaped;
        }
    }
    return out + "\"";
}

void PrintLookup(std::string& out, const std::string& file, const std::string& path,
                 const Lookup& lookup) {
    if (lookup.integer) {
        const int value =
            platform::ReadIniInt(lookup.section, lookup.key, lookup.defaultNumber, path.c_str());
        Appendf(out, "%s int [%s] %s (default %d) = %d\n", file.c_str(),
                Shown(lookup.section).c_str(), Shown(lookup.key).c_str(), lookup.defaultNumber,
                value);
    } else {
        const std::string value =
            platform::ReadIniString(lookup.section, lookup.key, lookup.defaultText, path.c_str());
        Appendf(out, "%s string [%s] %s (default %s) = %s (%zu characters)\n", file.c_str(),
                Shown(lookup.section).c_str(), Shown(lookup.key).c_str(),
                Shown(lookup.defaultText).c_str(), Shown(value).c_str(), value.size());
    }
}

void PrintListings(std::string& out, const std::string& file, const std::string& path) {
    const std::vector<std::string> sections = platform::ListIniSections(path.c_str());
    Appendf(out, "%s sections (%zu):", file.c_str(), sections.size());
    for (const std::string& name : sections) {
        Appendf(out, " [%s]", Shown(name).c_str());
    }
    Appendf(out, "\n");
    std::vector<std::string> asked = sections;
    asked.insert(asked.end(), {"", " ", "BLIPS", "No such section"});
    for (const std::string& name : asked) {
        const std::vector<std::string> entries =
            platform::ListIniSectionEntries(name.c_str(), path.c_str());
        Appendf(out, "%s section [%s] (%zu lines):", file.c_str(), Shown(name).c_str(),
                entries.size());
        for (const std::string& entry : entries) {
            Appendf(out, " %s", Shown(entry).c_str());
        }
        Appendf(out, "\n");
    }
}

void PrintConfig(std::string& out, const std::string& label) {
    const ConfigData& c = Config;
    Appendf(out,
            "%s config EnableDebugLogging=%d EnableBlips=%d MinEventDelayMinutes=%d "
            "MaxEventDelayMinutes=%d ExcludeShopkeepers=%d ExcludeWomen=%d "
            "Event1_Aggressor=%d Event2_Aggressor_Player=%d Event3_Animal_Predator=%d "
            "Event4_Wagon_Robbery=%d Event5_Mugging=%d Event6_Horse_Bucking=%d "
            "Sudden_Thunderstorm=%d Sudden_Hurricane=%d Sudden_Fog=%d "
            "Weather_MinEventDelayMinutes=%d Weather_MaxEventDelayMinutes=%d "
            "SearchRadius=%d\n",
            label.c_str(), c.EnableDebugLogging, c.EnableBlips, c.MinEventDelayMinutes,
            c.MaxEventDelayMinutes, c.ExcludeShopkeepers, c.ExcludeWomen, c.Event1_Aggressor,
            c.Event2_Aggressor_Player, c.Event3_Animal_Predator, c.Event4_Wagon_Robbery,
            c.Event5_Mugging, c.Event6_Horse_Bucking, c.Sudden_Thunderstorm, c.Sudden_Hurricane,
            c.Sudden_Fog, c.Weather_MinEventDelayMinutes, c.Weather_MaxEventDelayMinutes,
            c.SearchRadius);
}

}  // namespace

// Loads the file as the plug-in does and prints every setting, then the settings check's
// notes on the file (none for the shipped one).
bool DumpConfig(const std::string& label, const std::string& path, std::string& out) {
    Config = ConfigData();
    const bool loaded = LoadConfig(path);
    PrintConfig(out, label);
    for (const std::string& note : SettingsNotes(path)) {
        Appendf(out, "%s note %s\n", label.c_str(), note.c_str());
    }
    return loaded;
}

std::string DumpIniCorpus() {
    std::vector<CorpusFile> corpus = Corpus();
    corpus.push_back({"no_such_file", "", ConfigLookups()});
    std::string out;
    for (const CorpusFile& file : corpus) {
        // Relative with a folder, as the plug-in names its file.
        const std::string path = "Tarrowind/" + file.name + ".ini";
        if (file.name != "no_such_file") {
            std::ofstream(path, std::ios::binary) << file.text;
        }
        for (const Lookup& lookup : file.lookups) {
            PrintLookup(out, file.name, path, lookup);
        }
        PrintListings(out, file.name, path);
        DumpConfig(file.name, path, out);
    }
    return out;
}
