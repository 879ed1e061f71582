#include "sim/world/environment.h"

#include <cmath>

#include "sim/world/world.h"

void SimEnvironment::SetClock(int hour, int minute) {
    const double elapsedGameMinutes =
        static_cast<double>(world_.NowMs()) / 1000.0 * world_.settings.gameMinutesPerRealSecond;
    clockMinutesAtZero_ = hour * 60 + minute - elapsedGameMinutes;
}

int SimEnvironment::ClockMinutes() const {
    const double minutes = clockMinutesAtZero_ + static_cast<double>(world_.NowMs()) / 1000.0 *
                                                     world_.settings.gameMinutesPerRealSecond;
    const double wrapped = std::fmod(std::fmod(minutes, 1440.0) + 1440.0, 1440.0);
    return static_cast<int>(wrapped);
}

int SimEnvironment::ClockHours() const {
    return ClockMinutes() / 60;
}

void SimEnvironment::AddMissionWindow(uint64_t startMs, uint64_t endMs) {
    missionWindows_.emplace_back(startMs, endMs);
}

bool SimEnvironment::MissionActive() const {
    if (missionFlag_) {
        return true;
    }
    const uint64_t nowMs = world_.NowMs();
    for (const auto& window : missionWindows_) {
        if (nowMs >= window.first && nowMs < window.second) {
            return true;
        }
    }
    return false;
}

void SimEnvironment::ForceWeather(uint32_t type, float /*transitionSeconds*/) {
    forcedWeather_ = type;
    clearOverMs_ = -1;
}

void SimEnvironment::ClearWeatherOverTime(int milliseconds) {
    clearStartMs_ = world_.NowMs();
    clearOverMs_ = milliseconds;
}

uint32_t SimEnvironment::CurrentWeather() const {
    if (forcedWeather_ == 0) {
        return baseWeather_;
    }
    if (clearOverMs_ >= 0 &&
        world_.NowMs() >= clearStartMs_ + static_cast<uint64_t>(clearOverMs_)) {
        return baseWeather_;
    }
    return forcedWeather_;
}

void SimEnvironment::StrikeLightning(const Vec3& pos) {
    lightning_.push_back(LightningStrike{world_.NowMs(), pos});
}
