// The generic native call: nativeInit, one nativePush64 per argument, nativeCall, then the
// result slots read as the requested type.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/game_types.h"
#include "host/native_tap.h"
#include "host/recording_format.h"
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

template <typename R>
constexpr int kResultSlots = std::is_void_v<R>            ? 0
                             : std::is_same_v<R, Vector3> ? 3
                                                          : 1;

// An argument as a session recording keeps it: values as pushed, pointers by what they point
// to (read after the call), never by address.
template <typename T>
inline session_record::ArgNote NoteArg(T value) {
    return {recording::kArgValue, 0, EncodeArg(value), nullptr};
}
inline session_record::ArgNote NoteArg(const char* text) {
    return {recording::kArgString, 0, 0, text};
}
// A slot buffer: slot 0 says how many slots follow (the nearby-ped scan).
inline session_record::ArgNote NoteArg(uint64_t* slots) {
    return {recording::kArgSlotBuffer, 0, slots != nullptr ? slots[0] : 0, slots};
}
// A handle or hash given by address, which the call may change.
template <typename T>
inline session_record::ArgNote NoteArg(T* cell) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 8, "a cell is a 32- or 64-bit value");
    return {recording::kArgCell, static_cast<uint8_t>(sizeof(T)), 0, cell};
}

// Calls the native Id with the given arguments; the argument count is checked against the
// catalogue when the program is compiled.
template <typename Id, typename R, typename... Args>
R Invoke(Args... args) {
    static_assert(sizeof...(Args) == Id::kArgs, "argument count differs from the catalogue");
    nativeInit(Id::kHash);
    (nativePush64(EncodeArg(args)), ...);
    if (!session_record::Active()) {
        return ResultReader<R>::Read(nativeCall());
    }
    const session_record::ArgNote notes[sizeof...(Args) + 1] = {NoteArg(args)...,
                                                                session_record::ArgNote{}};
    session_record::g_nativeInFlight = Id::kHash;
    const uint64_t* slots = nativeCall();
    session_record::g_nativeInFlight = 0;
    session_record::g_onNative(Id::kHash, notes, sizeof...(Args), slots, kResultSlots<R>);
    return ResultReader<R>::Read(slots);
}

}  // namespace native
