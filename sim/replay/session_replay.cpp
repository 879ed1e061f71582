#include "sim/replay/session_replay.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "host/session_recorder.h"
#include "platform/ini_reader.h"
#include "platform/platform.h"
#include "sim/app/trace/call_trace.h"
#include "sim/world/native_names.h"

using recording::Record;

namespace {

SessionReplay* activeReplay = nullptr;

// Section and key names match without regard to case, as the INI reader's do.
std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Whether the plug-in asked the recorded kernel service with the same inputs.
bool SameInputs(const Record& recorded, const Record& asked) {
    if (recorded.kind != asked.kind) {
        return false;
    }
    switch (asked.kind) {
        case recording::kSleep:
        case recording::kWait:
            return recorded.number == asked.number;
        case recording::kLocalTime:
            return recorded.when == asked.when;
        case recording::kIniString:
            return recorded.section == asked.section && recorded.key == asked.key &&
                   recorded.defaultText == asked.defaultText && recorded.path == asked.path;
        case recording::kIniInt:
            return recorded.section == asked.section && recorded.key == asked.key &&
                   recorded.defaultValue == asked.defaultValue && recorded.path == asked.path;
        case recording::kIniSectionEntries:
            return recorded.section == asked.section && recorded.path == asked.path;
        case recording::kIniSections:
        case recording::kProbeFile:
        case recording::kFullPath:
            return recorded.path == asked.path;
        default:
            return true;
    }
}

Record Asked(recording::Kind kind) {
    Record asked;
    asked.kind = kind;
    return asked;
}

const Record* Take(const Record& asked) {
    return activeReplay->Take(
        asked.kind,
        [](const Record& recorded, const void* call) {
            return SameInputs(recorded, *static_cast<const Record*>(call));
        },
        [](const void* call) { return DescribeKernelRecord(*static_cast<const Record*>(call)); },
        &asked);
}

// --- the kernel services, answered from the recording

uint64_t ReplayTickCount() {
    const Record* r = Take(Asked(recording::kTickCount));
    return r != nullptr ? r->number : 0;
}
void ReplaySleep(uint32_t ms) {
    Record asked = Asked(recording::kSleep);
    asked.number = ms;
    if (Take(asked) != nullptr && ActiveStandInHost() != nullptr) {
        ActiveStandInHost()->SleepFromScript(ms);
    }
}
std::time_t ReplayCalendarNow() {
    const Record* r = Take(Asked(recording::kCalendarNow));
    return r != nullptr ? static_cast<std::time_t>(r->number) : 0;
}
bool ReplayToLocalTime(std::time_t when, std::tm* out) {
    Record asked = Asked(recording::kLocalTime);
    asked.when = static_cast<int64_t>(when);
    const Record* r = Take(asked);
    *out = std::tm{};
    if (r == nullptr) {
        return false;
    }
    out->tm_sec = r->tm[0];
    out->tm_min = r->tm[1];
    out->tm_hour = r->tm[2];
    out->tm_mday = r->tm[3];
    out->tm_mon = r->tm[4];
    out->tm_year = r->tm[5];
    out->tm_wday = r->tm[6];
    out->tm_yday = r->tm[7];
    out->tm_isdst = r->tm[8];
    return r->converted;
}
std::string ReplayIniString(const char* section, const char* key, const char* defaultText,
                            const char* path) {
    Record asked = Asked(recording::kIniString);
    asked.section = section;
    asked.key = key;
    asked.defaultText = defaultText;
    asked.path = path;
    const Record* r = Take(asked);
    if (r == nullptr) {
        return std::string();
    }
    const std::string* changed = activeReplay->ChangedSetting(section, key);
    return changed != nullptr ? *changed : r->answer;
}
int ReplayIniInt(const char* section, const char* key, int defaultValue, const char* path) {
    Record asked = Asked(recording::kIniInt);
    asked.section = section;
    asked.key = key;
    asked.defaultValue = defaultValue;
    asked.path = path;
    const Record* r = Take(asked);
    if (r == nullptr) {
        return 0;
    }
    const std::string* changed = activeReplay->ChangedSetting(section, key);
    return changed != nullptr ? ini::ParseProfileInt(*changed) : static_cast<int>(r->answerValue);
}
std::vector<std::string> ReplayIniSections(const char* path) {
    Record asked = Asked(recording::kIniSections);
    asked.path = path;
    const Record* r = Take(asked);
    return r != nullptr ? r->list : std::vector<std::string>();
}
std::vector<std::string> ReplayIniSectionEntries(const char* section, const char* path) {
    Record asked = Asked(recording::kIniSectionEntries);
    asked.section = section;
    asked.path = path;
    const Record* r = Take(asked);
    return r != nullptr ? r->list : std::vector<std::string>();
}
platform::FileState ReplayProbeFile(const char* path) {
    Record asked = Asked(recording::kProbeFile);
    asked.path = path;
    const Record* r = Take(asked);
    return r != nullptr ? static_cast<platform::FileState>(r->number)
                        : platform::FileState::Missing;
}
std::string ReplayFullPath(const char* path) {
    Record asked = Asked(recording::kFullPath);
    asked.path = path;
    const Record* r = Take(asked);
    return r != nullptr ? r->answer : std::string(path);
}

const platform::KernelAnswers kReplayAnswers = {
    ReplayTickCount, ReplaySleep,       ReplayCalendarNow,       ReplayToLocalTime, ReplayIniString,
    ReplayIniInt,    ReplayIniSections, ReplayIniSectionEntries, ReplayProbeFile,   ReplayFullPath};

}  // namespace

std::string DescribeKernelRecord(const Record& r) {
    switch (r.kind) {
        case recording::kWait:
            return "wait " + std::to_string(r.number);
        case recording::kTickCount:
            return "tick count";
        case recording::kSleep:
            return "sleep " + std::to_string(r.number);
        case recording::kCalendarNow:
            return "calendar time";
        case recording::kLocalTime:
            return "local time of " + std::to_string(r.when);
        case recording::kIniString:
            return "INI string [" + r.section + "] " + r.key + " (default " +
                   Quoted(r.defaultText) + ") from " + r.path;
        case recording::kIniInt:
            return "INI integer [" + r.section + "] " + r.key + " (default " +
                   std::to_string(r.defaultValue) + ") from " + r.path;
        case recording::kIniSections:
            return "INI section names of " + r.path;
        case recording::kIniSectionEntries:
            return "INI section lines of [" + r.section + "] in " + r.path;
        case recording::kProbeFile:
            return "what is at " + r.path;
        case recording::kFullPath:
            return "full path of " + r.path;
        default:
            return recording::DescribeKind(r.kind);
    }
}

SessionReplay::SessionReplay(SimRun& run, recording::RecordingReader& reader)
    : run_(run), reader_(reader) {
    activeReplay = this;
    session_record::Suppress(true);
    platform::SetKernelAnswers(&kReplayAnswers);
    run_.Host().answerNatives = [this](uint64_t hash, const NativeArgs& args,
                                       NativeResult& result) { AnswerNative(hash, args, result); };
    run_.Host().onWaitAsked = [this](uint32_t ms) { CheckWait(ms); };
}

SessionReplay::~SessionReplay() {
    run_.Host().answerNatives = nullptr;
    run_.Host().onWaitAsked = nullptr;
    platform::SetKernelAnswers(nullptr);
    session_record::Suppress(false);
    if (activeReplay == this) {
        activeReplay = nullptr;
    }
}

const Record* SessionReplay::Take(recording::Kind kind,
                                  bool (*sameCall)(const Record&, const void*),
                                  std::string (*describeAsked)(const void*), const void* call) {
    if (state_ != State::Playing) {
        run_.Host().Halt();
        return nullptr;
    }
    if (!reader_.Next(&record_)) {
        state_ = State::Ended;
        if (reader_.Ended() == recording::RecordingReader::Ending::Crashed) {
            ReachCrash(describeAsked(call));
        }
        run_.Host().Halt();
        return nullptr;
    }
    ++calls_;
    if (record_.kind != kind || !sameCall(record_, call)) {
        Differ(DescribeRecorded(record_), describeAsked(call));
        return nullptr;
    }
    return &record_;
}

std::string SessionReplay::AtNow() const {
    char at[64];
    std::snprintf(at, sizeof(at), "%.3f", static_cast<double>(run_.Host().NowMs()) / 1000.0);
    return at;
}

std::string SessionReplay::LastLogLine() const {
    return run_.Lines().empty() ? "(none)" : run_.Lines().back().line;
}

// The plug-in asks for the first call past the recording's end: the call the player's game
// never answered. When the crash came from inside a native, it is the one asked now.
void SessionReplay::ReachCrash(const std::string& asked) {
    const recording::CrashNote& crash = reader_.Crash();
    std::string where;
    if (crash.nativeHash != 0) {
        std::string name = NativeNameOf(crash.nativeHash);
        if (name.empty()) {
            char hex[24];
            std::snprintf(hex, sizeof(hex), "0x%016llX",
                          static_cast<unsigned long long>(crash.nativeHash));
            name = hex;
        }
        where = "inside the native " + name + " (the plug-in asked " + asked + ")";
    } else if (crash.inOurModule) {
        char offset[32];
        std::snprintf(offset, sizeof(offset), "0x%llX",
                      static_cast<unsigned long long>(crash.moduleOffset));
        where = std::string("in the plug-in's own code at module offset ") + offset +
                " (its next call: " + asked + ")";
    } else {
        where = "outside the plug-in's module, between calls (its next call: " + asked + ")";
    }
    crashLine_ = "the session crashed at call " + std::to_string(calls_ + 1) + ", " + AtNow() +
                 " s: " + recording::DescribeFaultCode(crash.code) + " " + where +
                 "; last log line: " + LastLogLine();
    state_ = State::Crashed;
}

void SessionReplay::Differ(const std::string& recorded, const std::string& asked) {
    difference_ = "first difference at call " + std::to_string(calls_) + ", " + AtNow() +
                  " s: recorded " + recorded + "; the plug-in asked " + asked +
                  "; last log line: " + LastLogLine();
    state_ = State::Differed;
    run_.Host().Halt();
}

std::string SessionReplay::DescribeRecorded(const Record& record) const {
    if (record.kind != recording::kNative) {
        return DescribeKernelRecord(record);
    }
    // Pointer arguments are shown by what they pointed to: point at the recorded values.
    HostCall call;
    call.hash = record.hash;
    call.argCount = static_cast<uint8_t>(record.args.size() < 13 ? record.args.size() : 13);
    int32_t cells[13] = {};
    for (size_t i = 0; i < call.argCount; ++i) {
        const recording::RecordedArg& arg = record.args[i];
        if (arg.kind == recording::kArgValue) {
            call.args[i] = arg.value;
        } else if (!arg.present) {
            call.args[i] = 0;
        } else if (arg.kind == recording::kArgString) {
            call.args[i] = reinterpret_cast<uintptr_t>(arg.text.c_str());
        } else {
            cells[i] = static_cast<int32_t>(static_cast<uint32_t>(
                arg.kind == recording::kArgCell ? arg.value : arg.slots.front()));
            call.args[i] = reinterpret_cast<uintptr_t>(&cells[i]);
        }
    }
    return DescribeCall(call, false);
}

void SessionReplay::AnswerNative(uint64_t hash, const NativeArgs& args, NativeResult& result) {
    HostCall asked;
    asked.hash = hash;
    asked.argCount = static_cast<uint8_t>(args.Count() < 13 ? args.Count() : 13);
    for (int i = 0; i < asked.argCount; ++i) {
        asked.args[i] = args.Raw(i);
    }
    const auto same = [](const Record& recorded, const void* call) {
        const NativeArgs& live = *static_cast<const NativeArgs*>(call);
        if (static_cast<int>(recorded.args.size()) != live.Count()) {
            return false;
        }
        for (size_t i = 0; i < recorded.args.size(); ++i) {
            const recording::RecordedArg& arg = recorded.args[i];
            const uint64_t slot = live.Raw(static_cast<int>(i));
            if (arg.kind == recording::kArgValue) {
                if (arg.value != slot) {
                    return false;
                }
            } else if (arg.present != (slot != 0)) {
                return false;
            } else if (arg.kind == recording::kArgString && arg.present &&
                       arg.text != live.Pointer<const char>(static_cast<int>(i))) {
                return false;
            }
        }
        return true;
    };
    // The hash through Take, then the arguments: either differing is the first difference.
    const Record* r = Take(
        recording::kNative,
        [](const Record& recorded, const void* call) {
            return recorded.hash == static_cast<const HostCall*>(call)->hash;
        },
        [](const void* call) { return DescribeCall(*static_cast<const HostCall*>(call), false); },
        &asked);
    if (r == nullptr) {
        return;
    }
    if (!same(*r, &args)) {
        Differ(DescribeRecorded(*r), DescribeCall(asked, false));
        return;
    }
    // Out-parameters get what the game left in them.
    for (size_t i = 0; i < r->args.size(); ++i) {
        const recording::RecordedArg& arg = r->args[i];
        if (arg.kind == recording::kArgCell && arg.present) {
            if (arg.cellSize == 4) {
                const uint32_t narrow = static_cast<uint32_t>(arg.value);
                std::memcpy(args.Pointer<void>(static_cast<int>(i)), &narrow, sizeof(narrow));
            } else {
                std::memcpy(args.Pointer<void>(static_cast<int>(i)), &arg.value, sizeof(arg.value));
            }
        } else if (arg.kind == recording::kArgSlotBuffer && arg.present) {
            uint64_t* slots = args.Pointer<uint64_t>(static_cast<int>(i));
            const uint64_t room = slots[0] + 1;  // never past what the plug-in offered
            for (size_t n = 0; n < arg.slots.size() && n < room; ++n) {
                slots[n] = arg.slots[n];
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        result.slots[i] = r->result[i];
    }
}

void SessionReplay::ChangeSetting(const std::string& section, const std::string& key,
                                  const std::string& value) {
    changedSettings_[Lower(section) + "\n" + Lower(key)] = value;
}

const std::string* SessionReplay::ChangedSetting(const std::string& section,
                                                 const std::string& key) const {
    if (changedSettings_.empty()) {
        return nullptr;
    }
    const auto found = changedSettings_.find(Lower(section) + "\n" + Lower(key));
    return found != changedSettings_.end() ? &found->second : nullptr;
}

void SessionReplay::CheckWait(uint32_t ms) {
    Record asked = Asked(recording::kWait);
    asked.number = ms;
    ::Take(asked);
}
