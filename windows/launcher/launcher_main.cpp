// tarrowind-launcher: the game's part played on Windows. Loads the stand-in host
// (ScriptHookRDR2.dll, next to the launcher), then the real plug-in with LoadLibrary so its
// library entry registers the script, runs the simulated world on virtual time, unloads the
// plug-in again and prints the log lines the run wrote. On the frame-cost world (--crowd) it also
// prints the plug-in's time in its most expensive frame; with --move-logs it moves the day's log
// away after every frame, as a player may while the game runs, and fails if a line still
// reaches a moved file.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "windows/launcher/launcher_options.h"
#include "windows/stand_in_hook/hook_control.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSetupFailed = 2;
constexpr int kRunFailed = 1;

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "tarrowind-launcher: %s\n", message.c_str());
    return status;
}

fs::path LauncherFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    return length > 0 && length < sizeof(path) ? fs::path(path).parent_path() : fs::path(".");
}

struct HookControl {
    StandInStartFn start = nullptr;
    StandInStartCrowdFn startCrowd = nullptr;
    StandInRunFn run = nullptr;
    StandInStatusFn status = nullptr;
    StandInViolationFn violation = nullptr;
    StandInFinishFn finish = nullptr;
    StandInCrashNativeFn crashNative = nullptr;
};

template <typename Fn>
bool Find(HMODULE module, const char* name, Fn* fn) {
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *fn != nullptr;
}

bool LoadHookControl(HMODULE hook, HookControl* control) {
    return Find(hook, "StandInStart", &control->start) &&
           Find(hook, "StandInStartCrowd", &control->startCrowd) &&
           Find(hook, "StandInRun", &control->run) &&
           Find(hook, "StandInStatus", &control->status) &&
           Find(hook, "StandInViolation", &control->violation) &&
           Find(hook, "StandInFinish", &control->finish) &&
           Find(hook, "StandInCrashNative", &control->crashNative);
}

// The system's own words for the last error, e.g. "The specified module could not be found."
std::string LastErrorText() {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof(text), nullptr);
    std::string message(text, length);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return (message.empty() ? "" : message + "; ") + "error " + std::to_string(code);
}

// Sizes of the log files before the run, so only what the run appended is printed.
std::map<std::string, uintmax_t> LogFileSizes() {
    std::map<std::string, uintmax_t> sizes;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path("Tarrowind") / "logs", ec)) {
        if (entry.path().extension() == ".log") {
            sizes[entry.path().filename().string()] = entry.file_size(ec);
        }
    }
    return sizes;
}

void PrintAppendedLines(const std::map<std::string, uintmax_t>& before) {
    for (const auto& file : LogFileSizes()) {
        const auto previous = before.find(file.first);
        std::ifstream in(fs::path("Tarrowind") / "logs" / file.first);
        if (previous != before.end()) {
            in.seekg(static_cast<std::streamoff>(previous->second));
        }
        for (std::string line; std::getline(in, line);) {
            std::printf("%s\n", line.c_str());
        }
    }
}

// Runs frame by frame, moving the day's log files to Tarrowind/moved/ after each frame. A file
// that cannot be moved, or one that grows after it was moved, was held across a wait.
bool RunMovingLogs(const HookControl& control, uint64_t runMs, uint32_t frameMs,
                   std::string* problem) {
    const fs::path logs = fs::path("Tarrowind") / "logs";
    const fs::path moved = fs::path("Tarrowind") / "moved";
    std::error_code ec;
    fs::create_directories(moved, ec);
    std::map<std::string, uintmax_t> movedSizes;  // path -> size when moved
    int sequence = 0;
    for (uint64_t ms = 0; ms < runMs && control.run(frameMs); ms += frameMs) {
        for (const auto& log : LogFileSizes()) {
            char prefix[16];
            std::snprintf(prefix, sizeof(prefix), "%06d_", ++sequence);
            const std::string from = (logs / log.first).string();
            const std::string to = (moved / (prefix + log.first)).string();
            if (!MoveFileA(from.c_str(), to.c_str())) {
                *problem = "cannot move " + from + " between two frames (" + LastErrorText() + ")";
                return false;
            }
            movedSizes[to] = log.second;
        }
    }
    for (const auto& file : movedSizes) {
        if (fs::file_size(file.first, ec) != file.second) {
            *problem = "lines reached " + file.first +
                       " after it was moved away: the log was held across a wait";
            return false;
        }
    }
    return true;  // a breach of the call contract is reported with the others
}

// One run: the world, the plug-in loaded, the time run, the plug-in unloaded, and what came of
// it printed. Returns the launcher's exit status.
int RunOnce(const HookControl& control, const fs::path& pluginPath,
            const LauncherOptions& options) {
    char startError[512] = {};
    if (options.crowd != 0) {
        control.startCrowd(options.seed, options.crowd);
    } else if (!control.start(options.seed, options.scenario.c_str(), options.start.c_str(),
                              startError, sizeof(startError))) {
        return Fail(startError, kSetupFailed);
    }
    if (!options.crashNative.empty() &&
        !control.crashNative(options.crashNative.c_str(), startError, sizeof(startError))) {
        return Fail(startError, kSetupFailed);
    }

    const auto logsBefore = LogFileSizes();
    const auto wallStart = std::chrono::steady_clock::now();
    HMODULE plugin = LoadLibraryA(pluginPath.string().c_str());
    if (plugin == nullptr) {
        return Fail("cannot load '" + pluginPath.string() + "' (" + LastErrorText() + ")",
                    kSetupFailed);
    }
    StandInStatusData status = {};
    control.status(&status);
    if (status.registers != 1 || status.registeredModule != plugin) {
        return Fail("loading the plug-in did not register its script", kRunFailed);
    }
    if ((status.clockImports & (kClockCalendar | kClockLocalTime)) !=
        (kClockCalendar | kClockLocalTime)) {
        return Fail(
            "the plug-in's calendar (GetSystemTimeAsFileTime or _time64, and _localtime64) "
            "cannot be put on the simulated calendar",
            kRunFailed);
    }
    if ((status.clockImports & kClockTickCount64) == 0) {
        return Fail("the plug-in does not import GetTickCount64; it cannot run on virtual time",
                    kRunFailed);
    }

    const uint64_t runMs =
        options.frames != 0 ? options.frames * status.frameMs : options.minutes * 60000;
    std::string problem;
    if (options.moveLogs) {
        RunMovingLogs(control, runMs, status.frameMs, &problem);
    } else {
        control.run(runMs);
    }
    FreeLibrary(plugin);
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    control.status(&status);

    if (!options.quiet) {
        PrintAppendedLines(logsBefore);
    }
    std::printf(
        "---- launcher: simulated %.2f min (%llu frames) in %.2f s of wall time, "
        "%llu natives called, %u call contract breaches\n",
        static_cast<double>(status.nowMs) / 60000.0, static_cast<unsigned long long>(status.frames),
        wallSeconds, static_cast<unsigned long long>(status.nativesCalled), status.violations);
    if (options.crowd != 0) {
        std::printf(
            "---- frame cost: %u peds, worst frame %u natives, plug-in time %.1f us, of which "
            "%.1f us in %u file writes\n",
            options.crowd, status.worstFrameNatives, status.worstFramePluginUs,
            status.worstFrameWriteUs, status.worstFrameWrites);
    }
    for (uint32_t i = 0; i < status.violations; ++i) {
        std::fprintf(stderr, "tarrowind-launcher: call contract broken: %s\n",
                     control.violation(i));
    }
    int result = status.violations == 0 ? 0 : kRunFailed;
    if (!problem.empty()) {
        result = Fail(problem, kRunFailed);
    }
    if (status.unregisters != 1 || status.scriptRegistered) {
        result = Fail("unloading the plug-in did not unregister its script", kRunFailed);
    }
    control.finish();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    LauncherOptions options;
    std::string text;
    switch (ParseLauncherOptions(argc, argv, &options, &text)) {
        case LauncherParse::kHelp:
            std::fputs(text.c_str(), stdout);
            return 0;
        case LauncherParse::kBad:
            return Fail(text, kSetupFailed);
        case LauncherParse::kRun:
            break;
    }
    const fs::path folder = LauncherFolder();
    const fs::path pluginPath =
        options.plugin.empty() ? folder / "Tarrowind.asi" : fs::absolute(options.plugin);
    if (!options.scenario.empty()) {
        options.scenario = fs::absolute(options.scenario).string();
    }

    // The working folder plays the game's, with the logs folder an installed copy ships.
    std::error_code ec;
    fs::create_directories(fs::path(options.workdir) / "Tarrowind" / "logs", ec);
    if (ec || !SetCurrentDirectoryA(options.workdir.c_str())) {
        return Fail("cannot use '" + options.workdir + "' as the working folder", kSetupFailed);
    }

    const fs::path hookPath = folder / "ScriptHookRDR2.dll";
    HMODULE hook = LoadLibraryA(hookPath.string().c_str());
    HookControl control;
    if (hook == nullptr) {
        return Fail("cannot load '" + hookPath.string() + "' (" + LastErrorText() + ")",
                    kSetupFailed);
    }
    if (!LoadHookControl(hook, &control)) {
        return Fail("'" + hookPath.string() + "' is not the stand-in host", kSetupFailed);
    }
    int result = 0;
    for (uint32_t run = 0; run < options.repeat && result == 0; ++run) {
        result = RunOnce(control, pluginPath, options);
    }
    FreeLibrary(hook);
    return result;
}
