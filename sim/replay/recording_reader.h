// Reads a session recording (docs/recording.md) record by record, idle runs expanded into the
// frames they stand for. Any bytes at all give either records or one clear error, never a
// crash: a file cut at any byte reads up to its last whole record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/recording_format.h"

namespace recording {

// The file's bytes whole; false when it cannot be read.
bool ReadRecordingFile(const std::string& path, std::string* bytes);

struct RecordedArg {
    uint8_t kind = kArgValue;
    uint8_t cellSize = 0;
    bool present = true;          // false: a null pointer
    uint64_t value = 0;           // a value argument, or what a cell held after the call
    std::string text;             // a string argument
    std::vector<uint64_t> slots;  // a slot buffer as the call left it, slot 0 first
};

struct Record {
    Kind kind = kWait;
    size_t offset = 0;  // where it was written in the file (an idle run's, for its frames)
    // kNative
    uint64_t hash = 0;
    std::vector<RecordedArg> args;
    int resultCount = 0;
    uint64_t result[3] = {0, 0, 0};
    // kWait, kSleep: milliseconds; kTickCount, kCalendarNow: the answer; kClosing: the reason;
    // kProbeFile: the state
    uint64_t number = 0;
    // kLocalTime
    int64_t when = 0;
    bool converted = false;
    int tm[9] = {};
    // kIniString, kIniInt, kIniSections, kIniSectionEntries, kProbeFile, kFullPath
    std::string section, key, defaultText, path, answer;
    int64_t defaultValue = 0;
    int64_t answerValue = 0;
    std::vector<std::string> list;
};

// What a crashed record says: the fault, the native it came from, or the place in the
// plug-in's own module.
struct CrashNote {
    uint32_t code = 0;        // the Windows exception code (a POSIX signal's counterpart)
    uint64_t nativeHash = 0;  // the native being called, 0 for none
    bool inOurModule = false;
    uint64_t moduleOffset = 0;
};

// "access violation (0xC0000005)" and the like.
std::string DescribeFaultCode(uint32_t code);

class RecordingReader {
  public:
    enum class Ending { NotYet, Closed, Crashed, Cut, Damaged };

    // Takes the file's bytes and reads its start. False, with a one-line reason, for anything
    // that is not a recording of this format version.
    bool Open(std::string bytes, std::string* error);

    const std::string& VersionLine() const { return versionLine_; }
    const std::string& Settings() const { return settings_; }

    // The next record; false when there is none, and Ended() says why.
    bool Next(Record* out);
    Ending Ended() const { return ending_; }
    // For a cut or damaged file: what was wrong and where.
    const std::string& Problem() const { return problem_; }
    // Bytes of whole records read so far.
    size_t BytesRead() const { return next_; }
    size_t Size() const { return bytes_.size(); }
    uint64_t ClosingReason() const { return closingReason_; }
    // When Ended() is Crashed.
    const CrashNote& Crash() const { return crash_; }
    // Frames given so far that the file holds only as counted in an idle run.
    uint64_t RepeatedFrames() const { return repeatedFrames_; }

  private:
    bool ReadRecord(Record* out);
    bool ReadNative(struct Cursor& in, Record* out);
    bool ExpandIdleFrame(Record* out);
    void Damage(size_t at, const std::string& what);

    struct Declared {
        uint64_t hash;
        int resultCount;
        std::vector<std::pair<uint8_t, uint8_t>> kinds;  // kind, cell size
    };

    std::string bytes_;
    size_t next_ = 0;
    std::string versionLine_;
    std::string settings_;
    Ending ending_ = Ending::NotYet;
    std::string problem_;
    uint64_t closingReason_ = 0;
    uint64_t version_ = kFormatVersion;
    CrashNote crash_;
    std::vector<Declared> natives_;
    uint64_t lastTick_ = 0;
    int64_t lastCalendar_ = 0;
    // The frame being read, and the last frame written whole: what an idle run repeats.
    std::vector<Record> frame_;
    std::vector<Record> previousFrame_;
    // An idle run being played out.
    uint64_t runFramesLeft_ = 0;
    size_t runPlace_ = 0;  // next record of previousFrame_ to give
    int runTicksPerFrame_ = 0;
    uint8_t runMode_ = kSamePattern;
    std::vector<int64_t> runPattern_;
    size_t runDeltaAt_ = 0;  // next delta in bytes_ (every-delta mode)
    size_t runDeltaEnd_ = 0;
    int runTickInFrame_ = 0;
    size_t runOffset_ = 0;
    uint64_t repeatedFrames_ = 0;
};

// "ends after N bytes of M" text, for messages.
std::string DescribeKind(Kind kind);

}  // namespace recording
