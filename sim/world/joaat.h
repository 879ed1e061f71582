// The game's identifier hash: Jenkins one-at-a-time over the lower-cased identifier.
#pragma once

#include <cstdint>
#include <string>

inline uint32_t Joaat(const std::string& identifier) {
    uint32_t hash = 0;
    for (char raw : identifier) {
        unsigned char c = static_cast<unsigned char>(raw);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c - 'A' + 'a');
        }
        hash += c;
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}
