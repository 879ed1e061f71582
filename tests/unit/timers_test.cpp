// Random delays and the encounter timer.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <vector>

#include "core/config.h"
#include "core/logger.h"
#include "core/random.h"
#include "core/timers.h"
#include "host/script_main.h"
#include "host/script_wait.h"
#include "scheduling/encounter_registry.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

TEST(RandomDelay, CoversTheWholeSpanNeverFiresEveryFrameNorOverflowsAndIsLogged) {
    TempWorkdir dir;
    ResetProcessState();
    // The minimum and maximum set, and the only delay drawn (in minutes): a maximum below the
    // minimum is raised to it.
    const int cases[][3] = {
        {1, 1, 1}, {0, 0, 1}, {-7, -3, 1}, {5, 3, 5}, {INT_MAX, INT_MAX, 35791}};
    for (const auto& c : cases) {
        EXPECT_EQ(GenerateRandomDelay(c[0], c[1]), c[2] * 60000u) << c[0] << "-" << c[1];
    }
    EXPECT_EQ(dir.LogMessages().size(), 5u);  // one line a draw, worded as the timer test pins

    Config.EnableDebugLogging = false;
    SeedRandom(7);
    std::vector<bool> seen(60001, false);
    for (int i = 0; i < 1200000; ++i) {
        const uint32_t delay = GenerateRandomDelay(1, 2);
        ASSERT_LE(delay - 60000, 60000u) << delay;  // below 60000 wraps round
        seen[delay - 60000] = true;
    }
    for (size_t ms = 0; ms < seen.size(); ++ms) {
        ASSERT_TRUE(seen[ms]) << "never drew " << 60000 + ms << " ms";
    }
    ResetProcessState();
}

// A script that drives the encounter timer alone, with actions the test registers.
void EventTimerScript() {
    for (;;) {
        try {
            EventTimerTick();
        } catch (const std::exception& e) {
            LogError(std::string("caught: ") + e.what());
        }
        YieldToGame(0);
    }
}

class EventTimerTest : public ::testing::Test {
  protected:
    void Start(uint64_t startTickMs = 3600000) {
        HostOptions options;
        options.startTickMs = startTickMs;
        world_.CreatePlayer(Vec3{});
        world_.Environment().SetClock(12, 0);
        world_.settings.gameMinutesPerRealSecond = 0;  // the hour stays put
        run_.reset(new SimRun(world_, options));
        Config.MinEventDelayMinutes = 1;
        Config.MaxEventDelayMinutes = 1;
        run_->StartScript(EventTimerScript);
    }
    std::vector<uint64_t> TimesOf(const std::string& message) const {
        std::vector<uint64_t> times;
        for (const LoggedLine& line : run_->Lines()) {
            if (line.message == message) {
                times.push_back(line.atMs);
            }
        }
        return times;
    }
    TempWorkdir dir_;
    World world_;
    std::unique_ptr<SimRun> run_;
};

TEST_F(EventTimerTest, ExpiresAcrossTheTickCountWrapAndReArmsFromTheEndOfALongEvent) {
    Start(0x100000000ull - 30000);  // the low 32 bits roll over 30 s into the first wait
    RegisterEvent("long_event", [] {
        Log(LogLevel::Info, "long event starts");
        YieldToGame(180000);
        Log(LogLevel::Info, "long event ends");
    });
    run_->Run(10 * 60000);
    const auto starts = TimesOf("long event starts");
    const auto ends = TimesOf("long event ends");
    ASSERT_GE(starts.size(), 2u);
    // Within a few frames of the delay (a time too early wraps round to a huge difference).
    EXPECT_LT(starts[0] - 60000, 100u);
    EXPECT_LT(starts[1] - ends[0] - 60000, 100u);
}

TEST_F(EventTimerTest, SkippedPickRetriesAfterTenSecondsWithoutANewDelay) {
    Start();
    RegisterEvent("event5_mugging", [] {});  // skipped at noon
    run_->Run(3 * 60000);
    const auto skips =
        TimesOf("Skipping event5_mugging due to time constraints (current hour: 12)");
    ASSERT_GE(skips.size(), 10u);
    EXPECT_LT(skips[1] - skips[0] - 10000, 100u);
    // Only the arming delay was drawn.
    EXPECT_EQ(TimesOf("Generated random delay: 60000ms (1.000000 minutes)").size(), 1u);
}

TEST_F(EventTimerTest, FailedRunStaysExpiredAndPicksAgainAtOnce) {
    Start();
    RegisterEvent("failing_event", [] { throw std::runtime_error("boom"); });
    run_->Run(90000);
    const auto failures = TimesOf("caught: Event execution failed: boom");
    ASSERT_GE(failures.size(), 2u);
    EXPECT_LE(failures[1] - failures[0], 100u);  // the very next pass
    EXPECT_EQ(TimesOf("Exception during random event execution: boom").size(), failures.size());
}

}  // namespace
