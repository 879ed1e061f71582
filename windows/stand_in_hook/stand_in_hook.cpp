// ScriptHookRDR2.dll as the launcher and the Wine tests use it: the stand-in host and its
// world behind the hook's exports, a plug-in put on virtual time when it registers, and the
// control functions of hook_control.h.
#include <windows.h>
#undef Yield  // an old Win16 macro that would swallow ScriptFiber::Yield

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "host/script_hook.h"
#include "sim/host/run_setup.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/crowd.h"
#include "sim/world/sim_calendar.h"
#include "sim/world/world.h"
#include "windows/stand_in_hook/hook_control.h"
#include "windows/stand_in_hook/import_patch.h"

namespace {

std::unique_ptr<World> world;
std::unique_ptr<StandInHost> host;
StandInStatusData record = {};

using Clock = std::chrono::steady_clock;

// What one clock read costs: the host reads the clock around each native call, and about one
// read's worth of that falls in the plug-in's share of the frame.
double ClockReadNs() {
    double least = 1e9;
    for (int batch = 0; batch < 50; ++batch) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < 1000; ++i) {
            (void)Clock::now();
        }
        least = std::min(
            least, std::chrono::duration<double, std::nano>(Clock::now() - start).count() / 1001.0);
    }
    return least;
}

// The plug-in's writes to files in the frame under way (a log line is one WriteFile): how many,
// and the time inside them, the floor of what its lines cost.
uint32_t frameWrites = 0;
double frameWriteNs = 0;

BOOL WINAPI TimedWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                           LPOVERLAPPED overlapped) {
    const Clock::time_point start = Clock::now();
    const BOOL done = WriteFile(file, bytes, size, written, overlapped);
    frameWriteNs += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    ++frameWrites;
    return done;
}

void TimeWrites(void* module) {
    const ImportReplacement kernel[] = {
        {"WriteFile", reinterpret_cast<void*>(&TimedWriteFile)},
    };
    PatchModuleImports(module, "KERNEL32.dll", kernel, 1);
}

// Times every frame of the script and keeps the one with the most natives.
void TimeFrames(StandInHost& timed) {
    static const double clockReadNs = ClockReadNs();
    struct Frame {
        Clock::time_point start;
        uint64_t callNsAtStart = 0;
    };
    auto frame = std::make_shared<Frame>();
    timed.onFrameStart = [frame, &timed] {
        frame->start = Clock::now();
        frame->callNsAtStart = timed.Stats().nativeCallNs;
        frameWrites = 0;
        frameWriteNs = 0;
    };
    timed.onFrameEnd = [frame, &timed](uint32_t natives, uint32_t) {
        if (natives <= record.worstFrameNatives) {
            return;
        }
        const double wallNs =
            std::chrono::duration<double, std::nano>(Clock::now() - frame->start).count();
        const double pluginNs =
            wallNs - static_cast<double>(timed.Stats().nativeCallNs - frame->callNsAtStart) -
            clockReadNs * (natives + frameWrites);
        record.worstFrameNatives = natives;
        record.worstFramePluginUs = std::max(0.0, pluginNs / 1000.0);
        record.worstFrameWrites = frameWrites;
        record.worstFrameWriteUs = frameWriteNs / 1000.0;
    };
}

// The plug-in reads the kernel's clock directly; these answer from the host's virtual one.
ULONGLONG WINAPI VirtualGetTickCount64() {
    StandInHost* active = ActiveStandInHost();
    return active != nullptr ? active->TickCount() : GetTickCount64();
}

VOID WINAPI VirtualSleep(DWORD ms) {
    StandInHost* active = ActiveStandInHost();
    if (active != nullptr) {
        active->SleepFromScript(ms);
    } else {
        Sleep(ms);
    }
}

// The calendar: the kernel's clock (GetSystemTimeAsFileTime) and the C runtime's local-time
// conversion (MinGW's localtime_s calls _localtime64); builds before the plug-in read the
// kernel's clock itself read the runtime's time() (_time64). The host's simulated calendar
// answers, as on Linux (sim_calendar.h).
VOID WINAPI VirtualGetSystemTimeAsFileTime(LPFILETIME out) {
    StandInHost* active = ActiveStandInHost();
    if (active == nullptr) {
        GetSystemTimeAsFileTime(out);
        return;
    }
    constexpr uint64_t kTicksPerSecond = 10000000;  // a FILETIME counts 100 ns since 1601
    constexpr uint64_t kSecondsFrom1601To1970 = 11644473600;
    const uint64_t ticks =
        (static_cast<uint64_t>(active->CalendarNow()) + kSecondsFrom1601To1970) * kTicksPerSecond;
    out->dwLowDateTime = static_cast<DWORD>(ticks);
    out->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
}

__time64_t __cdecl VirtualTime64(__time64_t* out) {
    StandInHost* active = ActiveStandInHost();
    const __time64_t now = active != nullptr ? active->CalendarNow() : _time64(nullptr);
    if (out != nullptr) {
        *out = now;
    }
    return now;
}

// Like the runtime's, the answer lives in a buffer of its own until the next call.
struct tm* __cdecl VirtualLocalTime64(const __time64_t* when) {
    static struct tm answer;
    if (when == nullptr) {
        return nullptr;
    }
    if (ActiveStandInHost() == nullptr) {
        return _localtime64(when);
    }
    return SimulatedLocalTime(static_cast<std::time_t>(*when), &answer) ? &answer : nullptr;
}

unsigned UseVirtualClock(void* module) {
    const ImportReplacement kernel[] = {
        {"GetTickCount64", reinterpret_cast<void*>(&VirtualGetTickCount64)},
        {"Sleep", reinterpret_cast<void*>(&VirtualSleep)},
        {"GetSystemTimeAsFileTime", reinterpret_cast<void*>(&VirtualGetSystemTimeAsFileTime)},
    };
    const ImportReplacement runtime[] = {
        {"_time64", reinterpret_cast<void*>(&VirtualTime64)},
        {"_localtime64", reinterpret_cast<void*>(&VirtualLocalTime64)},
    };
    const unsigned kernelPatched = PatchModuleImports(module, "KERNEL32.dll", kernel, 3);
    const unsigned runtimePatched = PatchModuleImports(module, "msvcrt.dll", runtime, 2);
    const bool calendar = (kernelPatched & 4u) != 0 || (runtimePatched & 1u) != 0;
    return (kernelPatched & (kClockTickCount64 | kClockSleep)) | (calendar ? kClockCalendar : 0u) |
           ((runtimePatched & 2u) != 0 ? kClockLocalTime : 0u);
}

}  // namespace

extern "C" {

void StandInScriptRegister(void* module, ScriptEntry entry) {
    ++record.registers;
    record.registeredModule = module;
    record.registeredEntry = reinterpret_cast<void*>(entry);
    record.clockImports = UseVirtualClock(module);
    TimeWrites(module);
    scriptRegister(module, entry);
}

void StandInScriptUnregister(void* module) {
    ++record.unregisters;
    scriptUnregister(module);
}

int StandInStart(uint64_t seed, const char* scenarioPath, const char* start, char* error,
                 uint32_t errorBytes) {
    host.reset();
    world.reset(new World(seed));
    std::string message;
    ScenarioInfo scenario;
    HostOptions options = HostOptionsForSeed(seed);
    if (!BuildWorldForRun(*world, scenarioPath != nullptr ? scenarioPath : "", &message,
                          &scenario) ||
        !CalendarStartForRun(start != nullptr ? start : "", scenario.run.start,
                             &options.calendarStart, &message)) {
        world.reset();
        if (error != nullptr && errorBytes > 0) {
            std::snprintf(error, errorBytes, "%s", message.c_str());
        }
        return 0;
    }
    host.reset(new StandInHost(*world, options));
    record = StandInStatusData();
    record.frameMs = options.frameMs;
    return 1;
}

int StandInStartCrowd(uint64_t seed, uint32_t peds) {
    host.reset();
    world.reset(new World(seed));
    BuildCrowdWorld(*world, static_cast<int>(peds));
    HostOptions options = HostOptionsForSeed(seed);
    options.recordCalls = false;
    options.timeNatives = true;
    host.reset(new StandInHost(*world, options));
    record = StandInStatusData();
    record.frameMs = options.frameMs;
    TimeFrames(*host);
    return 1;
}

int StandInRun(uint64_t ms) {
    return host != nullptr && host->RunFor(ms) ? 1 : 0;
}

void StandInStatus(StandInStatusData* status) {
    *status = record;
    if (host != nullptr) {
        status->nowMs = host->NowMs();
        status->frames = host->Stats().frames;
        status->nativesCalled = host->Stats().nativesCalled;
        status->violations = static_cast<uint32_t>(host->Violations().size());
        status->scriptRegistered = host->ScriptRegistered() ? 1 : 0;
    }
}

const char* StandInViolation(uint32_t index) {
    if (host == nullptr || index >= host->Violations().size()) {
        return nullptr;
    }
    return host->Violations()[index].c_str();
}

int StandInCrashNative(const char* native, char* error, uint32_t errorBytes) {
    std::string message = "no world to crash a native in";
    if (world != nullptr && PlanNativeCrashForRun(*world, native, &message)) {
        return 1;
    }
    if (error != nullptr && errorBytes > 0) {
        std::snprintf(error, errorBytes, "%s", message.c_str());
    }
    return 0;
}

void StandInFinish() {
    host.reset();
    world.reset();
}
}
