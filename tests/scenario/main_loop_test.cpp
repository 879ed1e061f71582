// The real main loop on the stand-in host: start-up, the mission-flag pause, the weather
// events' calls, the error chain of a failing event, a second start on a fresh fiber, and the
// library entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "core/logger.h"
#include "core/random.h"
#include "host/native_list.h"
#include "host/script_hook.h"
#include "host/script_main.h"
#include "scheduling/encounter_registry.h"
#include "scheduling/weather_registry.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace {

namespace id = native::id;

class MainLoopTest : public ::testing::Test {
  protected:
    void Load(const std::string& ini) {
        dir_.WriteIni(ini);
        world_.reset(new World(1));
        world_->CreatePlayer(Vec3{10.0f, 20.0f, 30.0f});
        world_->Environment().SetClock(21, 0);
        run_.reset(new SimRun(*world_));
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
        auto it = std::find(messages.begin(), messages.end(), first);
        std::vector<std::string> out;
        for (; it != messages.end() && out.size() < n; ++it) {
            out.push_back(*it);
        }
        return out;
    }
    TempWorkdir dir_;
    std::unique_ptr<World> world_;
    std::unique_ptr<SimRun> run_;
};

TEST_F(MainLoopTest, StartUpWithEverythingOffOnlyPollsTheMissionFlag) {
    Load(IniWith({}));
    run_->Run(4000);
    EXPECT_TRUE(Messages().empty());  // still settling for 5 seconds
    run_->Run(60000);
    const std::vector<std::string> expected = {
        "==============================================",
        "======== Starting new logging session ========",
        "==============================================",
        "Tarrowind 0.1.0",
        "Configuration loaded from: Tarrowind/Tarrowind.ini",
        "EnableDebugLogging: true",
        "Event delay range: 1-1 minutes",
        "Settings check: Tarrowind/Tarrowind.ini is read as written",
        "Tarrowind script started",
        "Debug logging is enabled",
        "Initializing event registry",
        "Clearing event registry",
        "Event registry initialized with 0 events",
        "Initializing weather event registry",
        "Clearing weather event registry",
        "Weather event registry initialized with 0 events",
    };
    EXPECT_EQ(Messages(), expected);
    // After start-up, every frame is one mission-flag poll and a wait of 0.
    const auto& calls = run_->Host().Calls();
    ASSERT_GT(calls.size(), 1000u);
    for (size_t i = calls.size() - 1000; i < calls.size(); i += 2) {
        ASSERT_EQ(calls[i].kind, HostCall::kNative);
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
        if (call.kind == HostCall::kNative && call.hash != id::GET_MISSION_FLAG::kHash) {
            weatherCalls.push_back(&call);
        }
    }
    ASSERT_EQ(weatherCalls.size(), 2u);
    EXPECT_EQ(weatherCalls[0]->hash, id::SET_WEATHER_TYPE::kHash);
    EXPECT_EQ(weatherCalls[0]->args[0], Joaat("FOG"));
    EXPECT_EQ(weatherCalls[0]->args[4], 0x41F00000u);  // 30.0
    EXPECT_EQ(weatherCalls[1]->hash, id::CLEAR_WEATHER_TYPE_OVER_TIME::kHash);
    EXPECT_EQ(weatherCalls[1]->args[0], 300000u);
    EXPECT_EQ(world_->Environment().ForcedWeather(), Joaat("FOG"));
}

TEST_F(MainLoopTest, ThunderstormStrikesNearThePlayerThirtySecondsLater) {
    Load(IniWith({"Sudden_Thunderstorm"}));
    world_->Schedule(66000, [](World& w) { w.MoveEntity(w.PlayerPed(), Vec3{500, 600, 70}); });
    run_->Run(3 * 3600 * 1000);  // enough storms for a one-in-five strike
    ASSERT_FALSE(world_->Environment().Lightning().empty());
    for (const LightningStrike& strike : world_->Environment().Lightning()) {
        EXPECT_GE(strike.pos.x, 500 - 25.0f);
        EXPECT_LE(strike.pos.x, 500 + 24.0f);
        EXPECT_GE(strike.pos.y, 600 - 25.0f);
        EXPECT_LE(strike.pos.y, 600 + 24.0f);
        EXPECT_EQ(strike.pos.z, 70.0f);
    }
    EXPECT_EQ(Count("Lightning flash forced at coordinates"),
              world_->Environment().Lightning().size());
    EXPECT_GT(Count("event_weather_thunderstorm completed successfully"),
              world_->Environment().Lightning().size());
    // Each lightning line follows its strike, 30 s after the weather change.
    const auto& calls = run_->Host().Calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].hash == id::SET_WEATHER_TYPE::kHash) {
            for (size_t j = i + 1; j < calls.size() && calls[j].hash != id::SET_WEATHER_TYPE::kHash;
                 ++j) {
                if (calls[j].hash == id::FORCE_LIGHTNING_FLASH_AT_COORDS::kHash) {
                    EXPECT_GE(calls[j].atMs - calls[i].atMs, 30000u);
                }
            }
        }
    }
}

TEST_F(MainLoopTest, MissionFlagPausesBothTimersWhileTimeCounts) {
    world_.reset();
    Load(IniWith({"Sudden_Hurricane"}));
    world_->Environment().AddMissionWindow(10000, 200000);
    run_->Run(199000);
    EXPECT_EQ(Count("Executing event_weather_hurricane"), 0u);
    EXPECT_GE(Count("Mission flag is set, skipping event and weather updates"), 18u);
    run_->Run(11000);
    // The timer ran out during the mission, so the first free pass fires it.
    EXPECT_EQ(Count("Executing event_weather_hurricane"), 1u);
}

// Native handlers that fail the way a broken game call would.
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

TEST_F(MainLoopTest, SecondStartOnAFreshFiberRebuildsWithoutDuplicates) {
    Load(IniWith({"Sudden_Fog", "Sudden_Hurricane"}));
    run_->Run(30000);
    run_->Host().RestartScript();  // the player loads a save
    run_->Run(30000);
    EXPECT_EQ(Count("Tarrowind script started"), 2u);
    EXPECT_EQ(WeatherEventRegistry.size(), 2u);
    // The timer armed by the first start keeps counting: it is not armed again.
    EXPECT_EQ(Count("Weather timer initialized with delay: 60000ms"), 1u);
    run_->Run(10000);
    EXPECT_EQ(Count("Selected Weather Event: event_weather_fog") +
                  Count("Selected Weather Event: event_weather_hurricane"),
              1u);
}

TEST_F(MainLoopTest, LibraryEntryRegistersOnAttachAndUnregistersOnDetach) {
    Load(IniWith({}));
    EXPECT_TRUE(run_->Host().ScriptRegistered());
    int otherModule = 0;
    EXPECT_EQ(PluginEntry(&otherModule, 2), 1);
    EXPECT_EQ(PluginEntry(&otherModule, 3), 1);
    EXPECT_TRUE(run_->Host().ScriptRegistered());
    run_->UnloadPlugin();
    EXPECT_FALSE(run_->Host().ScriptRegistered());
    EXPECT_TRUE(run_->Host().Violations().empty());
}

TEST_F(MainLoopTest, EachRunStartsFromTheStateOfAFreshlyLoadedLibrary) {
    // A script that draws before anything seeds the generator draws the same in every run.
    const auto runDrawing = [this] {
        run_.reset();
        world_.reset(new World(1));
        world_->CreatePlayer(Vec3{0, 0, 0});
        run_.reset(new SimRun(*world_));
        run_->StartScript(+[] {
            Log(LogLevel::Info, "Drew ", RandomInt());
            for (;;) {
                scriptWait(1000);
            }
        });
        run_->Run(2000);
        return Messages();
    };
    const auto first = runDrawing();
    EXPECT_EQ(runDrawing(), first);
    ASSERT_EQ(first.size(), 1u);
}

}  // namespace
