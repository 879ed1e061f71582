#include "weather/weather_events.h"

#include "core/logger.h"
#include "core/random.h"
#include "encounters/encounter_run.h"
#include "host/natives.h"
#include "host/script_wait.h"

namespace {

constexpr int kClearOverMs = 300000;
constexpr uint32_t kLightningDelayMs = 30000;

// Forces the weather and lets it clear over time; the steps every weather event shares.
void ForceAndClear(const char* word, Hash weatherType) {
    ChangeWeather(weatherType);
    Log(LogLevel::Debug, "Weather changed to ", word, " with transition time of 30.0f");
    CLEAR_WEATHER_TYPE_OVER_TIME(kClearOverMs);
    Log(LogLevel::Debug, "Weather type cleared over time.");
}

void StrikeLightningNearPlayer() {
    YieldToGame(kLightningDelayMs);
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

}  // namespace

void ChangeWeather(Hash weatherType) {
    SET_WEATHER_TYPE(weatherType);
}

// A weather event owns no peds; it runs as an encounter does for its log lines and failures.
void event_weather_thunderstorm() {
    RunEncounter({"event_weather_thunderstorm", "weather_thunderstorm"}, [](PedLedger&) {
        ForceAndClear("thunderstorm", weather_type::kThunderstorm);
        StrikeLightningNearPlayer();
        return true;
    });
}

void event_weather_hurricane() {
    RunEncounter({"event_weather_hurricane", "weather_hurricane"}, [](PedLedger&) {
        ForceAndClear("hurricane", weather_type::kHurricane);
        return true;
    });
}

void event_weather_fog() {
    RunEncounter({"event_weather_fog", "weather_fog"}, [](PedLedger&) {
        ForceAndClear("fog", weather_type::kFog);
        return true;
    });
}
