// The registries: rebuilt from the switches without duplicates, and the in-game hour rules of
// the two night encounters.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/config.h"
#include "scheduling/encounter_registry.h"
#include "scheduling/weather_registry.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

class RegistryTest : public ::testing::Test {
  protected:
    RegistryTest() : run_(world_) { world_.settings.gameMinutesPerRealSecond = 0; }
    TempWorkdir dir_;
    World world_;
    SimRun run_;
};

TEST_F(RegistryTest, RebuildingKeepsEachEnabledEntryOnce) {
    Config.Sudden_Thunderstorm = true;
    Config.Sudden_Fog = true;
    InitializeWeatherRegistry();
    InitializeWeatherRegistry();
    ASSERT_EQ(WeatherEventRegistry.size(), 2u);
    EXPECT_EQ(WeatherEventRegistry[0].name, "event_weather_thunderstorm");
    EXPECT_EQ(WeatherEventRegistry[1].name, "event_weather_fog");

    InitializeEventRegistry();
    const size_t once = EncounterRegistry.size();
    InitializeEventRegistry();
    EXPECT_EQ(EncounterRegistry.size(), once);
}

TEST_F(RegistryTest, NightEncountersAreSkippedByDay) {
    struct Case {
        int hour;
        bool animalRuns;
        bool muggingRuns;
    };
    const Case cases[] = {{5, true, false},   {6, false, false}, {12, false, false},
                          {19, false, false}, {20, true, false}, {21, true, true},
                          {0, true, true},    {4, true, true}};
    static int ran = 0;
    for (const Case& c : cases) {
        world_.Environment().SetClock(c.hour, 30);
        for (const char* name : {"event3_animal_aggressor", "event5_mugging", "event1_aggressor"}) {
            EncounterRegistry.clear();
            RegisterEvent(name, [] { ++ran; });
            ran = 0;
            const bool skipped = SelectAndRunEvent();
            const std::string n = name;
            const bool shouldRun = n == "event3_animal_aggressor" ? c.animalRuns
                                   : n == "event5_mugging"        ? c.muggingRuns
                                                                  : true;
            EXPECT_EQ(skipped, !shouldRun) << name << " at " << c.hour;
            EXPECT_EQ(ran, shouldRun ? 1 : 0) << name << " at " << c.hour;
        }
    }
    const auto messages = run_.Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(),
                        "Skipping event3_animal_aggressor due to time constraints (current hour: "
                        "12)"),
              messages.end());
}

}  // namespace
