// The two interval timers that decide when the next encounter and weather event happen.
#pragma once

#include <cstdint>

struct IntervalTimer {
    bool armed = false;
    uint32_t startTick = 0;  // low 32 bits of the tick count when the wait began
    uint32_t delayMs = 0;
};

extern IntervalTimer EventTimer;
extern IntervalTimer WeatherTimer;

// Longest delay, in minutes, whose milliseconds fit the signed 32-bit arithmetic.
constexpr int kMaxDelayMinutes = 2147483647 / 60000;

// The minutes a delay is drawn between for a configured pair: minutes below 1 count as 1,
// minutes above kMaxDelayMinutes as that, and a maximum below the minimum as the minimum.
struct DelayRange {
    int minMinutes;
    int maxMinutes;
};
DelayRange UsedDelayRange(int minMinutes, int maxMinutes);

// A delay uniform over UsedDelayRange(minMinutes, maxMinutes), both ends included.
uint32_t GenerateRandomDelay(int minMinutes, int maxMinutes);

// Called once per main-loop pass; each may raise std::runtime_error when its event failed.
void EventTimerTick();
void WeatherTimerTick();
