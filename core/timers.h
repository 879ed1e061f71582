// The two interval timers that decide when the next encounter and weather event happen.
#pragma once

#include <cstdint>

#include "core/delay_range.h"

struct IntervalTimer {
    bool armed = false;
    uint32_t startTick = 0;  // low 32 bits of the tick count when the wait began
    uint32_t delayMs = 0;
};

extern IntervalTimer EventTimer;
extern IntervalTimer WeatherTimer;
// Disarms both, as a freshly loaded library has them.
void ResetTimers();

// A delay uniform over UsedDelayRange(minMinutes, maxMinutes), both ends included.
uint32_t GenerateRandomDelay(int minMinutes, int maxMinutes);

// Called once per main-loop pass; each may raise std::runtime_error when its event failed.
void EventTimerTick();
void WeatherTimerTick();
