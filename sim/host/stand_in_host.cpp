#include "sim/host/stand_in_host.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include "sim/world/sim_calendar.h"
#include "sim/world/world.h"

#ifndef _WIN32
#include "platform/platform.h"
#endif

namespace {

StandInHost* activeHost = nullptr;

std::string Hex(uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

#ifndef _WIN32
// The plug-in's tick count, sleep and calendar read the active host's virtual clock.
uint64_t VirtualTickCount() {
    return activeHost != nullptr ? activeHost->TickCount() : 0;
}
void VirtualSleep(uint32_t ms) {
    if (activeHost != nullptr) {
        activeHost->SleepFromScript(ms);
    }
}
std::time_t VirtualCalendarNow() {
    return activeHost != nullptr ? activeHost->CalendarNow() : 0;
}
const platform::ClockSource kVirtualClock = {VirtualTickCount, VirtualSleep, VirtualCalendarNow,
                                             SimulatedLocalTime};
#endif

}  // namespace

StandInHost* ActiveStandInHost() {
    return activeHost;
}

StandInHost::StandInHost(World& world, HostOptions options) : world_(world), options_(options) {
    RegisterWorldNatives(natives_);
    activeHost = this;
#ifndef _WIN32
    platform::SetClockSource(&kVirtualClock);
#endif
}

StandInHost::~StandInHost() {
    if (activeHost == this) {
        activeHost = nullptr;
#ifndef _WIN32
        platform::SetClockSource(nullptr);
#endif
    }
}

void StandInHost::Violation(const std::string& what) {
    std::fprintf(stderr, "stand-in host: call contract broken at %llu ms: %s\n",
                 static_cast<unsigned long long>(nowMs_), what.c_str());
    violations_.push_back(what);
    stopped_ = true;
    if (fiber_ && fiber_->Running()) {
        fiber_->Yield();  // never resumed: the run has stopped
    }
}

void StandInHost::Halt() {
    stopped_ = true;
    if (fiber_ && fiber_->Running()) {
        fiber_->Yield();  // never resumed: the run has stopped
    }
}

void StandInHost::Stop(const std::string& reason) {
    (void)reason;
    stopped_ = true;
}

void StandInHost::OverrideNative(uint64_t hash, NativeHandler handler) {
    const NativeHandlerEntry* existing = natives_.Find(hash);
    natives_.Add(hash, existing != nullptr ? existing->name : Hex(hash),
                 existing != nullptr ? existing->argCount : 0, handler);
}

// ---------------------------------------------------------------- hook operations

void StandInHost::RegisterScript(void* module, void (*entry)()) {
    module_ = module;
    entry_ = entry;
    fiber_.reset();
    wakeAtMs_ = nowMs_;
}

void StandInHost::UnregisterScript(void* module) {
    if (module != module_) {
        Violation("scriptUnregister with a module that registered nothing");
        return;
    }
    // The hook stops running the script; its fiber is abandoned where it stands.
    entry_ = nullptr;
    module_ = nullptr;
    fiber_.reset();
}

void StandInHost::EndFrameSegment(uint32_t waitMs) {
    if (nativesInFrame_ > stats_.maxNativesInOneFrame) {
        stats_.maxNativesInOneFrame = nativesInFrame_;
    }
    if (waitMs == 0 && previousWaitMs_ == 0) {
        ++stats_.idleFrameNatives[nativesInFrame_];
    }
    if (onFrameEnd) {
        onFrameEnd(nativesInFrame_, waitMs);
    }
    previousWaitMs_ = waitMs;
    nativesInFrame_ = 0;
}

void StandInHost::Record(const HostCall& call) {
    if (onCall) {
        onCall(call);
    }
    if (options_.recordCalls) {
        calls_.push_back(call);
    }
}

void StandInHost::Wait(uint32_t ms) {
    if (!fiber_ || !fiber_->Running()) {
        Violation("scriptWait called outside the script fiber");
        return;
    }
    if (onWaitAsked) {
        onWaitAsked(ms);
    }
    if (callOpen_) {
        Violation("scriptWait while the native call " + Hex(callHash_) + " is open");
        callOpen_ = false;
    }
    if (checkAtWait) {
        const std::string held = checkAtWait();
        if (!held.empty()) {
            Violation("scriptWait " + held);
            return;
        }
    }
    ++stats_.waits;
    if (options_.recordCalls || onCall) {
        HostCall call;
        call.kind = HostCall::kWait;
        call.waitMs = ms;
        call.atMs = nowMs_;
        Record(call);
    }
    EndFrameSegment(ms);
    wakeAtMs_ = nowMs_ + ms;
    fiber_->Yield();
}

void StandInHost::NativeInit(uint64_t hash) {
    if (options_.timeNatives) {
        callStart_ = std::chrono::steady_clock::now();
    }
    if (callOpen_) {
        Violation("nativeInit(" + Hex(hash) + ") while the native call " + Hex(callHash_) +
                  " is open");
    }
    callOpen_ = true;
    callHash_ = hash;
    callArgCount_ = 0;
}

void StandInHost::NativePush(uint64_t value) {
    if (!callOpen_) {
        Violation("nativePush64 with no native call open");
        return;
    }
    if (callArgCount_ >= static_cast<int>(sizeof(callArgs_) / sizeof(callArgs_[0]))) {
        Violation("too many arguments pushed for " + Hex(callHash_));
        return;
    }
    callArgs_[callArgCount_++] = value;
}

namespace {

// What a native given a bad handle does to the game: a write to an address nothing is mapped
// at, from inside the native. Out of line, so the fault's address is this host's, not the
// plug-in's.
[[gnu::noinline]] void FaultInsideNative() {
    volatile int* volatile nowhere = reinterpret_cast<volatile int*>(uintptr_t{16});
    *nowhere = 1;
}

}  // namespace

bool StandInHost::AnswerFromWorld(NativeResult& result) {
    const NativeHandlerEntry* entry = natives_.Find(callHash_);
    if (entry == nullptr) {
        Violation("unknown native " + Hex(callHash_));
        return false;
    }
    if (entry->argCount != callArgCount_) {
        Violation(entry->name + " called with " + std::to_string(callArgCount_) +
                  " arguments; it takes " + std::to_string(entry->argCount));
        return false;
    }
    if (world_.NativeCallCrashes(callHash_)) {
        FaultInsideNative();
    }
    entry->handler(world_, NativeArgs(callArgs_, callArgCount_), result);
    return true;
}

uint64_t* StandInHost::NativeCall() {
    result_[0] = result_[1] = result_[2] = 0;
    if (!callOpen_) {
        Violation("nativeCall with no native call open");
        return result_;
    }
    callOpen_ = false;
    if (nativesInFrame_ >= kMaxNativesWithoutWait) {
        Violation(std::to_string(nativesInFrame_) +
                  " natives called without a scriptWait: the script never yields to the game");
        return result_;
    }
    NativeResult result;
    if (answerNatives) {
        answerNatives(callHash_, NativeArgs(callArgs_, callArgCount_), result);
    } else if (!AnswerFromWorld(result)) {
        return result_;
    }
    for (int i = 0; i < 3; ++i) {
        result_[i] = result.slots[i];
    }
    ++stats_.nativesCalled;
    ++nativesInFrame_;
    if (options_.recordCalls || onCall) {
        HostCall call;
        call.kind = HostCall::kNative;
        call.hash = callHash_;
        call.argCount = static_cast<uint8_t>(callArgCount_);
        for (int i = 0; i < callArgCount_ && i < 13; ++i) {
            call.args[i] = callArgs_[i];
        }
        for (int i = 0; i < 3; ++i) {
            call.result[i] = result_[i];
        }
        call.atMs = nowMs_;
        Record(call);
    }
    if (options_.timeNatives) {
        stats_.nativeCallNs +=
            static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now() - callStart_)
                                      .count());
    }
    return result_;
}

// ---------------------------------------------------------------- virtual clock

void StandInHost::SleepFromScript(uint32_t ms) {
    nowMs_ += ms;
}

std::time_t StandInHost::CalendarNow() const {
    return options_.calendarStart + static_cast<std::time_t>(nowMs_ / 1000);
}

// ---------------------------------------------------------------- driving a run

bool StandInHost::RunFor(uint64_t ms) {
    const uint64_t endMs = nowMs_ + ms;
    while (!stopped_ && nowMs_ < endMs) {
        nowMs_ += options_.frameMs;
        ++stats_.frames;
        world_.AdvanceTo(nowMs_);
        if (entry_ != nullptr && !fiber_) {
            fiber_.reset(new ScriptFiber(entry_, options_.stackBytes));
        }
        if (fiber_ && !fiber_->Finished() && nowMs_ >= wakeAtMs_) {
            if (onFrameStart) {
                onFrameStart();
            }
            fiber_->Resume();
        }
    }
    return !stopped_;
}

void StandInHost::RestartScript() {
    fiber_.reset();
    wakeAtMs_ = nowMs_;
    previousWaitMs_ = 1;
    nativesInFrame_ = 0;
    callOpen_ = false;
}
