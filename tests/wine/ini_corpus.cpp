// What the platform layer reads from the INI corpus, one result a line, so that the Windows
// reader's answers (under Wine) and ours can be compared. Built for both platforms.
#include "ini_corpus.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "core/config.h"
#include "core/settings_check.h"
#include "platform/platform.h"

namespace {

// Printable ASCII as it is, everything else as \xNN, so blanks and cuts show.
std::string Shown(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
        out += c >= 0x20 && c < 0x7F && c != '\\' && c != '"' ? std::string(1, c) : escaped;
    }
    return out + "\"";
}

// Reads back Shown's \xNN.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool escaped = text.compare(i, 2, "\\x") == 0;
        out += escaped ? static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)) : text[i];
        i += escaped ? 3 : 0;
    }
    return out;
}

// The answer to a lookup line: FILE string|int ["SECTION"] "KEY" (default "TEXT"|N).
std::string Answer(const std::string& line, const std::string& path) {
    std::vector<std::string> parts;
    std::istringstream quoted(line);
    for (std::string part; std::getline(quoted, part, '"');) {
        parts.push_back(Unescaped(part));
    }
    const bool integer = parts[0].find(" int [") != std::string::npos;
    if (parts.size() != (integer ? 5u : 7u)) {
        throw std::runtime_error("ini corpus: cannot read the lookup '" + line + "'");
    }
    const char *section = parts[1].c_str(), *key = parts[3].c_str(), *file = path.c_str();
    if (integer) {
        const int fallback = std::stoi(parts[4].substr(parts[4].find("default") + 7));
        return std::to_string(platform::ReadIniInt(section, key, fallback, file));
    }
    const std::string value = platform::ReadIniString(section, key, parts[5].c_str(), file);
    return Shown(value) + " (" + std::to_string(value.size()) + " characters)";
}

// The file's sections, and the lines of each and of a few that may or may not be there.
std::string Listings(const std::string& file, const std::string& path) {
    std::vector<std::string> sections = platform::ListIniSections(path.c_str());
    std::string out = file + " sections (" + std::to_string(sections.size()) + "):";
    for (const std::string& name : sections) {
        out += " [" + Shown(name) + "]";
    }
    sections.insert(sections.end(), {"", " ", "BLIPS", "No such section"});
    for (const std::string& name : sections) {
        const auto lines = platform::ListIniSectionEntries(name.c_str(), path.c_str());
        out += "\n" + file + " section [" + Shown(name) + "] (" + std::to_string(lines.size()) +
               " lines):";
        for (const std::string& entry : lines) {
            out += " " + Shown(entry);
        }
    }
    return out + "\n";
}

}  // namespace

bool DumpConfig(const std::string& label, const std::string& path, std::string& out) {
    Config = ConfigData();
    const bool loaded = LoadConfig(path);
    // Only the settings that are not at their default: a setting the corpus does not name
    // (a new encounter's switch) leaves the record as it is.
    out += label + " config";
    for (const SettingRow& row : AllSettings()) {
        const int value = row.get(Config, row.key);
        if (value != row.defaultValue) {
            out += " " + row.key + "=" + std::to_string(value);
        }
    }
    out += " SearchRadius=" + std::to_string(Config.SearchRadius) + "\n";
    for (const std::string& note : SettingsNotes(path)) {
        out += label + " note " + note + "\n";
    }
    return loaded;
}

std::string DumpIniCorpus(const std::string& data) {
    std::ifstream list(data + "/lookups.txt", std::ios::binary);
    std::vector<std::string> lookups;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line[0] != '#') {
            lookups.push_back(line);
        }
    }
    std::string out;
    for (size_t i = 0; i < lookups.size(); ++i) {
        // A name with no file in the corpus reads a missing one.
        const std::string file = lookups[i].substr(0, lookups[i].find(' '));
        const std::string path = data + "/" + file + ".ini";
        out += lookups[i] + " = " + Answer(lookups[i], path) + "\n";
        if (i + 1 == lookups.size() || lookups[i + 1].rfind(file + " ", 0) != 0) {
            out += Listings(file, path);
            DumpConfig(file, path, out);
        }
    }
    return out;
}
