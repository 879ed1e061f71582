// A session that dies of a fault: the recording holds every call up to it, frame unfinished
// and all, and ends in a crashed record; the replay plays it to the crash and names where it
// came from. The crashes are real ones, in a child process that dies of them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <setjmp.h>
#include <signal.h>
#include <sys/wait.h>
#include <memory>

#include <algorithm>
#include <cstring>

#include "platform/fatal_faults.h"
#include "session_fixture.h"
#include "sim/world/native_names.h"
#include "world/aggressor_blip.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

constexpr uint64_t kMinutes = 6;
// The town's second nearby-ped scan is an encounter's, in the middle of its first frame.
constexpr uint64_t kCrashingScan = 2;

// However the fault ends the child (the default action, or a sanitizer's report): not normally.
bool DiedOfTheFault(int status) {
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

uint64_t Hash(const char* native) {
    uint64_t hash = 0;
    EXPECT_TRUE(NativeHashNamed(native, &hash)) << native;
    return hash;
}

std::string OnlyRecording(const TempWorkdir& folder) {
    for (const std::string& name : folder.LogFiles()) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rec") == 0) {
            return ReadBytes((folder.Root() / "Tarrowind" / "logs" / name).string());
        }
    }
    return std::string();
}

// The default town with the plug-in loaded (recording, as the folder's INI says), some time in:
// what each crash below interrupts. It must outlive the fault, which the recorder writes out.
struct TownUnderWay {
    World world{3};
    std::unique_ptr<SimRun> run;
    explicit TownUnderWay(uint64_t ms) {
        std::string error;
        BuildDefaultWorld(world, &error);
        run = std::make_unique<SimRun>(world, FixedHostOptions());
        run->LoadPlugin();
        run->Run(ms);
    }
};

// Reads every record of a recording, to where it ends.
void ReadToTheEnd(const std::string& bytes, recording::RecordingReader* reader) {
    std::string error;
    ASSERT_TRUE(reader->Open(bytes, &error)) << error;
    recording::Record record;
    while (reader->Next(&record)) {
    }
}

// What a session that crashed left behind, and what the same session did without the crash.
struct Crashed {
    std::string bytes;
    std::map<std::string, std::string> logs;
    SessionOutcome uncrashed;
};

const Crashed& CrashInsideTheScan() {
    static const Crashed crashed = [] {
        Crashed c;
        {
            TempWorkdir folder;
            folder.WriteIni(TownIni(true));
            c.uncrashed = PlayTown(folder, kMinutes);
        }
        TempWorkdir folder;
        folder.WriteIni(TownIni(true));
        GTEST_FLAG_SET(death_test_style, "fast");  // the child writes into this very folder
        EXPECT_EXIT(PlayTown(folder, kMinutes, FixedHostOptions(),
                             [](SimRun& run) {
                                 run.Host().GetWorld().PlanNativeCrash(Hash("GET_PED_NEARBY_PEDS"),
                                                                       kCrashingScan);
                             }),
                    DiedOfTheFault, "");
        c.bytes = OnlyRecording(folder);
        c.logs = LogFilesOf(folder);
        return c;
    }();
    return crashed;
}

TEST(Crash, InsideANativeTheReplayReachesTheCrashingCallAndNamesIt) {
    const Crashed& crashed = CrashInsideTheScan();
    ASSERT_FALSE(crashed.bytes.empty()) << "the crash left no recording";
    TempWorkdir folder;
    const ReplayOutcome replay = Replay(folder, crashed.bytes);
    ASSERT_TRUE(replay.opened) << replay.openError;
    EXPECT_EQ(replay.state, SessionReplay::State::Crashed) << replay.difference;
    EXPECT_EQ(replay.ending, recording::RecordingReader::Ending::Crashed);

    // Every call the session made before the crash, in the same order at the same times, the
    // last frame unfinished; the crashing call itself got no answer and is not among them.
    const std::vector<std::string>& whole = crashed.uncrashed.calls;
    const size_t before = replay.calls.size();
    ASSERT_LT(before, whole.size());
    EXPECT_TRUE(std::equal(replay.calls.begin(), replay.calls.end(), whole.begin()));
    const std::string crashing = whole[before];
    EXPECT_NE(crashing.find(" GET_PED_NEARBY_PEDS("), std::string::npos) << crashing;
    EXPECT_EQ(std::count_if(whole.begin(), whole.begin() + static_cast<long>(before) + 1,
                            [](const std::string& call) {
                                return call.find(" GET_PED_NEARBY_PEDS(") != std::string::npos;
                            }),
              static_cast<long>(kCrashingScan));
    EXPECT_EQ(whole[before - 1].find(" wait "), std::string::npos) << "the crash came mid-frame";
    // The log the player sends is the log the replay writes.
    EXPECT_EQ(replay.logs, crashed.logs);

    const std::string lastLine = Lines(crashed.logs.begin()->second).back();
    EXPECT_NE(replay.crashLine.find("the session crashed at call " +
                                    std::to_string(replay.callsReplayed + 1) + ", "),
              std::string::npos)
        << replay.crashLine;
    EXPECT_NE(replay.crashLine.find("access violation (0xC0000005) inside the native "
                                    "GET_PED_NEARBY_PEDS (the plug-in asked GET_PED_NEARBY_PEDS("),
              std::string::npos)
        << replay.crashLine;
    EXPECT_NE(replay.crashLine.find("; last log line: " + lastLine), std::string::npos)
        << replay.crashLine;
}

TEST(Crash, ARecordingCutAnywhereBeforeTheCrashReplaysToItsLastWholeRecord) {
    const Crashed& crashed = CrashInsideTheScan();
    ASSERT_GT(crashed.bytes.size(), 4000u);
    recording::RecordingReader full;
    std::string error;
    ASSERT_TRUE(full.Open(crashed.bytes, &error)) << error;
    std::vector<size_t> recordEnds;
    recording::Record record;
    while (full.Next(&record)) {
        recordEnds.push_back(full.BytesRead());
    }
    ASSERT_EQ(full.Ended(), recording::RecordingReader::Ending::Crashed);
    const size_t crashedAt = recordEnds.back();  // the crashed record starts here
    ASSERT_LT(crashedAt, crashed.bytes.size());

    // Every byte of the last 3000: the unfinished frame and the crashed record itself.
    for (size_t cut = crashed.bytes.size() - 3000; cut < crashed.bytes.size(); ++cut) {
        recording::RecordingReader reader;
        ASSERT_TRUE(reader.Open(crashed.bytes.substr(0, cut), &error)) << error;
        while (reader.Next(&record)) {
        }
        ASSERT_EQ(reader.Ended(), recording::RecordingReader::Ending::Cut) << cut;
        const auto wholeBefore = std::upper_bound(recordEnds.begin(), recordEnds.end(), cut);
        ASSERT_EQ(reader.BytesRead(), wholeBefore == recordEnds.begin() ? 0 : *(wholeBefore - 1))
            << cut;
    }
    // Replayed, a cut just short of the crashed record is a session that simply stops there.
    TempWorkdir folder;
    const ReplayOutcome cut = Replay(folder, crashed.bytes.substr(0, crashed.bytes.size() - 1));
    EXPECT_EQ(cut.state, SessionReplay::State::Ended) << cut.difference;
    EXPECT_EQ(cut.ending, recording::RecordingReader::Ending::Cut);
    EXPECT_TRUE(cut.crashLine.empty());
    EXPECT_EQ(cut.logs, crashed.logs);
}

// Our own code at fault: a ped-move helper given a ped variable that points nowhere.
TEST(Crash, InOurOwnCodeTheRecordingGivesThePlaceInTheModule) {
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            TownUnderWay town(2 * 60000);
            PedLedger ledger;
            AggressorBlip blip;
            LetPedGo(reinterpret_cast<Ped*>(uintptr_t{16}), blip, ledger);
            std::exit(0);
        },
        DiedOfTheFault, "");
    const std::string bytes = OnlyRecording(folder);
    ASSERT_FALSE(bytes.empty());
    recording::RecordingReader reader;
    ReadToTheEnd(bytes, &reader);
    ASSERT_EQ(reader.Ended(), recording::RecordingReader::Ending::Crashed);
    const recording::CrashNote& crash = reader.Crash();
    EXPECT_EQ(crash.code, 0xC0000005u);
    EXPECT_EQ(crash.nativeHash, 0u) << "no native was being called";
    ASSERT_TRUE(crash.inOurModule);
    // The offset lands in the helper: the same module is loaded here, at its own base.
    void (*helper)(Ped*, AggressorBlip&, PedLedger&) = &LetPedGo;
    Dl_info module{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(helper), &module), 0);
    const uint64_t helperOffset =
        reinterpret_cast<uintptr_t>(helper) - reinterpret_cast<uintptr_t>(module.dli_fbase);
    EXPECT_GE(crash.moduleOffset, helperOffset);
    EXPECT_LT(crash.moduleOffset, helperOffset + 512);

    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_EQ(replay.state, SessionReplay::State::Crashed) << replay.difference;
    char offset[32];
    std::snprintf(offset, sizeof(offset), "0x%llX",
                  static_cast<unsigned long long>(crash.moduleOffset));
    EXPECT_NE(replay.crashLine.find(std::string("access violation (0xC0000005) in the plug-in's "
                                                "own code at module offset ") +
                                    offset),
              std::string::npos)
        << replay.crashLine;
}

// Neither ours nor a native's: a fault in the C library, handed a pointer to nowhere.
TEST(Crash, OutsideThePlugInsModuleTheRecordingSaysSoWithNoPlace) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reports the bad memset itself, before any fault";
#endif
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            TownUnderWay town(60000);
            void* (*volatile fill)(void*, int, size_t) = &std::memset;
            fill(reinterpret_cast<void*>(uintptr_t{16}), 0, 64);
            std::exit(0);
        },
        DiedOfTheFault, "");
    const std::string bytes = OnlyRecording(folder);
    recording::RecordingReader reader;
    ReadToTheEnd(bytes, &reader);
    ASSERT_EQ(reader.Ended(), recording::RecordingReader::Ending::Crashed) << reader.Problem();
    EXPECT_FALSE(reader.Crash().inOurModule);
    EXPECT_EQ(reader.Crash().moduleOffset, 0u);
    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_NE(replay.crashLine.find("access violation (0xC0000005) outside the plug-in's module"),
              std::string::npos)
        << replay.crashLine;
}

// Recursion deeper than any stack, a frame at a time, until the stack is gone.
volatile int depthLimit = 1 << 30;
[[gnu::noinline]] int Bottomless(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return depth < depthLimit ? Bottomless(depth + 1) + frame[0] : 0;
}

// With its stack used up the handler still runs (on a stack of its own) and writes it all.
TEST(Crash, AStackOverflowStillLeavesTheWholeRecording) {
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            TownUnderWay town(60000);
            std::exit(Bottomless(0));
        },
        DiedOfTheFault, "");
    recording::RecordingReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(OnlyRecording(folder), &error)) << error;
    recording::Record record;
    while (reader.Next(&record)) {
    }
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Crashed) << reader.Problem();
    EXPECT_EQ(reader.Crash().code, platform::kAccessViolation);
    EXPECT_TRUE(reader.Crash().inOurModule);
}

sigjmp_buf pastTheFault;
void HandleLikeTheHook(int) {
    siglongjmp(pastTheFault, 1);
}

// Code before ours that handles the fault itself (as a hook may catch a script's access
// violation and carry on): the recording has ended with the crash, and records no more.
TEST(Crash, AFaultSomeoneElseHandlesEndsTheRecordingAllTheSame) {
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            struct sigaction hook {};
            hook.sa_handler = HandleLikeTheHook;
            sigemptyset(&hook.sa_mask);
            sigaction(SIGSEGV, &hook, nullptr);
            TownUnderWay town(60000);
            SimRun& run = *town.run;
            if (sigsetjmp(pastTheFault, 1) == 0) {
                volatile int* volatile nowhere = reinterpret_cast<volatile int*>(uintptr_t{16});
                *nowhere = 1;
            }
            const bool recordingAfter = session_record::Active();
            run.Run(60000);  // the host would stop at a file the crash's write left open
            run.UnloadPlugin();
            std::exit(recordingAfter ? 3 : !run.Host().Violations().empty() ? 4 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    const std::string bytes = OnlyRecording(folder);
    recording::RecordingReader reader;
    ReadToTheEnd(bytes, &reader);
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Crashed);
    EXPECT_EQ(reader.BytesRead(), bytes.size()) << "nothing after the crashed record";
}

// The handler is there from the decision to record to the unload, and never without it.
TEST(Crash, TheHandlerIsInstalledOnlyWhileRecording) {
    for (const bool record : {false, true}) {
        TempWorkdir folder;
        folder.WriteIni(TownIni(record));
        World world(3);
        std::string error;
        ASSERT_TRUE(BuildDefaultWorld(world, &error)) << error;
        SimRun run(world, FixedHostOptions());
        run.LoadPlugin();
        EXPECT_FALSE(platform::WatchingFatalFaults()) << "nothing before the settings are read";
        run.Run(60000);
        EXPECT_EQ(platform::WatchingFatalFaults(), record);
        run.UnloadPlugin();
        EXPECT_FALSE(platform::WatchingFatalFaults());
    }
}

}  // namespace
