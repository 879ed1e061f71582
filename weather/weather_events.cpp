#include "weather/weather_events.h"

#include <exception>
#include <string>

#include "core/logger.h"
#include "core/random.h"
#include "host/natives.h"
#include "host/script_hook.h"

namespace {

constexpr int kClearOverMs = 300000;
constexpr uint32_t kLightningDelayMs = 30000;

// Forces the weather and lets it clear over time; the steps every weather event shares.
void ForceAndClear(const std::string& word, Hash weatherType) {
    ChangeWeather(weatherType);
    Log(LogLevel::Debug, "Weather changed to ", word, " with transition time of 30.0f");
    CLEAR_WEATHER_TYPE_OVER_TIME(kClearOverMs);
    Log(LogLevel::Debug, "Weather type cleared over time.");
}

void StrikeLightningNearPlayer() {
    scriptWait(kLightningDelayMs);
    const Ped ped = PLAYER_PED_ID();
    const Vector3 pos = GET_ENTITY_COORDS(ped);
    // All three draws are always made, in this order.
    const int offsetX = RandomInt() % 50 - 25;
    const int offsetY = RandomInt() % 50 - 25;
    const int roll = RandomInt() % 5;
    if (roll == 0) {
        FORCE_LIGHTNING_FLASH_AT_COORDS(pos.x + static_cast<float>(offsetX),
                                        pos.y + static_cast<float>(offsetY), pos.z);
        Log(LogLevel::Debug, "Lightning flash forced at coordinates");
    }
}

void RunWeatherEvent(const std::string& word, Hash weatherType, bool withLightning) {
    const std::string name = "event_weather_" + word;
    Log(LogLevel::Info, "Executing " + name);
    Log(LogLevel::Debug, "Event weather_", word, " started - performing custom logic");
    try {
        ForceAndClear(word, weatherType);
        if (withLightning) {
            StrikeLightningNearPlayer();
        }
        Log(LogLevel::Debug, "Event weather_", word, " logic executed successfully");
        Log(LogLevel::Info, name + " completed successfully");
    } catch (const std::exception& e) {
        LogError("Exception in " + name + ": " + e.what());
        throw;
    } catch (...) {
        LogError("Unknown exception in " + name);
        throw;
    }
}

}  // namespace

void ChangeWeather(Hash weatherType) {
    SET_WEATHER_TYPE(weatherType);
}

void event_weather_thunderstorm() {
    RunWeatherEvent("thunderstorm", weather_type::kThunderstorm, true);
}

void event_weather_hurricane() {
    RunWeatherEvent("hurricane", weather_type::kHurricane, false);
}

void event_weather_fog() {
    RunWeatherEvent("fog", weather_type::kFog, false);
}
