// The real main loop on the stand-in host: start-up, the weather events' calls, the mission
// flag (held, and flapping every frame), the error chain of a failing event and a failure
// before start-up, a second start on a fresh fiber, the library entry, and a second run in the
// same process.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "host/native_list.h"
#include "host/script_hook.h"
#include "host/script_main.h"
#include "platform/platform.h"
#include "scheduling/encounter_registry.h"
#include "scheduling/weather_registry.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "sim/world/scenario_file.h"
#include "sim/world/sim_calendar.h"
#include "support/temp_workdir.h"

namespace {

namespace id = native::id;

class MainLoopTest : public ::testing::Test {
  protected:
    // A world at 21:00 and the plug-in loaded with this INI.
    void Load(const std::string& ini) {
        world_.CreatePlayer(Vec3{10.0f, 20.0f, 30.0f});
        world_.Environment().SetClock(21, 0);
        run_.reset(new SimRun(world_));
        dir_.WriteIni(ini);
        run_->LoadPlugin();
    }
    std::vector<std::string> Messages() const { return run_->Messages(); }
    size_t Count(const std::string& message) const {
        const auto messages = Messages();
        return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
    }
    // The messages from the first that equals `first`, `n` of them.
    std::vector<std::string> From(const std::string& first, size_t n) const {
        const auto messages = Messages();
        const auto at = std::find(messages.begin(), messages.end(), first);
        return std::vector<std::string>(at, at + std::min<ptrdiff_t>(n, messages.end() - at));
    }
    TempWorkdir dir_;
    World world_{1};
    std::unique_ptr<SimRun> run_;
};

TEST_F(MainLoopTest, StartUpWithEverythingOffOnlyPollsTheMissionFlag) {
    Load(IniWith({}));
    run_->Run(4000);
    EXPECT_TRUE(Messages().empty());  // still settling for 5 seconds
    run_->Run(60000);
    // After the header and the configuration's lines (unit-tested), the script's start-up.
    EXPECT_EQ(Messages().size(), 16u);
    EXPECT_EQ(
        From("Tarrowind script started", 8),
        (std::vector<std::string>{
            "Tarrowind script started", "Debug logging is enabled", "Initializing event registry",
            "Clearing event registry", "Event registry initialized with 0 events",
            "Initializing weather event registry", "Clearing weather event registry",
            "Weather event registry initialized with 0 events"}));
    // After start-up, every frame is one mission-flag poll and a wait of 0.
    const auto& calls = run_->Host().Calls();
    ASSERT_GT(calls.size(), 1000u);
    for (size_t i = calls.size() - 1000; i < calls.size(); i += 2) {
        ASSERT_EQ(calls[i].hash, id::GET_MISSION_FLAG::kHash);
        ASSERT_EQ(calls[i + 1].kind, HostCall::kWait);
        ASSERT_EQ(calls[i + 1].waitMs, 0u);
    }
    EXPECT_EQ(run_->Host().Stats().idleFrameNatives.rbegin()->first, 1u);
}

TEST_F(MainLoopTest, FogMakesTwoCallsAndSixLines) {
    Load(IniWith({"Sudden_Fog"}));
    run_->Run(70000);
    EXPECT_EQ(
        From("Executing event_weather_fog", 6),
        (std::vector<std::string>{
            "Executing event_weather_fog", "Event weather_fog started - performing custom logic",
            "Weather changed to fog with transition time of 30.0f",
            "Weather type cleared over time.", "Event weather_fog logic executed successfully",
            "event_weather_fog completed successfully"}));
    std::vector<const HostCall*> weatherCalls;
    for (const HostCall& call : run_->Host().Calls()) {
        // The loop's mission flag and the look at the screens before a weather moment aside.
        const bool look = call.hash == id::GET_MISSION_FLAG::kHash ||
                          call.hash == id::GET_IS_LOADING_SCREEN_ACTIVE::kHash ||
                          call.hash == id::IS_SCREEN_FADED_OUT::kHash ||
                          call.hash == id::PLAYER_ID::kHash ||
                          call.hash == id::IS_PLAYER_CONTROL_ON::kHash;
        if (call.kind == HostCall::kNative && !look) {
            weatherCalls.push_back(&call);
        }
    }
    ASSERT_EQ(weatherCalls.size(), 2u);
    EXPECT_EQ(weatherCalls[0]->hash, id::SET_WEATHER_TYPE::kHash);
    EXPECT_EQ(weatherCalls[0]->args[0], Joaat("FOG"));
    EXPECT_EQ(weatherCalls[0]->args[4], 0x41F00000u);  // 30.0
    EXPECT_EQ(weatherCalls[1]->hash, id::CLEAR_WEATHER_TYPE_OVER_TIME::kHash);
    EXPECT_EQ(weatherCalls[1]->args[0], 300000u);
    EXPECT_EQ(world_.Environment().ForcedWeather(), Joaat("FOG"));
}

TEST_F(MainLoopTest, ThunderstormStrikesNearThePlayerThirtySecondsLater) {
    Load(IniWith({"Sudden_Thunderstorm"}));
    world_.Schedule(66000, [](World& w) { w.MoveEntity(w.PlayerPed(), Vec3{500, 600, 70}); });
    run_->Run(3 * 3600 * 1000);  // enough storms for a one-in-five strike
    const auto& strikes = world_.Environment().Lightning();
    ASSERT_FALSE(strikes.empty());
    for (const LightningStrike& strike : strikes) {
        const Vec3 off{strike.pos.x - 500, strike.pos.y - 600, strike.pos.z - 70};
        EXPECT_TRUE(off.x >= -25 && off.x <= 24 && off.y >= -25 && off.y <= 24 && off.z == 0)
            << strike.pos.x << ", " << strike.pos.y << ", " << strike.pos.z;
    }
    EXPECT_EQ(Count("Lightning flash forced at coordinates"), strikes.size());
    EXPECT_GT(Count("event_weather_thunderstorm completed successfully"), strikes.size());
    // Each strike comes after a wait of 30 s from its weather change.
    uint64_t waitedSinceChangeMs = 0;
    for (const HostCall& call : run_->Host().Calls()) {
        if (call.kind == HostCall::kWait) {
            waitedSinceChangeMs += call.waitMs;
        } else if (call.hash == id::SET_WEATHER_TYPE::kHash) {
            waitedSinceChangeMs = 0;
        } else if (call.hash == id::FORCE_LIGHTNING_FLASH_AT_COORDS::kHash) {
            EXPECT_EQ(waitedSinceChangeMs, 30000u);
        }
    }
}

TEST_F(MainLoopTest, MissionFlagPausesBothTimersWhileTimeCounts) {
    Load(IniWith({"Sudden_Hurricane"}));
    world_.Environment().AddMissionWindow(10000, 200000);
    run_->Run(199000);
    EXPECT_EQ(Count("Executing event_weather_hurricane"), 0u);
    EXPECT_GE(Count("Mission flag is set, skipping event and weather updates"), 18u);
    run_->Run(11000);
    // The timer ran out during the mission, so the first free pass fires it.
    EXPECT_EQ(Count("Executing event_weather_hurricane"), 1u);
}

bool flagOn = false;
void FlappingMissionFlag(World&, const NativeArgs&, NativeResult& result) {
    flagOn = !flagOn;
    result.SetBool(flagOn);
}

TEST_F(MainLoopTest, MissionFlagFlappingEveryFrameStillLetsTheTimersRun) {
    Load(IniWith({"Sudden_Fog"}));
    run_->Host().OverrideNative(id::GET_MISSION_FLAG::kHash, FlappingMissionFlag);
    run_->Run(10 * 60000);
    // Each mission pass waits 10 s, each free pass runs the timer: fog comes once a minute.
    EXPECT_GE(Count("Executing event_weather_fog"), 8u);
    EXPECT_GE(Count("Mission flag is set, skipping event and weather updates"), 50u);
    EXPECT_EQ(run_->Figures().mainLoopExceptions, 0u);
}

void ThrowStandard(World&, const NativeArgs&, NativeResult&) {
    throw std::runtime_error("boom");
}
void ThrowOther(World&, const NativeArgs&, NativeResult&) {
    throw 42;
}

TEST_F(MainLoopTest, FailingEventLeavesTheThreeLineChainAndTheLoopGoesOn) {
    Load(IniWith({"Sudden_Fog"}));
    run_->Host().OverrideNative(id::SET_WEATHER_TYPE::kHash, ThrowStandard);
    run_->Run(70000);
    EXPECT_EQ(
        From("Exception in event_weather_fog: boom", 4),
        (std::vector<std::string>{"Exception in event_weather_fog: boom",
                                  "Exception during random weather event execution: boom",
                                  "Exception in main loop: Weather event execution failed: boom",
                                  "Using backup timing WAIT(100) after exception"}));
    // The timer stays expired: the next pass picks again.
    EXPECT_GE(Count("Selected Weather Event: event_weather_fog"), 10u);

    run_->Host().OverrideNative(id::SET_WEATHER_TYPE::kHash, ThrowOther);
    run_->Run(1000);
    EXPECT_EQ(From("Unknown exception in event_weather_fog", 4),
              (std::vector<std::string>{
                  "Unknown exception in event_weather_fog",
                  "Unknown exception during random weather event execution",
                  "Exception in main loop: Weather event execution failed: Unknown exception in "
                  "event",
                  "Using backup timing WAIT(100) after exception"}));
}

// A tick count that fails the first time it is read (the seeding), then reads the host's.
bool tickFailed = false;
uint64_t TickThatFailsOnce() {
    if (!tickFailed) {
        tickFailed = true;
        throw std::runtime_error("no tick count");
    }
    return ActiveStandInHost()->TickCount();
}
void HostSleep(uint32_t ms) {
    ActiveStandInHost()->SleepFromScript(ms);
}
std::time_t HostCalendar() {
    return ActiveStandInHost()->CalendarNow();
}

TEST_F(MainLoopTest, AFailureBeforeStartUpIsLoggedAndThePluginStartsAllTheSame) {
    Load(IniWith({}));
    const platform::ClockSource failingOnce = {TickThatFailsOnce, HostSleep, HostCalendar,
                                               SimulatedLocalTime};
    platform::SetClockSource(&failingOnce);
    tickFailed = false;
    run_->Run(10000);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages()[0], "Exception before start-up: no tick count");
    EXPECT_EQ(Count("Tarrowind script started"), 1u);
}

TEST_F(MainLoopTest, SecondStartOnAFreshFiberRebuildsWithoutDuplicates) {
    Load(IniWith({"Event6_Horse_Bucking", "Sudden_Fog", "Sudden_Hurricane"}));
    run_->Run(30000);
    run_->Host().RestartScript();  // the player loads a save
    run_->Run(30000);
    EXPECT_EQ(Count("Tarrowind script started"), 2u);
    EXPECT_EQ(EncounterRegistry.size(), 1u);
    EXPECT_EQ(WeatherEventRegistry.size(), 2u);
    // The timer armed by the first start keeps counting: it is not armed again.
    EXPECT_EQ(Count("Weather timer initialized with delay: 60000ms"), 1u);
    run_->Run(10000);
    EXPECT_EQ(Count("Selected Weather Event: event_weather_fog") +
                  Count("Selected Weather Event: event_weather_hurricane"),
              1u);
    run_.reset(new SimRun(world_));  // as a fresh load of the library leaves it
    EXPECT_TRUE(EncounterRegistry.empty() && WeatherEventRegistry.empty());
}

TEST_F(MainLoopTest, LibraryEntryRegistersOnAttachAndUnregistersOnDetach) {
    Load(IniWith({}));
    EXPECT_TRUE(run_->Host().ScriptRegistered());
    int otherModule = 0;  // thread attach and detach
    EXPECT_EQ(PluginEntry(&otherModule, 2) + PluginEntry(&otherModule, 3), 2);
    EXPECT_TRUE(run_->Host().ScriptRegistered());
    run_->UnloadPlugin();
    EXPECT_FALSE(run_->Host().ScriptRegistered());
    EXPECT_TRUE(run_->Host().Violations().empty());
}

// Two evenings in the town, one after the other in one process, make the same calls at the
// same times with the same answers: nothing the plug-in remembers (identifier hashes, timers,
// registries) outlives a run.
TEST(SameProcessTest, ASecondRunMakesTheCallsOfTheFirst) {
    std::vector<std::string> calls[2];
    for (auto& made : calls) {
        TempWorkdir dir;
        dir.WriteIni(IniWith({"Event1_Aggressor", "Event3_Animal_Predator", "Event4_Wagon_Robbery",
                              "Event5_Mugging", "Sudden_Fog"}));
        World world(5);
        std::string error;
        ASSERT_TRUE(
            LoadScenarioFile(TARROWIND_SOURCE_DIR "/scenarios/town.json", world, nullptr, &error))
            << error;
        SimRun run(world);
        run.LoadPlugin();
        ASSERT_TRUE(run.Run(12 * 60000));
        for (const HostCall& call : run.Host().Calls()) {
            made.push_back(std::to_string(call.hash) + " at " + std::to_string(call.atMs) + " = " +
                           std::to_string(call.result[0]));
        }
    }
    ASSERT_GT(calls[0].size(), 1000u);
    const auto parted =
        std::mismatch(calls[0].begin(), calls[0].end(), calls[1].begin(), calls[1].end());
    EXPECT_TRUE(parted.first == calls[0].end() && parted.second == calls[1].end())
        << "the runs part at call " << parted.first - calls[0].begin();
}

}  // namespace
