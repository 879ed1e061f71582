// The rule that makes any configured pair of delay minutes safe to wait on, shared by the
// timers and the settings check.
#pragma once

// Longest delay, in minutes, whose milliseconds fit the signed 32-bit arithmetic.
constexpr int kMaxDelayMinutes = 2147483647 / 60000;

// The minutes a delay is drawn between for a configured pair: minutes below 1 count as 1,
// minutes above kMaxDelayMinutes as that, and a maximum below the minimum as the minimum.
struct DelayRange {
    int minMinutes;
    int maxMinutes;
};
DelayRange UsedDelayRange(int minMinutes, int maxMinutes);
