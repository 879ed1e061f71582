// Calling natives of the stand-in host straight from a test, as the plug-in would, and a few
// positions to build worlds around.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "sim/host/stand_in_host.h"
#include "sim/world/world.h"

namespace native {
constexpr uint64_t kGetEntityCoords = 0xA86D5F069399F44DULL;
constexpr uint64_t kNearbyPeds = 0x23F8F5FC7E8C4A6BULL;
constexpr uint64_t kHashKey = 0xFD340785ADF8CFB7ULL;
constexpr uint64_t kNoLongerNeeded = 0x4971D2F8162B9674ULL;
constexpr uint64_t kSetMissionEntity = 0xDC19C288082E586EULL;
constexpr uint64_t kKeepTask = 0x971D38760FBC02EFULL;
constexpr uint64_t kCombat = 0xF166E48407BAC484ULL;
constexpr uint64_t kAnimalCharge = 0xEE3AA414CF99F368ULL;
constexpr uint64_t kFlee = 0xFD45175A6DFD7CE9ULL;
constexpr uint64_t kRob = 0x7BB967F85D8CCBDBULL;
constexpr uint64_t kTaskStatus = 0x77F1BEB8863288D5ULL;
constexpr uint64_t kEnterVehicle = 0xC20E50AA46D09CA8ULL;
constexpr uint64_t kDriveWander = 0x480142959D337D00ULL;
constexpr uint64_t kThrowRider = 0xBAE08F00021BFFB2ULL;
constexpr uint64_t kRequestModel = 0xFA28FE3A6246FC30ULL;
constexpr uint64_t kModelLoaded = 0x1283B8B89DD5D1B6ULL;
constexpr uint64_t kCreatePed = 0xD49F9B0955C367DEULL;
constexpr uint64_t kIsHuman = 0xB980061DA992779DULL;
constexpr uint64_t kGroupOf = 0x7DBDD04862D95F04ULL;
constexpr uint64_t kIsMissionEntity = 0x138190F64DB4BBD1ULL;
constexpr uint64_t kExists = 0xD42BD6EB2E0F1677ULL;
constexpr uint64_t kMissionFlag = 0xB15CD1CF58771DE1ULL;
constexpr uint64_t kClockHours = 0xC82CF208C2B19199ULL;
constexpr uint64_t kBlipAdd = 0x23F74C2FDA6E7C61ULL;
constexpr uint64_t kClearBlip = 0x01B928CA2E198B01ULL;
constexpr uint64_t kRemoveBlip = 0xF2C3C9DA47AAA54AULL;
constexpr uint64_t kFiringTests[6] = {0x5B235F24472F2C3BULL, 0xBFCA7AFABF9D7967ULL,
                                      0x495A04CAEC263AF8ULL, 0x95CA12E2C68043E5ULL,
                                      0x80BB243789008A82ULL, 0xABC18A28BAD4B46FULL};
}  // namespace native

inline uint64_t FloatArg(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

inline uint64_t HandleArg(int32_t handle) {
    return static_cast<uint32_t>(handle);
}

inline uint64_t PointerArg(const void* pointer) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

inline float FloatResult(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// One native call in the strict order of the call contract; returns the result slots.
inline const uint64_t* CallNative(StandInHost& host, uint64_t hash,
                                  std::initializer_list<uint64_t> args) {
    host.NativeInit(hash);
    for (uint64_t arg : args) {
        host.NativePush(arg);
    }
    return host.NativeCall();
}

inline int32_t CallInt(StandInHost& host, uint64_t hash, std::initializer_list<uint64_t> args) {
    return static_cast<int32_t>(static_cast<uint32_t>(CallNative(host, hash, args)[0]));
}
