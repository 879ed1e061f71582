// A replacement for the script hook: the six operations a plug-in calls, answered from a
// simulated world on virtual time. scriptWait advances the virtual clock; natives are answered
// by hash; every breach of the call contract is reported loudly and stops the run.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/host/native_table.h"
#include "sim/host/script_fiber.h"

class World;

// More natives than this between two scriptWait calls is a script that never yields, which
// would freeze the game: a breach. The plug-in's worst frame makes a few thousand.
constexpr uint32_t kMaxNativesWithoutWait = 100000;

struct HostOptions {
    uint32_t frameMs = 33;           // one game frame of virtual time
    uint64_t startTickMs = 3600000;  // what GetTickCount64 reads at virtual time 0
    // The simulated calendar at virtual time 0 (sim_calendar.h): 2024-12-06 16:00:00.
    std::time_t calendarStart = 1733500800;
    bool recordCalls = true;   // keep every call for tests
    bool timeNatives = false;  // add up the time spent inside native calls
    size_t stackBytes = 1024 * 1024;
};

// One recorded operation: a native call or a wait, in the order the plug-in made them.
struct HostCall {
    enum Kind { kNative, kWait } kind = kNative;
    uint64_t hash = 0;
    uint8_t argCount = 0;
    uint64_t args[13] = {};
    uint64_t result[3] = {};
    uint32_t waitMs = 0;
    uint64_t atMs = 0;  // virtual time of the call
};

struct HostStats {
    uint64_t frames = 0;  // frames of virtual time that passed
    uint64_t nativesCalled = 0;
    uint64_t waits = 0;
    uint32_t maxNativesInOneFrame = 0;  // between two scriptWait calls
    // How many natives each frame between two scriptWait(0) calls made: count -> frames.
    std::map<uint32_t, uint64_t> idleFrameNatives;
    // Time spent inside native calls, from nativeInit to nativeCall's return (the game's
    // share of a frame), when timeNatives is on.
    uint64_t nativeCallNs = 0;
};

class StandInHost {
  public:
    StandInHost(World& world, HostOptions options = HostOptions());
    ~StandInHost();
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    // --- the hook's operations (called through the exported functions)
    void RegisterScript(void* module, void (*entry)());
    void UnregisterScript(void* module);
    void Wait(uint32_t ms);
    void NativeInit(uint64_t hash);
    void NativePush(uint64_t value);
    uint64_t* NativeCall();

    // --- the platform clock the plug-in reads
    uint64_t TickCount() const { return options_.startTickMs + nowMs_; }
    void SleepFromScript(uint32_t ms);
    std::time_t CalendarNow() const;

    // --- driving a run
    // Lets virtual time pass, frame by frame, running the script whenever it is due. Returns
    // false when the run was stopped (a contract breach or Stop).
    bool RunFor(uint64_t ms);
    // Like loading a save: the registered entry starts again on a fresh fiber; the old one is
    // abandoned where it stands.
    void RestartScript();
    void Stop(const std::string& reason);
    bool Stopped() const { return stopped_; }

    // --- what tests and the simulator look at
    uint64_t NowMs() const { return nowMs_; }
    World& GetWorld() { return world_; }
    const NativeTable& Natives() const { return natives_; }
    const std::vector<HostCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    const HostStats& Stats() const { return stats_; }
    const std::vector<std::string>& Violations() const { return violations_; }
    bool ScriptRegistered() const { return entry_ != nullptr; }
    // Called at each scriptWait with the natives made since the previous one.
    std::function<void(uint32_t nativesInFrame, uint32_t waitMs)> onFrameEnd;
    // Called at each scriptWait before the script yields: a non-empty answer names a breach
    // (something the plug-in must not hold while the game runs).
    std::function<std::string()> checkAtWait;
    // Called with every native call and wait as it is made (whether or not calls are kept).
    std::function<void(const HostCall&)> onCall;
    // Called just before the script is resumed for a frame.
    std::function<void()> onFrameStart;
    // Lets a test replace how one native is answered (for faults and hostile worlds).
    void OverrideNative(uint64_t hash, NativeHandler handler);
    // When set, answers every native instead of the world (a replay of a recorded session);
    // the native need not be in the table.
    std::function<void(uint64_t hash, const NativeArgs& args, NativeResult& result)> answerNatives;
    // When set, called as the script asks to wait, before anything else (a replay checks the
    // wait is the recorded one).
    std::function<void(uint32_t ms)> onWaitAsked;
    // Stops the run at once, not as a breach: a script caught in the act is suspended for good
    // where it stands (a replay at its first difference or the recording's end).
    void Halt();

  private:
    // Records the breach and stops the run at once: a script caught in the act is suspended
    // for good, where it stands.
    void Violation(const std::string& what);
    void EndFrameSegment(uint32_t waitMs);
    // Answers the open call from the world's table; false after a breach.
    bool AnswerFromWorld(NativeResult& result);
    void Record(const HostCall& call);

    World& world_;
    HostOptions options_;
    NativeTable natives_;
    std::vector<HostCall> calls_;
    HostStats stats_;
    std::vector<std::string> violations_;

    void* module_ = nullptr;
    void (*entry_)() = nullptr;
    std::unique_ptr<ScriptFiber> fiber_;
    uint64_t nowMs_ = 0;
    uint64_t wakeAtMs_ = 0;
    bool stopped_ = false;

    // The native call being assembled.
    bool callOpen_ = false;
    uint64_t callHash_ = 0;
    uint64_t callArgs_[32] = {};
    int callArgCount_ = 0;
    std::chrono::steady_clock::time_point callStart_;  // when timeNatives is on
    uint64_t result_[3] = {};

    uint32_t nativesInFrame_ = 0;
    uint32_t previousWaitMs_ = 1;  // not 0: the first frame is not an idle one
};

// The host the exported hook functions and the platform clock talk to; null when none.
StandInHost* ActiveStandInHost();
