// The generic native call: nativeInit, one nativePush64 per argument, nativeCall, then the
// result slots read as the requested type.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/game_types.h"
#include "host/script_hook.h"

namespace native {

// Integers, BOOLs, hashes and handles go out in the low 32 bits of a zeroed slot, never
// sign-extended: -1 is 0x00000000FFFFFFFF.
inline uint64_t EncodeArg(int32_t v) {
    return static_cast<uint64_t>(static_cast<uint32_t>(v));
}
inline uint64_t EncodeArg(uint32_t v) {
    return static_cast<uint64_t>(v);
}
inline uint64_t EncodeArg(bool v) {
    return v ? 1u : 0u;
}
inline uint64_t EncodeArg(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof(bits));
    return static_cast<uint64_t>(bits);
}
// Strings and out-parameters go out as their address.
template <typename T>
inline uint64_t EncodeArg(T* address) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(address));
}

template <typename R>
struct ResultReader;

template <>
struct ResultReader<void> {
    static void Read(const uint64_t*) {}
};
template <>
struct ResultReader<int32_t> {
    static int32_t Read(const uint64_t* slots) {
        return static_cast<int32_t>(static_cast<uint32_t>(slots[0]));
    }
};
template <>
struct ResultReader<uint32_t> {
    static uint32_t Read(const uint64_t* slots) { return static_cast<uint32_t>(slots[0]); }
};
template <>
struct ResultReader<bool> {
    static bool Read(const uint64_t* slots) { return static_cast<uint32_t>(slots[0]) != 0; }
};
template <>
struct ResultReader<float> {
    static float Read(const uint64_t* slots) {
        const uint32_t bits = static_cast<uint32_t>(slots[0]);
        float value = 0;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
};
template <>
struct ResultReader<Vector3> {
    // x, y and z each sit in their own slot; copy all three before the next call.
    static Vector3 Read(const uint64_t* slots) {
        Vector3 v{};
        v.x = ResultReader<float>::Read(slots + 0);
        v.y = ResultReader<float>::Read(slots + 1);
        v.z = ResultReader<float>::Read(slots + 2);
        return v;
    }
};

// Calls the native Id with the given arguments; the argument count is checked against the
// catalogue when the program is compiled.
template <typename Id, typename R, typename... Args>
R Invoke(Args... args) {
    static_assert(sizeof...(Args) == Id::kArgs, "argument count differs from the catalogue");
    nativeInit(Id::kHash);
    (nativePush64(EncodeArg(args)), ...);
    return ResultReader<R>::Read(nativeCall());
}

}  // namespace native
