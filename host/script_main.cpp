#include "host/script_main.h"

#include <exception>
#include <string>

#include "core/build_version.h"
#include "core/config.h"
#include "core/logger.h"
#include "core/random.h"
#include "core/settings_check.h"
#include "core/timers.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_list.h"
#include "encounters/encounter_run.h"
#include "host/natives.h"
#include "host/script_hook.h"
#include "host/script_wait.h"
#include "host/session_recorder.h"
#include "platform/platform.h"
#include "scheduling/encounter_registry.h"
#include "scheduling/weather_registry.h"
#include "world/identifier_hash.h"

namespace {

constexpr uint32_t kSettleMs = 5000;
constexpr uint32_t kMissionPauseMs = 10000;
constexpr uint32_t kRecoveryWaitMs = 100;
constexpr uint32_t kRecoverySleepMs = 1000;
const char* const kConfigPath = "Tarrowind/Tarrowind.ini";

void StartUp() {
    Log(LogLevel::Info, "==============================================");
    Log(LogLevel::Info, "======== Starting new logging session ========");
    Log(LogLevel::Info, "==============================================");
    Log(LogLevel::Info, std::string("Tarrowind ") + TarrowindVersion());
    if (!LoadConfig(kConfigPath)) {
        LogError("Failed to load configuration, using defaults");
    }
    session_record::Decide(Config.RecordSession);
    LogSettingsCheck(kConfigPath);
    Log(LogLevel::Info, "Tarrowind script started");
    Log(LogLevel::Info,
        std::string("Debug logging is ") + (Config.EnableDebugLogging ? "enabled" : "disabled"));
    InitializeEventRegistry();
    if (!EncounterRegistry.empty()) {
        Log(LogLevel::Info,
            "Event delay configured: " + std::to_string(Config.MinEventDelayMinutes) + "-" +
                std::to_string(Config.MaxEventDelayMinutes) + " minutes");
    }
    InitializeWeatherRegistry();
    if (!WeatherEventRegistry.empty()) {
        Log(LogLevel::Info,
            "Weather delay configured: " + std::to_string(Config.Weather_MinEventDelayMinutes) +
                "-" + std::to_string(Config.Weather_MaxEventDelayMinutes) + " minutes");
    }
}

void RunOnePass() {
    if (GET_MISSION_FLAG()) {
        Log(LogLevel::Debug, "Mission flag is set, skipping event and weather updates");
        YieldToGame(kMissionPauseMs);
        return;
    }
    if (!EncounterRegistry.empty()) {
        EventTimerTick();
    }
    if (!WeatherEventRegistry.empty()) {
        WeatherTimerTick();
    }
    YieldToGame(0);
}

// After a failed pass: a short wait on the host, or, if even that fails, a plain sleep.
void RecoverAfterFailure(const char* waitedLine, const char* fallbackLine) {
    try {
        YieldToGame(kRecoveryWaitMs);
        Log(LogLevel::Debug, waitedLine);
    } catch (...) {
        LogError(fallbackLine);
        CloseLogFile();  // as a wait would: the sleep holds the game up for a second
        platform::SleepMs(kRecoverySleepMs);
    }
}

}  // namespace

void MainLoop() {
    // A script that throws is stopped by the hook, so start-up is guarded too.
    try {
        StartUp();
    } catch (const std::exception& e) {
        LogError(std::string("Exception during start-up: ") + e.what());
    } catch (...) {
        LogError("Unknown exception during start-up");
    }
    // Start-up may have failed before the settings were read: then no recording.
    session_record::Decide(Config.RecordSession);
    for (;;) {
        try {
            RunOnePass();
        } catch (const std::exception& e) {
            LogError(std::string(kMainLoopExceptionLine) + ": " + e.what());
            RecoverAfterFailure("Using backup timing WAIT(100) after exception",
                                "WAIT(100) failed, using Sleep(1000) fallback");
        } catch (...) {
            LogError(kMainLoopUnknownExceptionLine);
            RecoverAfterFailure("Using backup timing WAIT(100) after unknown exception",
                                "WAIT(100) failed after unknown exception, using Sleep(1000) "
                                "fallback");
        }
    }
}

void ScriptMain() {
    // Nothing may leave the script entry: a failure here is logged and the main loop still runs.
    try {
        SeedRandom(static_cast<uint32_t>(platform::TickCount64()));
        YieldToGame(kSettleMs);
    } catch (const std::exception& e) {
        LogError(std::string("Exception before start-up: ") + e.what());
    } catch (...) {
        LogError("Unknown exception before start-up");
    }
    MainLoop();
}

int PluginEntry(void* module, unsigned long reason) {
    if (reason == 1) {
        session_record::Begin();
        scriptRegister(module, ScriptMain);
    } else if (reason == 0) {
        scriptUnregister(module);
        session_record::Close();
        CloseLogFile();  // held only if the script was stopped in the middle of a frame
    }
    return 1;
}

void ResetProcessState() {
    session_record::Reset();
    CloseLogFile();
    ResetConfig();
    ResetUnwrittenLogLines();
    ResetRandom();
    ResetTimers();
    ClearEventRegistry();
    ClearWeatherRegistry();
    ForgetIdentifierHashes();
    ResetEncounterState();
}
