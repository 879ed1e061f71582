// What surrounds the peds of the simulated world: the in-game clock, the mission flag, the
// weather and lightning. Reads the world's virtual time and clock speed; owned by the world.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "sim/world/vec3.h"

class World;

struct LightningStrike {
    uint64_t atMs = 0;
    Vec3 pos;
};

class SimEnvironment {
  public:
    explicit SimEnvironment(const World& world) : world_(world) {}
    SimEnvironment(const SimEnvironment&) = delete;
    SimEnvironment& operator=(const SimEnvironment&) = delete;

    // --- the in-game clock, running at the world's gameMinutesPerRealSecond
    void SetClock(int hour, int minute);
    int ClockHours() const;
    int ClockMinutes() const;  // minutes since midnight

    // --- the mission flag: on by hand or within a window of virtual time
    void AddMissionWindow(uint64_t startMs, uint64_t endMs);
    // Switches the mission flag by hand (a scenario's mission_on and mission_off).
    void SetMissionFlag(bool on) { missionFlag_ = on; }
    bool MissionActive() const;

    // --- weather and lightning
    void ForceWeather(uint32_t type, float transitionSeconds);
    void ClearWeatherOverTime(int milliseconds);
    uint32_t ForcedWeather() const { return forcedWeather_; }
    uint32_t BaseWeather() const { return baseWeather_; }
    void SetBaseWeather(uint32_t type) { baseWeather_ = type; }
    // The forced weather fades back once its clearing time has run out.
    uint32_t CurrentWeather() const;
    void StrikeLightning(const Vec3& pos);
    const std::vector<LightningStrike>& Lightning() const { return lightning_; }

  private:
    const World& world_;
    double clockMinutesAtZero_ = 12 * 60;  // in-game minutes since midnight at virtual time 0
    bool missionFlag_ = false;
    std::vector<std::pair<uint64_t, uint64_t>> missionWindows_;
    uint32_t baseWeather_ = 0;
    uint32_t forcedWeather_ = 0;
    uint64_t clearStartMs_ = 0;
    int clearOverMs_ = -1;  // -1: not clearing
    std::vector<LightningStrike> lightning_;
};
