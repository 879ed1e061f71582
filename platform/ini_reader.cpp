#include "platform/ini_reader.h"

#include <cstdint>
#include <fstream>
#include <sstream>

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

// Finds the raw value of the first key named `key` in the first section named `section`.
// Returns false when there is no such key or the key line has no '='.
bool FindValue(const std::string& text, const std::string& section, const std::string& key,
               std::string* value) {
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    std::istringstream lines(text);
    std::string line;
    bool firstLine = true;
    bool inWantedSection = false;
    bool sectionSeen = false;
    while (std::getline(lines, line)) {
        if (firstLine && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            line.erase(0, 3);  // UTF-8 byte-order mark
        }
        firstLine = false;
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) {
            continue;
        }
        if (trimmed[0] == '[') {
            const size_t close = trimmed.rfind(']');
            if (close != std::string::npos) {
                if (inWantedSection) {
                    return false;  // only the first section of that name is searched
                }
                const std::string name = trimmed.substr(1, close - 1);
                inWantedSection = !sectionSeen && EqualsIgnoringCase(name, wantedSection);
                sectionSeen = sectionSeen || inWantedSection;
                continue;
            }
        }
        if (!inWantedSection) {
            continue;
        }
        const size_t equals = trimmed.find('=');
        const std::string name = Trim(trimmed.substr(0, equals));
        if (!EqualsIgnoringCase(name, wantedKey)) {
            continue;
        }
        if (equals == std::string::npos) {
            return false;
        }
        *value = Trim(trimmed.substr(equals + 1));
        return true;
    }
    return false;
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
        return CopyEntry(Trim(defaultText), bufferSize);
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
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - '0');  // wraps, as Windows
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

}  // namespace ini
