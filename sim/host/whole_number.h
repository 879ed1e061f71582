// Reading a whole number from a command-line argument, shared by the simulator and the
// Windows launcher.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

// True when the whole text is a non-negative decimal number that fits 64 bits.
inline bool ParseWholeNumber(const std::string& text, uint64_t* value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') {
        return false;
    }
    *value = parsed;
    return true;
}
