// Writes what the release says of its settings, from the settings table and the encounters'
// definitions, at build time:
//   tarrowind-settings-text INI TABLE   the shipped Tarrowind.ini, and the table of settings
//                                       that the player's README shows (packaging/README.txt.in)
//   tarrowind-settings-text --keys      every key, one a line, in the order of the file
//   tarrowind-settings-text --encounters  each encounter's name and INI key, a line each
// Lines end with LF; the packaging gives the files Windows line endings.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/settings_table.h"
#include "encounters/encounter_catalogue.h"

namespace {

const char* const kIniHeader =
    "; Tarrowind settings. Read once when the game loads the plug-in; restart the game to apply.\n"
    "; Switches: true, 1 or yes (lower case) turn a setting on; anything else (True, on, 0) turns\n"
    "; it off; a missing key counts as on. Delays are whole minutes.\n";

std::string ShippedIni() {
    std::ostringstream ini;
    ini << kIniHeader;
    std::string section;
    for (const SettingRow& row : AllSettings()) {
        if (section != row.section) {
            section = row.section;
            ini << "\n[" << section << "]\n";
        }
        std::istringstream comment(row.iniComment +
                                   " Default: " + SettingValueText(row, row.defaultValue) + ".");
        for (std::string line; std::getline(comment, line);) {
            ini << "; " << line << "\n";
        }
        ini << row.key << "=" << SettingValueText(row, row.defaultValue) << "\n";
    }
    return ini.str();
}

std::string Padded(const std::string& text, size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

// Section, key, what it does and its default, in columns two spaces wider than the widest.
std::string ReadmeTable() {
    size_t sectionWidth = 0;
    size_t keyWidth = 0;
    size_t lineWidth = 0;
    for (const SettingRow& row : AllSettings()) {
        sectionWidth = std::max(sectionWidth, std::string(row.section).size() + 2);
        keyWidth = std::max(keyWidth, row.key.size());
        lineWidth = std::max(lineWidth, row.readmeLine.size());
    }
    std::ostringstream table;
    std::string section;
    for (const SettingRow& row : AllSettings()) {
        const bool first = section != row.section;
        section = row.section;
        table << "  " << Padded(first ? "[" + section + "]" : "", sectionWidth + 1)
              << Padded(row.key, keyWidth + 2) << Padded(row.readmeLine, lineWidth + 2)
              << SettingValueText(row, row.defaultValue) << "\n";
    }
    return table.str();
}

bool WriteFile(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "tarrowind-settings-text: cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--keys") {
        for (const SettingRow& row : AllSettings()) {
            std::cout << row.key << "\n";
        }
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--encounters") {
        for (const CataloguedEncounter& encounter : EncounterCatalogue()) {
            std::cout << encounter.name << " " << encounter.definition->iniKey << "\n";
        }
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarrowind-settings-text INI TABLE | --keys | --encounters\n");
        return 2;
    }
    return WriteFile(argv[1], ShippedIni()) && WriteFile(argv[2], ReadmeTable()) ? 0 : 1;
}
