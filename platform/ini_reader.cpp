#include "platform/ini_reader.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace ini {
namespace {

// The Windows reader counts ^Z as a blank too.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string Trim(const std::string& s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(s[end - 1])) {
        --end;
    }
    return s.substr(begin, end - begin);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// The file's lines; '\r' and '\n' each end one, as in the Windows reader.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    return lines;
}

struct Entry {
    std::string name;
    bool hasValue;  // the line has an '='
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
};

// The file as the Windows reader holds it: the sections in file order, a name written twice
// kept twice, and first a section with an empty name for the lines before any header.
std::vector<Section> ParseSections(const std::string& text) {
    std::vector<std::string> lines = SplitLines(text);
    if (!lines.empty() && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0) {
        lines[0].erase(0, 3);  // UTF-8 byte-order mark
    }
    std::vector<Section> sections(1);
    for (const std::string& line : lines) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) {
            continue;
        }
        if (trimmed[0] == '[') {
            const size_t close = trimmed.rfind(']');
            if (close != std::string::npos && close > 0) {
                sections.push_back(Section{Trim(trimmed.substr(1, close - 1)), {}});
                continue;
            }
        }
        const size_t equals = trimmed.find('=');
        Entry entry{Trim(trimmed.substr(0, equals)), equals != std::string::npos, std::string()};
        if (entry.hasValue) {
            entry.value = Trim(trimmed.substr(equals + 1));
        }
        std::vector<Entry>& entries = sections.back().entries;
        // Of several lines in a row whose key name is empty, the reader keeps the first.
        if (entry.name.empty() && !entries.empty() && entries.back().name.empty()) {
            continue;
        }
        entries.push_back(entry);
    }
    return sections;
}

// The first section named `wanted`; an empty name finds the lines before any header.
const Section* FindSection(const std::vector<Section>& sections, const std::string& wanted) {
    for (const Section& section : sections) {
        if (EqualsIgnoringCase(section.name, wanted)) {
            return &section;
        }
    }
    return nullptr;
}

// Finds the raw value of the first key named `key` in the first section named `section`.
// Returns false when there is no such key or the key line has no '='.
bool FindValue(const std::string& text, const std::string& section, const std::string& key,
               std::string* value) {
    const std::vector<Section> sections = ParseSections(text);
    const Section* found = FindSection(sections, Trim(section));  // lookups trim the name
    if (found == nullptr) {
        return false;
    }
    const std::string wantedKey = Trim(key);
    for (const Entry& entry : found->entries) {
        if (EqualsIgnoringCase(entry.name, wantedKey)) {
            *value = entry.value;
            return entry.hasValue;
        }
    }
    return false;
}

// The Windows reader drops trailing spaces from a default text, and nothing else.
std::string WithoutTrailingSpaces(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ') {
        --end;
    }
    return s.substr(0, end);
}

// Copies a value into a buffer of bufferSize characters the way the Windows reader does,
// dropping one pair of matching quotes around it.
std::string CopyEntry(const std::string& value, size_t bufferSize) {
    if (bufferSize == 0) {
        return std::string();
    }
    std::string v = value;
    bool quoted = false;
    if (v.size() > 1 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) {
        quoted = true;
        v.erase(0, 1);
    }
    std::string out = v.substr(0, bufferSize - 1);
    if (quoted && bufferSize >= v.size() && !out.empty()) {
        out.pop_back();
    }
    return out;
}

std::string ReadFile(const std::string& path, bool* found) {
    std::ifstream in(path, std::ios::binary);
    *found = static_cast<bool>(in);
    if (!*found) {
        return std::string();
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

std::string ReadStringFromText(const std::string& text, const std::string& section,
                               const std::string& key, const std::string& defaultText,
                               size_t bufferSize) {
    std::string value;
    if (!FindValue(text, section, key, &value)) {
        return CopyEntry(WithoutTrailingSpaces(defaultText), bufferSize);
    }
    return CopyEntry(value, bufferSize);
}

std::string ReadString(const std::string& section, const std::string& key,
                       const std::string& defaultText, const std::string& path, size_t bufferSize) {
    bool found = false;
    const std::string text = ReadFile(path, &found);
    return ReadStringFromText(text, section, key, defaultText, bufferSize);
}

int ParseProfileInt(const std::string& text) {
    size_t i = 0;
    // Every control character counts as a blank here.
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x", "0o" and "0b" (lower case only) choose the base, as the Windows reader's
    // conversion does.
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) {
            i += 2;
        }
    }
    uint32_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                               : c >= 'a' && c <= 'z' ? static_cast<uint32_t>(c - 'a' + 10)
                               : c >= 'A' && c <= 'Z' ? static_cast<uint32_t>(c - 'A' + 10)
                                                      : base;
        if (digit >= base) {
            break;
        }
        magnitude = magnitude * base + digit;  // wraps, as on Windows
    }
    const uint32_t bits = negative ? 0u - magnitude : magnitude;
    return static_cast<int>(bits);
}

int ReadIntFromText(const std::string& text, const std::string& section, const std::string& key,
                    int defaultValue) {
    // The Windows reader reads the value into a 30-character buffer first.
    const std::string value = ReadStringFromText(text, section, key, "", 30);
    if (value.empty()) {
        return defaultValue;
    }
    return ParseProfileInt(value);
}

int ReadInt(const std::string& section, const std::string& key, int defaultValue,
            const std::string& path) {
    bool found = false;
    const std::string text = ReadFile(path, &found);
    return ReadIntFromText(text, section, key, defaultValue);
}

std::vector<std::string> ListSectionsFromText(const std::string& text) {
    std::vector<std::string> names;
    for (const Section& section : ParseSections(text)) {
        if (!section.name.empty()) {
            names.push_back(section.name);
        }
    }
    return names;
}

std::vector<std::string> ListSections(const std::string& path) {
    bool found = false;
    return ListSectionsFromText(ReadFile(path, &found));
}

std::vector<std::string> ListSectionEntriesFromText(const std::string& text,
                                                    const std::string& section) {
    std::vector<std::string> lines;
    const std::vector<Section> sections = ParseSections(text);
    const Section* found = FindSection(sections, section);  // not trimmed, unlike lookups
    if (found == nullptr) {
        return lines;
    }
    for (const Entry& entry : found->entries) {
        if (!entry.name.empty() && entry.name[0] == ';') {
            continue;
        }
        lines.push_back(entry.hasValue ? entry.name + "=" + entry.value : entry.name);
    }
    return lines;
}

std::vector<std::string> ListSectionEntries(const std::string& section, const std::string& path) {
    bool found = false;
    return ListSectionEntriesFromText(ReadFile(path, &found), section);
}

}  // namespace ini
