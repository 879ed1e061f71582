// The session recording's file format (docs/recording.md): shared by the plug-in's recorder
// and the simulator's reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace recording {

constexpr char kMagic[8] = {'T', 'W', 'R', 'E', 'C', 'R', 'D', '\n'};
// 2: the crashed record. A reader of version 2 reads version 1 files too.
constexpr uint64_t kFormatVersion = 2;
constexpr uint64_t kOldestFormatVersion = 1;
constexpr uint64_t kCapBytes = 200ull * 1024 * 1024;

enum Kind : uint8_t {
    kHeader = 0x01,
    kNative = 0x02,
    kWait = 0x03,
    kIdleRun = 0x04,
    kTickCount = 0x05,
    kSleep = 0x06,
    kCalendarNow = 0x07,
    kLocalTime = 0x08,
    kIniString = 0x09,
    kIniInt = 0x0A,
    kIniSections = 0x0B,
    kIniSectionEntries = 0x0C,
    kClosing = 0x0D,
    kProbeFile = 0x0E,
    kFullPath = 0x0F,
    kCrashed = 0x10,
};

enum ArgKind : uint8_t {
    kArgValue = 0,
    kArgString = 1,
    kArgCell = 2,
    kArgSlotBuffer = 4,
};

enum ClosingReason : uint8_t { kUnloaded = 0, kCapReached = 1 };

// Idle run tick modes: one pattern for every frame, or every delta written.
enum IdleTicks : uint8_t { kSamePattern = 0, kEveryDelta = 1 };

inline uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
inline int64_t UnZigZag(uint64_t v) {
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

}  // namespace recording
