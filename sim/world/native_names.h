// The plug-in's natives by name, for scenario files and command lines that name one, and the
// replay's crash line.
#pragma once

#include <cstdint>
#include <string>

#include "host/native_list.h"

// False when the plug-in calls no native of that name.
inline bool NativeHashNamed(const std::string& name, uint64_t* hash) {
#define TARROWIND_NATIVE_BY_NAME(native, nativeHash, argCount) \
    if (name == #native) {                                     \
        *hash = nativeHash;                                    \
        return true;                                           \
    }
    TARROWIND_NATIVES(TARROWIND_NATIVE_BY_NAME)
#undef TARROWIND_NATIVE_BY_NAME
    return false;
}

// The name of a native the plug-in calls; empty for any other hash.
inline std::string NativeNameOf(uint64_t hash) {
#define TARROWIND_NATIVE_NAME(native, nativeHash, argCount) \
    if (hash == nativeHash) {                               \
        return #native;                                     \
    }
    TARROWIND_NATIVES(TARROWIND_NATIVE_NAME)
#undef TARROWIND_NATIVE_NAME
    return std::string();
}
