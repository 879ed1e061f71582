#include "host/session_recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "core/build_version.h"
#include "core/config.h"
#include "core/logger.h"
#include "core/settings_table.h"
#include "host/recording_format.h"
#include "platform/fatal_faults.h"
#include "platform/os_services.h"
#include "platform/platform.h"

namespace session_record {

namespace {

using Bytes = std::vector<uint8_t>;

enum class State { Off, Undecided, Recording };

// More tick reads than this in one frame and the frame is written whole, never counted idle.
constexpr int kMaxTicksPerFrame = 16;
// An idle run's tick deltas are written out before they grow past this.
constexpr size_t kRunTicksLimit = 60000;
// Idle frames are counted for at most this long of play before they are written.
constexpr uint64_t kIdleWriteEveryMs = 1000;
// The nearby-ped buffer's first slot says how many follow; more than this is not believed.
constexpr uint64_t kMaxBufferSlots = 4096;
// Sessions started within one second get _2 to _99 after the time in their names.
constexpr int kMostRecordingsASecond = 99;

State state = State::Off;
bool suppressed = false;
uint64_t capBytes = recording::kCapBytes;
std::string path;

Bytes record;  // the record being built
Bytes frame;   // this frame's records
Bytes shape;   // the same with tick answers left out: what an idle frame repeats
Bytes previousShape;
bool havePreviousShape = false;
int64_t frameTicks[kMaxTicksPerFrame] = {};
int frameTickCount = 0;
bool frameTooManyTicks = false;

uint64_t runFrames = 0;  // idle frames counted, not yet written
int runTicksPerFrame = 0;
int64_t runPattern[kMaxTicksPerFrame] = {};
bool runSamePattern = true;
Bytes runTicks;

// A native's index in the file is its place here; the signature packs its argument kinds.
struct DeclaredNative {
    uint64_t hash;
    uint64_t signature;
};
constexpr size_t kMaxSignedArgs = 19;
std::vector<DeclaredNative> nativesSeen;

Bytes out;  // whole records waiting for the frame's write
uint64_t written = 0;
uint64_t lastTick = 0;
uint64_t lastWriteTick = 0;
int64_t lastCalendar = 0;

void PutU(Bytes& to, uint64_t v) {
    while (v >= 0x80) {
        to.push_back(static_cast<uint8_t>(v | 0x80));
        v >>= 7;
    }
    to.push_back(static_cast<uint8_t>(v));
}
void PutS(Bytes& to, int64_t v) {
    PutU(to, recording::ZigZag(v));
}
void PutText(Bytes& to, const char* text, size_t size) {
    PutU(to, size);
    to.insert(to.end(), text, text + size);
}
void PutText(Bytes& to, const char* text) {
    PutText(to, text, std::strlen(text));
}
void PutText(Bytes& to, const std::string& text) {
    PutText(to, text.data(), text.size());
}

// A few bytes built where nothing may be allocated: the fault handler, an idle run's head.
struct Scratch {
    uint8_t bytes[256];
    size_t size = 0;

    void U(uint64_t v) {
        while (v >= 0x80) {
            bytes[size++] = static_cast<uint8_t>(v | 0x80);
            v >>= 7;
        }
        bytes[size++] = static_cast<uint8_t>(v);
    }
    void S(int64_t v) { U(recording::ZigZag(v)); }
    void Byte(uint8_t b) { bytes[size++] = b; }
};

void AppendRecord(Bytes& to, uint8_t kind, const Bytes& payload) {
    to.push_back(kind);
    PutU(to, payload.size());
    to.insert(to.end(), payload.begin(), payload.end());
}

// Ends the record being built: into the frame, and into its shape.
void EndRecord(uint8_t kind) {
    AppendRecord(frame, kind, record);
    AppendRecord(shape, kind, record);
    record.clear();
}

void ReleaseBuffers() {
    for (Bytes* buffer : {&record, &frame, &shape, &previousShape, &runTicks, &out}) {
        Bytes().swap(*buffer);
    }
}

void StopWatching() {
    g_active = false;
    platform::SetKernelTap(nullptr);
    platform::StopWatchingFatalFaults();
    state = State::Off;
    ReleaseBuffers();
}

// The idle run's payload up to its deltas: frames, tick reads per frame, mode and, in the same
// pattern mode, the one pattern. In every-delta mode runTicks follows.
Scratch RunHead() {
    Scratch head;
    head.U(runFrames);
    head.U(static_cast<uint64_t>(runTicksPerFrame));
    head.Byte(runSamePattern ? recording::kSamePattern : recording::kEveryDelta);
    if (runSamePattern) {
        for (int i = 0; i < runTicksPerFrame; ++i) {
            head.S(runPattern[i]);
        }
    }
    return head;
}

// The kind and payload length that open a record.
Scratch RecordOpening(uint8_t kind, size_t payloadSize) {
    Scratch opening;
    opening.Byte(kind);
    opening.U(payloadSize);
    return opening;
}

void FlushRun() {
    if (runFrames == 0) {
        return;
    }
    const Scratch head = RunHead();
    const size_t tail = runSamePattern ? 0 : runTicks.size();
    const Scratch opening = RecordOpening(recording::kIdleRun, head.size + tail);
    out.insert(out.end(), opening.bytes, opening.bytes + opening.size);
    out.insert(out.end(), head.bytes, head.bytes + head.size);
    out.insert(out.end(), runTicks.begin(), runTicks.begin() + static_cast<std::ptrdiff_t>(tail));
    runFrames = 0;
    runTicks.clear();
}

void CountIdleFrame() {
    if (runFrames == 0) {
        runTicksPerFrame = frameTickCount;
        runSamePattern = true;
        std::memcpy(runPattern, frameTicks, sizeof(frameTicks));
    } else {
        runSamePattern = runSamePattern &&
                         std::memcmp(runPattern, frameTicks,
                                     sizeof(int64_t) * static_cast<size_t>(frameTickCount)) == 0;
    }
    for (int i = 0; i < frameTickCount; ++i) {
        PutS(runTicks, frameTicks[i]);
    }
    ++runFrames;
}

// One open, one append and one close: nothing of the recording is held while the game runs.
void WriteOut() {
    if (out.empty()) {
        return;
    }
    const std::string& where = path;  // kept when recording stops
    bool capReached = false;
    if (written + out.size() > capBytes) {
        out.clear();
        record.assign(1, recording::kCapReached);
        AppendRecord(out, recording::kClosing, record);
        record.clear();
        capReached = true;
    }
    const platform::FileHandle file = platform::OpenFileForAppend(where.c_str());
    if (file == platform::kNoFile) {
        StopWatching();
        LogError("Cannot open the session recording " + where +
                 "; the game goes on without recording");
        return;
    }
    const bool ok =
        platform::AppendToFile(file, reinterpret_cast<const char*>(out.data()), out.size());
    platform::CloseFile(file);
    written += out.size();
    out.clear();
    if (!ok) {
        StopWatching();
        LogError("Cannot write the session recording " + where + "; recording stopped");
    } else if (capReached) {
        StopWatching();
        Log(LogLevel::Info, "Session recording reached its size limit of " +
                                std::to_string(capBytes) + " bytes and stopped: " + where);
    }
}

bool AppendAll(platform::FileHandle file, const uint8_t* bytes, size_t size) {
    return size == 0 || platform::AppendToFile(file, reinterpret_cast<const char*>(bytes), size);
}

// In the fault handler: what the recording holds but has not written (the records waiting,
// the idle frames counted, the frame so far), then the crashed record, straight from the
// buffers as they stand. Nothing is allocated or freed, no native is called, nothing logged.
void WriteCrash(const platform::FatalFault& fault) {
    if (state != State::Recording) {
        return;
    }
    g_active = false;  // the process is going: nothing more is recorded, whatever comes
    platform::SetKernelTap(nullptr);
    state = State::Off;
    const platform::FileHandle file = platform::OpenFileForAppend(path.c_str());
    if (file == platform::kNoFile) {
        return;
    }
    bool ok = AppendAll(file, out.data(), out.size());
    if (runFrames > 0) {
        const Scratch head = RunHead();
        const size_t tail = runSamePattern ? 0 : runTicks.size();
        const Scratch opening = RecordOpening(recording::kIdleRun, head.size + tail);
        ok = ok && AppendAll(file, opening.bytes, opening.size) &&
             AppendAll(file, head.bytes, head.size) && AppendAll(file, runTicks.data(), tail);
    }
    ok = ok && AppendAll(file, frame.data(), frame.size());
    Scratch crashed;
    crashed.U(fault.code);
    crashed.U(g_nativeInFlight);
    crashed.Byte(fault.inOurModule ? 1 : 0);
    if (fault.inOurModule) {
        crashed.U(fault.moduleOffset);
    }
    const Scratch opening = RecordOpening(recording::kCrashed, crashed.size);
    ok = ok && AppendAll(file, opening.bytes, opening.size) &&
         AppendAll(file, crashed.bytes, crashed.size);
    platform::CloseFile(file);
}

// --- the kernel services' answers

void NoteTick(uint64_t answer) {
    const int64_t delta = static_cast<int64_t>(answer - lastTick);
    lastTick = answer;
    PutS(record, delta);
    AppendRecord(frame, recording::kTickCount, record);
    shape.push_back(recording::kTickCount);
    record.clear();
    if (frameTickCount < kMaxTicksPerFrame) {
        frameTicks[frameTickCount++] = delta;
    } else {
        frameTooManyTicks = true;
    }
}
void NoteSleep(uint32_t ms) {
    PutU(record, ms);
    EndRecord(recording::kSleep);
}
void NoteCalendar(std::time_t answer) {
    PutS(record, static_cast<int64_t>(answer) - lastCalendar);
    lastCalendar = static_cast<int64_t>(answer);
    EndRecord(recording::kCalendarNow);
}
void NoteLocalTime(std::time_t when, bool converted, const std::tm& t) {
    PutS(record, static_cast<int64_t>(when) - lastCalendar);
    record.push_back(converted ? 1 : 0);
    for (int field : {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday,
                      t.tm_yday, t.tm_isdst}) {
        PutS(record, field);
    }
    EndRecord(recording::kLocalTime);
}
void NoteIniString(const char* section, const char* key, const char* defaultText, const char* file,
                   const std::string& answer) {
    PutText(record, section);
    PutText(record, key);
    PutText(record, defaultText);
    PutText(record, file);
    PutText(record, answer);
    EndRecord(recording::kIniString);
}
void NoteIniInt(const char* section, const char* key, int defaultValue, const char* file,
                int answer) {
    PutText(record, section);
    PutText(record, key);
    PutS(record, defaultValue);
    PutText(record, file);
    PutS(record, answer);
    EndRecord(recording::kIniInt);
}
void PutList(const std::vector<std::string>& items) {
    PutU(record, items.size());
    for (const std::string& item : items) {
        PutText(record, item);
    }
}
void NoteIniSections(const char* file, const std::vector<std::string>& answer) {
    PutText(record, file);
    PutList(answer);
    EndRecord(recording::kIniSections);
}
void NoteIniSectionEntries(const char* section, const char* file,
                           const std::vector<std::string>& answer) {
    PutText(record, section);
    PutText(record, file);
    PutList(answer);
    EndRecord(recording::kIniSectionEntries);
}
void NoteProbeFile(const char* file, platform::FileState answer) {
    PutText(record, file);
    record.push_back(static_cast<uint8_t>(answer));
    EndRecord(recording::kProbeFile);
}
void NoteFullPath(const char* file, const std::string& answer) {
    PutText(record, file);
    PutText(record, answer);
    EndRecord(recording::kFullPath);
}

const platform::KernelTap kTap = {
    NoteTick,   NoteSleep,       NoteCalendar,          NoteLocalTime, NoteIniString,
    NoteIniInt, NoteIniSections, NoteIniSectionEntries, NoteProbeFile, NoteFullPath};

std::string SettingsAsRead() {
    std::string text;
    for (const SettingRow& row : AllSettings()) {
        text += std::string(row.section) + "." + row.key + "=" +
                SettingValueText(row, row.get(Config, row.key)) + "\n";
    }
    return text;
}

// Named after the local time the settings were read, read past the recording's own taps: the
// first of Tarrowind_<stamp>.rec, then _2 to _99, that is not there yet. Empty when all are:
// an existing file is never written into.
std::string NewRecordingPath() {
    std::tm local{};
    char stamp[32] = "unknown";
    if (platform::os::ToLocalTime(platform::os::CalendarNow(), &local)) {
        std::strftime(stamp, sizeof(stamp), "%Y-%m-%d_%H%M%S", &local);
    }
    const std::string base = std::string("Tarrowind/logs/Tarrowind_") + stamp;
    for (int n = 1; n <= kMostRecordingsASecond; ++n) {
        const std::string candidate =
            n == 1 ? base + ".rec" : base + "_" + std::to_string(n) + ".rec";
        if (platform::os::ProbeFile(candidate.c_str()) == platform::FileState::Missing) {
            return candidate;
        }
    }
    return std::string();
}

}  // namespace

void NoteNative(uint64_t hash, const ArgNote* args, size_t count, const uint64_t* resultSlots,
                int resultSlotCount) {
    // A hash takes ten bytes and a native's argument kinds never change: the first call of each
    // declares them, later calls name its index in the file.
    uint64_t signature = static_cast<uint64_t>(resultSlotCount) | (count << 2);
    for (size_t i = 0; i < count && i < kMaxSignedArgs; ++i) {
        const uint64_t code = args[i].kind == recording::kArgCell && args[i].cellSize == 8
                                  ? 7u
                                  : static_cast<uint64_t>(args[i].kind);
        signature |= code << (7 + 3 * i);
    }
    size_t index = 0;
    while (index < nativesSeen.size() &&
           (nativesSeen[index].hash != hash || nativesSeen[index].signature != signature ||
            count > kMaxSignedArgs)) {
        ++index;
    }
    PutU(record, index);
    if (index == nativesSeen.size()) {
        nativesSeen.push_back(DeclaredNative{hash, signature});
        PutU(record, hash);
        PutU(record, count);
        PutU(record, static_cast<uint64_t>(resultSlotCount));
        for (size_t i = 0; i < count; ++i) {
            record.push_back(args[i].kind);
            if (args[i].kind == recording::kArgCell) {
                record.push_back(args[i].cellSize);
            }
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const ArgNote& arg = args[i];
        if (arg.kind == recording::kArgValue) {
            PutU(record, arg.value);
            continue;
        }
        record.push_back(arg.pointer != nullptr ? 1 : 0);
        if (arg.pointer == nullptr) {
            continue;
        }
        switch (arg.kind) {
            case recording::kArgString:
                PutText(record, static_cast<const char*>(arg.pointer));
                break;
            case recording::kArgCell: {
                uint64_t value = 0;
                if (arg.cellSize == 4) {
                    uint32_t narrow = 0;
                    std::memcpy(&narrow, arg.pointer, sizeof(narrow));
                    value = narrow;
                } else {
                    std::memcpy(&value, arg.pointer, sizeof(value));
                }
                PutU(record, value);
                break;
            }
            case recording::kArgSlotBuffer: {
                // arg.value: the slots offered, as slot 0 said before the call. The call
                // fills slots 1 to the count it returns; the rest hold whatever they held.
                const uint64_t* slots = static_cast<const uint64_t*>(arg.pointer);
                const uint64_t offered = arg.value < kMaxBufferSlots ? arg.value : kMaxBufferSlots;
                const int32_t filled =
                    resultSlotCount > 0
                        ? static_cast<int32_t>(static_cast<uint32_t>(resultSlots[0]))
                        : 0;
                const uint64_t used =
                    1 + (filled <= 0 ? 0 : std::min(static_cast<uint64_t>(filled), offered));
                // Handles found together lie close together: each slot after the first is
                // written as its difference from the one before.
                PutU(record, used);
                PutU(record, slots[0]);
                for (uint64_t n = 1; n < used; ++n) {
                    PutS(record, static_cast<int64_t>(slots[n] - slots[n - 1]));
                }
                break;
            }
            default:
                break;
        }
    }
    for (int i = 0; i < resultSlotCount; ++i) {
        PutU(record, resultSlots[i]);
    }
    EndRecord(recording::kNative);
}

void NoteWait(uint32_t ms) {
    if (!g_active) {
        return;
    }
    PutU(record, ms);
    EndRecord(recording::kWait);
    if (state == State::Undecided) {
        out.insert(out.end(), frame.begin(), frame.end());
    } else if (havePreviousShape && !frameTooManyTicks && shape == previousShape) {
        CountIdleFrame();
    } else {
        FlushRun();
        out.insert(out.end(), frame.begin(), frame.end());
        previousShape.swap(shape);
        havePreviousShape = true;
    }
    frame.clear();
    shape.clear();
    frameTickCount = 0;
    frameTooManyTicks = false;
    if (state != State::Recording) {
        return;
    }
    const bool idleDue = runFrames > 0 && (lastTick - lastWriteTick >= kIdleWriteEveryMs ||
                                           runTicks.size() >= kRunTicksLimit);
    if (!out.empty() || idleDue) {
        FlushRun();
        WriteOut();
        lastWriteTick = lastTick;
    }
}

void Begin() {
    if (suppressed) {
        return;
    }
    ReleaseBuffers();
    state = State::Undecided;
    written = 0;
    lastTick = 0;
    lastWriteTick = 0;
    lastCalendar = 0;
    havePreviousShape = false;
    runFrames = 0;
    frameTickCount = 0;
    frameTooManyTicks = false;
    path.clear();
    // Grown once here, so that an idle frame never allocates.
    for (Bytes* buffer : {&record, &frame, &shape, &previousShape, &out}) {
        buffer->reserve(64 * 1024);
    }
    runTicks.reserve(kRunTicksLimit + 1024);
    nativesSeen.clear();
    nativesSeen.reserve(1024);
    g_onNative = NoteNative;
    g_onWait = NoteWait;
    g_active = true;
    platform::SetKernelTap(&kTap);
}

void Decide(bool wanted) {
    if (state != State::Undecided) {
        return;
    }
    if (!wanted) {
        StopWatching();
        return;
    }
    path = NewRecordingPath();
    if (path.empty()) {
        StopWatching();
        LogError("Tarrowind/logs already holds " + std::to_string(kMostRecordingsASecond) +
                 " session recordings of this second; the game goes on without recording");
        return;
    }
    state = State::Recording;
    Bytes head(recording::kMagic, recording::kMagic + sizeof(recording::kMagic));
    PutU(head, recording::kFormatVersion);
    PutText(record, std::string("Tarrowind ") + TarrowindVersion());
    PutText(record, SettingsAsRead());
    AppendRecord(head, recording::kHeader, record);
    record.clear();
    out.insert(out.begin(), head.begin(), head.end());
    lastWriteTick = lastTick;
    // A crash from here on still writes what was recorded up to it.
    platform::WatchFatalFaults(WriteCrash);
}

void Close() {
    if (state == State::Recording) {
        FlushRun();
        out.insert(out.end(), frame.begin(), frame.end());
        record.assign(1, recording::kUnloaded);
        AppendRecord(out, recording::kClosing, record);
        record.clear();
        WriteOut();
    }
    if (state != State::Off) {
        StopWatching();
    }
    // Also after a crash the process lived through (an exception some code handled).
    platform::StopWatchingFatalFaults();
}

void Reset() {
    StopWatching();
    capBytes = recording::kCapBytes;
    path.clear();
}

void Suppress(bool on) {
    suppressed = on;
}

void SetCapBytes(uint64_t bytes) {
    capBytes = bytes;
}

const std::string& FilePath() {
    return path;
}

}  // namespace session_record
