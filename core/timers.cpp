#include "core/timers.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "core/config.h"
#include "core/logger.h"
#include "core/random.h"
#include "host/script_wait.h"
#include "platform/platform.h"
#include "scheduling/encounter_registry.h"
#include "scheduling/weather_registry.h"
#include "world/free_play.h"

IntervalTimer EventTimer;
IntervalTimer WeatherTimer;

void ResetTimers() {
    EventTimer = IntervalTimer();
    WeatherTimer = IntervalTimer();
}

namespace {

uint32_t NowTick() {
    return static_cast<uint32_t>(platform::TickCount64());
}

bool Expired(const IntervalTimer& timer, uint32_t now) {
    return static_cast<uint32_t>(now - timer.startTick) >= timer.delayMs;  // wraps safely
}

constexpr uint32_t kOutsideFreePlayRetryMs = 5000;

}  // namespace

uint32_t GenerateRandomDelay(int minMinutes, int maxMinutes) {
    const DelayRange range = UsedDelayRange(minMinutes, maxMinutes);
    const int lowest = range.minMinutes;
    const int highest = range.maxMinutes;
    const int32_t base = lowest * 60000;
    const int32_t span = (highest - lowest) * 60000 + 1;
    const uint32_t delay = static_cast<uint32_t>(base) + RandomBelow(static_cast<uint32_t>(span));
    const float minutes = static_cast<float>(delay) * (1.0f / 60000.0f);
    Log(LogLevel::Debug, "Generated random delay: ", delay, "ms (", minutes, " minutes)");
    return delay;
}

void EventTimerTick() {
    if (EncounterRegistry.empty()) {
        return;
    }
    const uint32_t now = NowTick();
    if (!EventTimer.armed) {
        EventTimer.startTick = now;
        EventTimer.delayMs =
            GenerateRandomDelay(Config.MinEventDelayMinutes, Config.MaxEventDelayMinutes);
        EventTimer.armed = true;
        Log(LogLevel::Debug, "Event timer initialized with delay: ", EventTimer.delayMs, "ms");
        return;
    }
    if (!Expired(EventTimer, now)) {
        return;
    }
    // Outside free play nothing is picked or scanned: the timer looks again a few seconds on,
    // so the encounter comes soon after the game hands the player back.
    const GameState state = LookAtGameState();
    if (state != GameState::FreePlay) {
        Log(LogLevel::Debug, std::string("Event timer expired outside free play (") +
                                 GameStateText(state) + "), trying again in 5 seconds");
        EventTimer.startTick = now;
        EventTimer.delayMs = kOutsideFreePlayRetryMs;
        return;
    }
    Log(LogLevel::Debug, "Event timer expired, executing random event");
    try {
        const bool skipped = SelectAndRunEvent();
        if (skipped) {
            EventTimer.startTick = now;
            EventTimer.delayMs = 0;
            YieldToGame(10000);
            return;
        }
        const uint32_t restart = NowTick();  // measured from the end of the event
        const uint32_t delay =
            GenerateRandomDelay(Config.MinEventDelayMinutes, Config.MaxEventDelayMinutes);
        EventTimer.startTick = restart;
        EventTimer.delayMs = delay;
        Log(LogLevel::Debug, "Event timer reset for next execution");
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Event execution failed: ") + e.what());
    } catch (...) {
        throw std::runtime_error("Event execution failed: Unknown exception in event");
    }
}

void WeatherTimerTick() {
    if (WeatherEventRegistry.empty()) {
        return;
    }
    const uint32_t now = NowTick();
    if (!WeatherTimer.armed) {
        WeatherTimer.startTick = now;
        WeatherTimer.delayMs = GenerateRandomDelay(Config.Weather_MinEventDelayMinutes,
                                                   Config.Weather_MaxEventDelayMinutes);
        WeatherTimer.armed = true;
        Log(LogLevel::Debug, "Weather timer initialized with delay: ", WeatherTimer.delayMs, "ms");
        return;
    }
    if (!Expired(WeatherTimer, now)) {
        return;
    }
    // No weather is forced on a cutscene or behind a loading screen.
    const GameState state = LookAtScreens();
    if (state != GameState::FreePlay) {
        Log(LogLevel::Debug,
            std::string("Weather timer expired in a cutscene or loading screen (") +
                GameStateText(state) + "), trying again in 5 seconds");
        WeatherTimer.startTick = now;
        WeatherTimer.delayMs = kOutsideFreePlayRetryMs;
        return;
    }
    Log(LogLevel::Debug, "Weather timer expired, executing random weather event");
    try {
        SelectAndRunWeatherEvent();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Weather event execution failed: ") + e.what());
    } catch (...) {
        throw std::runtime_error("Weather event execution failed: Unknown exception in event");
    }
    WeatherTimer.startTick = NowTick();
    WeatherTimer.delayMs = GenerateRandomDelay(Config.Weather_MinEventDelayMinutes,
                                               Config.Weather_MaxEventDelayMinutes);
    Log(LogLevel::Debug, "Weather timer reset for next weather event execution");
}
