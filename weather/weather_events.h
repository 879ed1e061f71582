// The three sudden weather events: each forces a weather type and lets it clear over five
// minutes; the thunderstorm may also strike lightning near the player.
#pragma once

#include "host/game_types.h"

void event_weather_thunderstorm();
void event_weather_hurricane();
void event_weather_fog();

// SET_WEATHER_TYPE with a 30.0 transition.
void ChangeWeather(Hash weatherType);

namespace weather_type {
constexpr Hash kThunderstorm = 0x7C1C4A13u;
constexpr Hash kHurricane = 0x320D0951u;
constexpr Hash kFog = 0xD61BDE01u;
}  // namespace weather_type
