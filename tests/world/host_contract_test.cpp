// The stand-in host holds the plug-in to the hook's call contract: each breach is recorded and
// stops the run, so a fault cannot pass unnoticed.
#include <gtest/gtest.h>

#include <functional>

#include "core/logger.h"
#include "host/native_list.h"
#include "host/script_hook.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

constexpr uint64_t kExists = native::id::DOES_ENTITY_EXIST::kHash;
constexpr uint64_t kMissionFlag = native::id::GET_MISSION_FLAG::kHash;

class HostContractTest : public ::testing::Test {
  protected:
    HostContractTest() { world.CreatePlayer(Vec3{0, 0, 0}); }

    void ExpectStoppedFor(StandInHost& host, const std::string& what) {
        ASSERT_EQ(host.Violations().size(), 1u);
        EXPECT_NE(host.Violations()[0].find(what), std::string::npos) << host.Violations()[0];
        EXPECT_TRUE(host.Stopped());
        EXPECT_FALSE(host.RunFor(1000)) << "a stopped run does not go on";
    }

    World world{1};
};

TEST_F(HostContractTest, EachMisuseOfTheCallInterfaceIsABreach) {
    const struct {
        std::function<void(StandInHost&)> misuse;
        const char* what;
    } breaches[] = {
        {[](StandInHost& h) { h.NativeInit(0x0123456789ABCDEFULL), h.NativeCall(); },
         "unknown native 0x123456789ABCDEF"},
        {[](StandInHost& h) {
             h.NativeInit(kExists), h.NativePush(1), h.NativePush(2), h.NativeCall();
         },
         "called with 2 arguments; it takes 1"},
        {[](StandInHost& h) { h.NativeInit(kExists), h.NativeInit(kMissionFlag); },
         "while the native call 0xD42BD6EB2E0F1677 is open"},
        {[](StandInHost& h) { h.Wait(0); }, "scriptWait called outside the script fiber"},
    };
    for (const auto& breach : breaches) {
        StandInHost host(world);
        breach.misuse(host);
        ExpectStoppedFor(host, breach.what);
    }
}

// A script that breaks the contract on its second frame, then would carry on calling.
int framesRun = 0;
void BreakingScript() {
    for (;;) {
        ++framesRun;
        if (framesRun == 2) {
            nativeInit(kExists);
            scriptWait(0);  // with the call still open
        }
        nativeInit(kMissionFlag);
        nativeCall();
        scriptWait(0);
    }
}

TEST_F(HostContractTest, ABreachInTheScriptStopsTheRunWhereItHappened) {
    TempWorkdir dir;
    framesRun = 0;
    SimRun run(world);
    run.StartScript(BreakingScript);
    EXPECT_FALSE(run.Run(10000));
    ExpectStoppedFor(run.Host(), "scriptWait while the native call");
    EXPECT_EQ(framesRun, 2);
    EXPECT_LT(run.Host().NowMs(), 1000u);
}

// A wait that skips the plug-in's own (YieldToGame), so the log file a line opened stays open.
void WaitingWithTheLogOpen() {
    for (;;) {
        Log(LogLevel::Info, "a line opens the day's file");
        scriptWait(0);
    }
}

TEST_F(HostContractTest, AWaitWithTheLogFileOpenStopsTheRun) {
    TempWorkdir dir;
    SimRun run(world);
    run.StartScript(WaitingWithTheLogOpen);
    EXPECT_FALSE(run.Run(10000));
    ExpectStoppedFor(run.Host(), "scriptWait with 1 file(s) of the plug-in open");
    EXPECT_EQ(run.Host().Stats().waits, 0u);
}

// A watch loop whose wait was dropped: it asks the game for ever within one frame.
void NeverYieldingScript() {
    for (;;) {
        nativeInit(kMissionFlag);
        nativeCall();
    }
}

TEST_F(HostContractTest, AFrameThatNeverYieldsStopsTheRunAtOnceWithItsCallRecordBounded) {
    TempWorkdir dir;
    SimRun run(world);  // recording every call
    run.StartScript(NeverYieldingScript);
    EXPECT_FALSE(run.Run(10000));
    ExpectStoppedFor(run.Host(), "100000 natives called without a scriptWait");
    EXPECT_EQ(run.Host().Calls().size(), kMaxNativesWithoutWait);
}

}  // namespace
