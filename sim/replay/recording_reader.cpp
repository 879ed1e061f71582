#include "sim/replay/recording_reader.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

namespace recording {

bool ReadRecordingFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return static_cast<bool>(in) || in.eof();
}

// Reads varints and strings from a payload; once anything runs past its end, every read fails.
struct Cursor {
    const std::string& bytes;
    size_t at;
    size_t end;
    bool ok = true;

    uint8_t Byte() {
        if (!ok || at >= end) {
            ok = false;
            return 0;
        }
        return static_cast<uint8_t>(bytes[at++]);
    }
    uint64_t U() {
        uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t b = Byte();
            if (!ok) {
                return 0;
            }
            value |= static_cast<uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) {
                return value;
            }
        }
        ok = false;  // longer than ten bytes
        return 0;
    }
    int64_t S() { return UnZigZag(U()); }
    std::string Text() {
        const uint64_t size = U();
        if (!ok || size > end - at) {
            ok = false;
            return std::string();
        }
        std::string text = bytes.substr(at, static_cast<size_t>(size));
        at += static_cast<size_t>(size);
        return text;
    }
    std::vector<std::string> List() {
        const uint64_t count = U();
        std::vector<std::string> items;
        for (uint64_t i = 0; ok && i < count; ++i) {
            items.push_back(Text());  // each takes a byte at least: bounded by the payload
        }
        return items;
    }
    bool Done() const { return ok && at == end; }
};

std::string DescribeKind(Kind kind) {
    switch (kind) {
        case kHeader:
            return "header";
        case kNative:
            return "native call";
        case kWait:
            return "wait";
        case kIdleRun:
            return "idle run";
        case kTickCount:
            return "tick count";
        case kSleep:
            return "sleep";
        case kCalendarNow:
            return "calendar time";
        case kLocalTime:
            return "local time";
        case kIniString:
            return "INI string";
        case kIniInt:
            return "INI integer";
        case kIniSections:
            return "INI section names";
        case kIniSectionEntries:
            return "INI section lines";
        case kClosing:
            return "closing record";
        case kProbeFile:
            return "file probe";
        case kFullPath:
            return "full path";
        case kCrashed:
            return "crashed record";
    }
    return "record of kind " + std::to_string(static_cast<int>(kind));
}

bool RecordingReader::Open(std::string bytes, std::string* error) {
    bytes_ = std::move(bytes);
    if (bytes_.size() < sizeof(kMagic) || std::memcmp(bytes_.data(), kMagic, sizeof(kMagic)) != 0) {
        *error = "not a Tarrowind session recording";
        return false;
    }
    Cursor in{bytes_, sizeof(kMagic), bytes_.size()};
    const uint64_t version = in.U();
    if (!in.ok) {
        *error = "a Tarrowind session recording cut short before its format version";
        return false;
    }
    if (version < kOldestFormatVersion || version > kFormatVersion) {
        *error = "a session recording of format version " + std::to_string(version) +
                 "; this simulator reads versions " + std::to_string(kOldestFormatVersion) +
                 " to " + std::to_string(kFormatVersion);
        return false;
    }
    const size_t headerAt = in.at;
    const uint8_t kind = in.Byte();
    const uint64_t size = in.U();
    if (!in.ok || size > bytes_.size() - in.at) {
        *error = "a session recording cut short in its header";
        return false;
    }
    Cursor header{bytes_, in.at, in.at + static_cast<size_t>(size)};
    versionLine_ = header.Text();
    settings_ = header.Text();
    if (kind != kHeader || !header.Done()) {
        *error =
            "a session recording whose header at byte " + std::to_string(headerAt) + " is damaged";
        return false;
    }
    next_ = header.end;
    version_ = version;
    return true;
}

void RecordingReader::Damage(size_t at, const std::string& what) {
    ending_ = Ending::Damaged;
    problem_ = "damaged at byte " + std::to_string(at) + ": " + what;
}

bool RecordingReader::Next(Record* out) {
    for (;;) {
        if (ending_ != Ending::NotYet) {
            return false;
        }
        if (runFramesLeft_ > 0) {
            return ExpandIdleFrame(out);
        }
        if (!ReadRecord(out)) {
            return false;
        }
        if (out->kind == kIdleRun) {
            continue;  // its frames come on the next turn
        }
        if (out->kind == kWait) {
            frame_.push_back(*out);
            previousFrame_.swap(frame_);
            frame_.clear();
        } else if (out->kind != kClosing) {
            frame_.push_back(*out);
        }
        return true;
    }
}

bool RecordingReader::ExpandIdleFrame(Record* out) {
    *out = previousFrame_[runPlace_];
    out->offset = runOffset_;
    if (out->kind == kTickCount) {
        int64_t delta = 0;
        if (runMode_ == kSamePattern) {
            delta = runPattern_[static_cast<size_t>(runTickInFrame_)];
        } else {
            Cursor in{bytes_, runDeltaAt_, runDeltaEnd_};
            delta = in.S();
            if (!in.ok) {
                Damage(runOffset_, "an idle run has fewer tick counts than frames");
                return false;
            }
            runDeltaAt_ = in.at;
        }
        ++runTickInFrame_;
        lastTick_ += static_cast<uint64_t>(delta);
        out->number = lastTick_;
    }
    if (++runPlace_ == previousFrame_.size()) {
        runPlace_ = 0;
        runTickInFrame_ = 0;
        --runFramesLeft_;
        ++repeatedFrames_;
    }
    return true;
}

bool RecordingReader::ReadRecord(Record* out) {
    const size_t at = next_;
    if (at >= bytes_.size()) {
        ending_ = Ending::Cut;
        problem_ = "ends after its last whole record, at byte " + std::to_string(at) +
                   ", without its closing record";
        return false;
    }
    Cursor head{bytes_, at, bytes_.size()};
    const uint8_t kind = head.Byte();
    const uint64_t size = head.U();
    if (!head.ok || size > bytes_.size() - head.at) {
        ending_ = Ending::Cut;
        problem_ = "cut in the middle of a record at byte " + std::to_string(at) + " of " +
                   std::to_string(bytes_.size()) + ", without its closing record";
        return false;
    }
    Cursor in{bytes_, head.at, head.at + static_cast<size_t>(size)};
    *out = Record();
    out->kind = static_cast<Kind>(kind);
    out->offset = at;
    switch (kind) {
        case kNative:
            if (!ReadNative(in, out)) {
                Damage(at, "a native call that cannot be read");
                return false;
            }
            break;
        case kWait:
        case kSleep:
            out->number = in.U();
            break;
        case kTickCount:
            lastTick_ += static_cast<uint64_t>(in.S());
            out->number = lastTick_;
            break;
        case kCalendarNow:
            lastCalendar_ += in.S();
            out->number = static_cast<uint64_t>(lastCalendar_);
            break;
        case kLocalTime:
            out->when = lastCalendar_ + in.S();
            out->converted = in.Byte() != 0;
            for (int& field : out->tm) {
                field = static_cast<int>(in.S());
            }
            break;
        case kIniString:
            out->section = in.Text();
            out->key = in.Text();
            out->defaultText = in.Text();
            out->path = in.Text();
            out->answer = in.Text();
            break;
        case kIniInt:
            out->section = in.Text();
            out->key = in.Text();
            out->defaultValue = in.S();
            out->path = in.Text();
            out->answerValue = in.S();
            break;
        case kIniSections:
            out->path = in.Text();
            out->list = in.List();
            break;
        case kIniSectionEntries:
            out->section = in.Text();
            out->path = in.Text();
            out->list = in.List();
            break;
        case kProbeFile:
            out->path = in.Text();
            out->number = in.Byte();
            if (out->number > 2) {
                in.ok = false;
            }
            break;
        case kFullPath:
            out->path = in.Text();
            out->answer = in.Text();
            break;
        case kClosing:
            closingReason_ = in.Byte();
            out->number = closingReason_;
            break;
        case kCrashed:
            if (version_ < 2) {
                Damage(at, "a crashed record in a recording of format version 1");
                return false;
            }
            crash_.code = static_cast<uint32_t>(in.U());
            crash_.nativeHash = in.U();
            {
                const uint8_t where = in.Byte();  // 1: in our module, 0: not
                crash_.inOurModule = where == 1;
                crash_.moduleOffset = crash_.inOurModule ? in.U() : 0;
                in.ok = in.ok && where <= 1;
            }
            break;
        case kIdleRun: {
            const uint64_t frames = in.U();
            const uint64_t ticksPerFrame = in.U();
            const uint8_t mode = in.Byte();
            size_t ticksInFrame = 0;
            for (const Record& r : previousFrame_) {
                ticksInFrame += r.kind == kTickCount ? 1 : 0;
            }
            if (!in.ok || previousFrame_.empty() || ticksPerFrame != ticksInFrame ||
                (mode != kSamePattern && mode != kEveryDelta)) {
                Damage(at, "an idle run that repeats no frame written before it");
                return false;
            }
            runPattern_.clear();
            if (mode == kSamePattern) {
                for (uint64_t i = 0; i < ticksPerFrame; ++i) {
                    runPattern_.push_back(in.S());
                }
                if (!in.Done()) {
                    Damage(at, "an idle run that cannot be read");
                    return false;
                }
            } else {
                runDeltaAt_ = in.at;
                runDeltaEnd_ = in.end;
                in.at = in.end;
            }
            runMode_ = mode;
            runFramesLeft_ = frames;
            runPlace_ = 0;
            runTickInFrame_ = 0;
            runTicksPerFrame_ = static_cast<int>(ticksPerFrame);
            runOffset_ = at;
            break;
        }
        default:
            Damage(at, "a record of unknown kind " + std::to_string(kind));
            return false;
    }
    if (!in.Done()) {
        Damage(at, "a " + DescribeKind(out->kind) + " record that cannot be read");
        return false;
    }
    next_ = in.end;
    if (kind == kClosing) {
        ending_ = Ending::Closed;
        return false;
    }
    if (kind == kCrashed) {
        ending_ = Ending::Crashed;
        return false;
    }
    return true;
}

bool RecordingReader::ReadNative(Cursor& in, Record* out) {
    const uint64_t index = in.U();
    if (!in.ok || index > natives_.size()) {
        return false;
    }
    if (index == natives_.size()) {
        Declared declared;
        declared.hash = in.U();
        const uint64_t argCount = in.U();
        const uint64_t resultCount = in.U();
        if (!in.ok || argCount > 32 || (resultCount != 0 && resultCount != 1 && resultCount != 3)) {
            return false;
        }
        declared.resultCount = static_cast<int>(resultCount);
        for (uint64_t i = 0; i < argCount; ++i) {
            const uint8_t kind = in.Byte();
            uint8_t cellSize = 0;
            if (kind == kArgCell) {
                cellSize = in.Byte();
                if (cellSize != 4 && cellSize != 8) {
                    return false;
                }
            } else if (kind != kArgValue && kind != kArgString && kind != kArgSlotBuffer) {
                return false;
            }
            declared.kinds.emplace_back(kind, cellSize);
        }
        if (!in.ok) {
            return false;
        }
        natives_.push_back(std::move(declared));
    }
    const Declared& native = natives_[static_cast<size_t>(index)];
    out->hash = native.hash;
    out->resultCount = native.resultCount;
    for (const auto& kind : native.kinds) {
        RecordedArg arg;
        arg.kind = kind.first;
        arg.cellSize = kind.second;
        if (arg.kind == kArgValue) {
            arg.value = in.U();
        } else {
            arg.present = in.Byte() != 0;
            if (arg.present) {
                if (arg.kind == kArgString) {
                    arg.text = in.Text();
                } else if (arg.kind == kArgCell) {
                    arg.value = in.U();
                } else {
                    const uint64_t used = in.U();
                    uint64_t slot = in.U();
                    if (used == 0 || used > in.end - in.at + 1) {
                        return false;
                    }
                    arg.slots.push_back(slot);
                    for (uint64_t n = 1; n < used && in.ok; ++n) {
                        slot += static_cast<uint64_t>(in.S());
                        arg.slots.push_back(slot);
                    }
                }
            }
        }
        out->args.push_back(std::move(arg));
    }
    for (int i = 0; i < native.resultCount; ++i) {
        out->result[i] = in.U();
    }
    return in.ok;
}

std::string DescribeFaultCode(uint32_t code) {
    const char* name = "fatal fault";
    switch (code) {
        case 0xC0000005u:
            name = "access violation";
            break;
        case 0xC000001Du:
            name = "illegal instruction";
            break;
        case 0xC00000FDu:
            name = "stack overflow";
            break;
        case 0xC0000094u:
            name = "integer division by zero";
            break;
        case 0xC0000096u:
            name = "privileged instruction";
            break;
        case 0xC0000006u:
            name = "in-page error";
            break;
        default:
            break;
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<unsigned>(code));
    return std::string(name) + " (" + hex + ")";
}

}  // namespace recording
