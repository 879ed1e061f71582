// Faults the plug-in must ride out in a running main loop: the log folder vanishing mid-run,
// a mission flag that flaps every frame, and a failure before start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "host/native_list.h"
#include "platform/platform.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

size_t CountStartingWith(const std::vector<std::string>& messages, const std::string& prefix) {
    return static_cast<size_t>(
        std::count_if(messages.begin(), messages.end(),
                      [&prefix](const std::string& m) { return m.rfind(prefix, 0) == 0; }));
}

TEST(Faults, LogFolderGoneMidRunLosesNothingItCouldWriteAndSaysWhatItLost) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({"Sudden_Fog", "Sudden_Hurricane"}));
    World world;
    world.CreatePlayer(Vec3{});
    SimRun run(world);
    run.LoadPlugin();
    run.Run(3 * 60000);
    const auto logs = dir.Root() / "Tarrowind" / "logs";
    std::filesystem::rename(logs, dir.Root() / "Tarrowind" / "away");
    run.Run(3 * 60000);
    std::filesystem::rename(dir.Root() / "Tarrowind" / "away", logs);
    run.Run(3 * 60000);

    size_t lost = 0;
    std::vector<std::string> expectedInFile;
    for (const LoggedLine& line : run.Lines()) {
        if (line.written) {
            expectedInFile.push_back(line.line);
        } else {
            ++lost;
        }
    }
    ASSERT_GT(lost, 0u);
    std::vector<std::string> inFile;
    for (const std::string& name : dir.LogFiles()) {
        for (const std::string& line : dir.LogLines(name)) {
            inFile.push_back(line);
        }
    }
    EXPECT_EQ(inFile, expectedInFile);
    EXPECT_EQ(CountStartingWith(run.Messages(), "Could not write " + std::to_string(lost) +
                                                    " log lines while Tarrowind/logs was missing"),
              1u);
    EXPECT_EQ(run.Figures().mainLoopExceptions, 0u);
}

bool flagOn = false;
void FlappingMissionFlag(World&, const NativeArgs&, NativeResult& result) {
    flagOn = !flagOn;
    result.SetBool(flagOn);
}

TEST(Faults, MissionFlagFlappingEveryFrameStillLetsTheTimersRun) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({"Sudden_Fog"}));
    World world;
    world.CreatePlayer(Vec3{});
    SimRun run(world);
    run.Host().OverrideNative(native::id::GET_MISSION_FLAG::kHash, FlappingMissionFlag);
    run.LoadPlugin();
    run.Run(10 * 60000);
    const auto messages = run.Messages();
    // Each mission pass waits 10 s, each free pass runs the timer: fog comes once a minute.
    EXPECT_GE(CountStartingWith(messages, "Executing event_weather_fog"), 8u);
    EXPECT_GE(CountStartingWith(messages, "Mission flag is set"), 50u);
    EXPECT_EQ(run.Figures().mainLoopExceptions, 0u);
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

TEST(Faults, AFailureBeforeStartUpIsLoggedAndThePluginStartsAllTheSame) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({}));
    World world;
    world.CreatePlayer(Vec3{});
    SimRun run(world);
    const platform::ClockSource failingOnce = {TickThatFailsOnce, HostSleep, HostCalendar};
    platform::SetClockSource(&failingOnce);
    tickFailed = false;
    run.LoadPlugin();
    run.Run(10000);
    const auto messages = run.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], "Exception before start-up: no tick count");
    EXPECT_EQ(CountStartingWith(messages, "Tarrowind script started"), 1u);
}

}  // namespace
