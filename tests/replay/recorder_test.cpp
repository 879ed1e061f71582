// The recorder on its own, driven as the invoker, the wait and the kernel services drive it,
// and read back with the replay's reader: what a player's file holds is what was called.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/config.h"
#include "host/recording_format.h"
#include "host/script_main.h"
#include "host/session_recorder.h"
#include "platform/fatal_faults.h"
#include "platform/platform.h"
#include "sim/replay/recording_reader.h"
#include "sim/world/sim_calendar.h"
#include "support/temp_workdir.h"

namespace {

uint64_t fakeTick = 0;
const platform::ClockSource kFakeClock = {[] { return fakeTick; }, [](uint32_t) {},
                                          [] { return std::time_t{1733500800}; },
                                          SimulatedLocalTime};
// The name the fake clock gives: 2024-12-06 16:00:00 UTC.
const std::string kFirstName = "Tarrowind/logs/Tarrowind_2024-12-06_160000.rec";

constexpr uint64_t kFlag = 0xB15CD1CF58771DE1ull;  // a native with one result and no argument
constexpr uint64_t kTwo = 0x1111ull;
constexpr uint64_t kVoid = 0x2222ull;
constexpr uint64_t kScan = 0x3333ull;

session_record::ArgNote Value(uint64_t v) {
    return {recording::kArgValue, 0, v, nullptr};
}
session_record::ArgNote Text(const char* text) {
    return {recording::kArgString, 0, 0, text};
}
template <typename T>
session_record::ArgNote Cell(T* cell) {
    return {recording::kArgCell, static_cast<uint8_t>(sizeof(T)), 0, cell};
}

class Recorder : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        platform::SetClockSource(&kFakeClock);
        fakeTick = 5000;
    }
    void TearDown() override {
        ResetProcessState();
        platform::SetClockSource(nullptr);
    }
    // As the plug-in starts one: from the load, decided when the settings are read.
    static void Start() {
        session_record::Begin();
        session_record::Decide(true);
    }
    // One idle frame: the tick count read, the mission flag asked, the wait.
    static void IdleFrame(uint64_t tickStep) {
        fakeTick += tickStep;
        platform::TickCount64();
        const uint64_t result = 0;
        session_record::NoteNative(kFlag, nullptr, 0, &result, 1);
        session_record::NoteWait(0);
    }
    static uintmax_t FileSize(const std::string& path) {
        std::error_code ec;
        const uintmax_t size = std::filesystem::file_size(path, ec);
        return ec ? 0 : size;
    }
    static std::vector<recording::Record> ReadAll(const std::string& path,
                                                  recording::RecordingReader* reader) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        EXPECT_TRUE(reader->Open(bytes, &error)) << error;
        std::vector<recording::Record> records;
        for (recording::Record record; reader->Next(&record);) {
            records.push_back(record);
        }
        return records;
    }
    TempWorkdir dir;
};

TEST_F(Recorder, TheHeaderNamesTheBuildAndEverySettingAsRead) {
    Config.EnableDebugLogging = false;
    Config.MinEventDelayMinutes = 3;
    Config.Sudden_Fog = false;
    Start();
    session_record::Close();
    recording::RecordingReader reader;
    ReadAll(kFirstName, &reader);
    EXPECT_EQ(reader.VersionLine().rfind("Tarrowind 0.1.0 (", 0), 0u) << reader.VersionLine();
    const std::string& settings = reader.Settings();
    EXPECT_EQ(std::count(settings.begin(), settings.end(), '\n'), 18);
    for (const char* line : {"Logging.EnableDebugLogging=false\n",
                             "Logging.RecordSession=", "Blips.EnableBlips=true\n",
                             "Event Timing.MinEventDelayMinutes=3\n", "Weather.Sudden_Fog=false\n",
                             "Weather Timing.Weather_MaxEventDelayMinutes="}) {
        EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
    }
}

TEST_F(Recorder, EveryArgumentKindAndResultReadsBackAsCalled) {
    Start();
    const uint64_t one = 1;
    const uint64_t zero = 0;
    const session_record::ArgNote named[] = {Value(7), Text("REL_COP")};
    session_record::NoteNative(kTwo, named, 2, &one, 1);
    const session_record::ArgNote unnamed[] = {Value(8), Text(nullptr)};
    session_record::NoteNative(kTwo, unnamed, 2, &zero, 1);
    int32_t handle = 4097;
    uint64_t wide = 0x1234567890ull;
    const session_record::ArgNote cells[] = {Cell(&handle), Cell(&wide)};
    session_record::NoteNative(kVoid, cells, 2, nullptr, 0);
    // The same native with other argument kinds is declared again, not read with the old ones.
    const session_record::ArgNote values[] = {Value(3), Value(4)};
    session_record::NoteNative(kVoid, values, 2, nullptr, 0);
    uint64_t slots[6] = {5, 4100, 4098, 4200, 77, 88};  // 5 offered, 2 filled
    const session_record::ArgNote buffer[] = {{recording::kArgSlotBuffer, 0, slots[0], slots}};
    const uint64_t filled = 2;
    session_record::NoteNative(kScan, buffer, 1, &filled, 1);
    const uint64_t none = 0;  // a scan that found nobody
    session_record::NoteNative(kScan, buffer, 1, &none, 1);
    session_record::NoteWait(0);
    session_record::Close();

    recording::RecordingReader reader;
    const std::vector<recording::Record> r = ReadAll(kFirstName, &reader);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(reader.ClosingReason(), recording::kUnloaded);

    EXPECT_EQ(r[0].hash, kTwo);
    ASSERT_EQ(r[0].args.size(), 2u);
    EXPECT_EQ(r[0].args[0].value, 7u);
    EXPECT_TRUE(r[0].args[1].present);
    EXPECT_EQ(r[0].args[1].text, "REL_COP");
    EXPECT_EQ(r[0].resultCount, 1);
    EXPECT_EQ(r[0].result[0], 1u);
    ASSERT_EQ(r[1].args.size(), 2u);
    EXPECT_EQ(r[1].args[0].value, 8u);
    EXPECT_FALSE(r[1].args[1].present) << "a null string is not an empty one";
    EXPECT_EQ(r[1].result[0], 0u);

    EXPECT_EQ(r[2].hash, kVoid);
    EXPECT_EQ(r[2].resultCount, 0);
    ASSERT_EQ(r[2].args.size(), 2u);
    EXPECT_EQ(r[2].args[0].kind, recording::kArgCell);
    EXPECT_EQ(r[2].args[0].cellSize, 4);
    EXPECT_EQ(r[2].args[0].value, 4097u);
    EXPECT_EQ(r[2].args[1].cellSize, 8);
    EXPECT_EQ(r[2].args[1].value, 0x1234567890ull);
    EXPECT_EQ(r[3].hash, kVoid);
    EXPECT_EQ(r[3].resultCount, 0);
    ASSERT_EQ(r[3].args.size(), 2u);
    EXPECT_EQ(r[3].args[0].kind, recording::kArgValue);
    EXPECT_EQ(r[3].args[0].value, 3u);
    EXPECT_EQ(r[3].args[1].value, 4u);

    EXPECT_EQ(r[4].hash, kScan);
    ASSERT_EQ(r[4].args.size(), 1u);
    EXPECT_EQ(r[4].args[0].slots, (std::vector<uint64_t>{5, 4100, 4098}))
        << "the slots offered and those the call filled, not what lay past them";
    EXPECT_EQ(r[4].result[0], 2u);
    ASSERT_EQ(r[5].args.size(), 1u);
    EXPECT_EQ(r[5].args[0].slots, (std::vector<uint64_t>{5})) << "only the slots offered";
    EXPECT_EQ(r[6].kind, recording::kWait);
}

TEST_F(Recorder, IdleFramesAreWrittenOnceASecondOfPlayHasPassedAndReadBackTickForTick) {
    Start();
    std::vector<uint64_t> answered;
    IdleFrame(100);  // declares the native: a frame of its own shape
    answered.push_back(fakeTick);
    IdleFrame(100);  // the first idle frame: written whole
    answered.push_back(fakeTick);
    const uintmax_t afterFirst = FileSize(kFirstName);
    ASSERT_GT(afterFirst, 0u);
    for (int frame = 3; frame <= 11; ++frame) {  // up to 900 ms after the write
        IdleFrame(100);
        answered.push_back(fakeTick);
        ASSERT_EQ(FileSize(kFirstName), afterFirst) << "frame " << frame << " was only counted";
    }
    IdleFrame(100);  // a second after the write
    answered.push_back(fakeTick);
    const uintmax_t afterSecond = FileSize(kFirstName);
    EXPECT_GT(afterSecond, afterFirst);
    // Uneven frames, as the game gives them: every delta kept.
    for (uint64_t step : {90, 120, 101, 33, 700}) {
        IdleFrame(step);
        answered.push_back(fakeTick);
    }
    EXPECT_GT(FileSize(kFirstName), afterSecond);
    session_record::Close();

    recording::RecordingReader reader;
    std::vector<uint64_t> read;
    for (const recording::Record& record : ReadAll(kFirstName, &reader)) {
        if (record.kind == recording::kTickCount) {
            read.push_back(record.number);
        }
    }
    EXPECT_EQ(read, answered);
    EXPECT_EQ(reader.RepeatedFrames(), answered.size() - 2);
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Closed);
}

// A game paused with the script still running: frames go by, the clock does not.
TEST_F(Recorder, IdleFramesWithNoTimePassingAreWrittenBeforeTheirTickCountsOutgrowTheBuffer) {
    Start();
    IdleFrame(100);
    IdleFrame(100);
    const uintmax_t written = FileSize(kFirstName);
    for (int frame = 1; frame < 60000; ++frame) {  // a byte of tick count each
        IdleFrame(0);
    }
    EXPECT_EQ(FileSize(kFirstName), written);
    IdleFrame(0);
    EXPECT_GT(FileSize(kFirstName), written);
    session_record::Close();
    recording::RecordingReader reader;
    ReadAll(kFirstName, &reader);
    EXPECT_EQ(reader.RepeatedFrames(), 60000u);
}

TEST_F(Recorder, TheUnloadClosesTheRecordingForGoodAndStopsWatching) {
    Start();
    EXPECT_TRUE(platform::WatchingFatalFaults());
    IdleFrame(33);
    const uint64_t result = 1;
    session_record::NoteNative(kFlag, nullptr, 0, &result, 1);  // a frame cut short
    session_record::Close();
    EXPECT_FALSE(session_record::Active());
    EXPECT_FALSE(platform::WatchingFatalFaults());
    const uintmax_t closed = FileSize(kFirstName);
    session_record::Close();
    EXPECT_EQ(FileSize(kFirstName), closed) << "one closing record";

    recording::RecordingReader reader;
    const std::vector<recording::Record> r = ReadAll(kFirstName, &reader);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[3].kind, recording::kNative) << "the unfinished frame is kept";
    EXPECT_EQ(r[3].result[0], 1u);
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Closed);

    // The next load of the library, with the key off: no file named, nothing watched.
    session_record::Reset();
    EXPECT_TRUE(session_record::FilePath().empty());
    session_record::Begin();
    session_record::Decide(false);
    EXPECT_FALSE(session_record::Active());
    EXPECT_TRUE(session_record::FilePath().empty());
}

TEST_F(Recorder, AtItsSizeCapTheRecordingClosesAndStopsWatching) {
    session_record::SetCapBytes(1200);
    Start();
    for (uint64_t frame = 0; frame < 200 && session_record::Active(); ++frame) {
        const uint64_t answer = frame;  // every frame another: each one written whole
        session_record::NoteNative(kFlag, nullptr, 0, &answer, 1);
        session_record::NoteWait(0);
    }
    EXPECT_FALSE(session_record::Active());
    EXPECT_FALSE(platform::WatchingFatalFaults());
    recording::RecordingReader reader;
    ReadAll(kFirstName, &reader);
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(reader.ClosingReason(), recording::kCapReached);
}

TEST_F(Recorder, ASecondSessionOfTheSameSecondTakesTheNextFreeNameAndNeverAnExistingFile) {
    const auto make = [](const std::string& path) { std::ofstream(path) << "a player's file"; };
    make(kFirstName);
    const std::string second = "Tarrowind/logs/Tarrowind_2024-12-06_160000_2.rec";
    Start();
    EXPECT_EQ(session_record::FilePath(), second);
    session_record::Close();
    EXPECT_GT(FileSize(second), 0u);
    session_record::Reset();

    make("Tarrowind/logs/Tarrowind_2024-12-06_160000_3.rec");
    Start();
    EXPECT_EQ(session_record::FilePath(), "Tarrowind/logs/Tarrowind_2024-12-06_160000_4.rec");
    session_record::Close();
    session_record::Reset();

    for (int n = 5; n <= 99; ++n) {
        make("Tarrowind/logs/Tarrowind_2024-12-06_160000_" + std::to_string(n) + ".rec");
    }
    const uintmax_t lastSize = FileSize("Tarrowind/logs/Tarrowind_2024-12-06_160000_99.rec");
    Start();
    EXPECT_FALSE(session_record::Active()) << "every name of the second is taken";
    EXPECT_TRUE(session_record::FilePath().empty());
    IdleFrame(33);
    session_record::Close();
    EXPECT_EQ(FileSize("Tarrowind/logs/Tarrowind_2024-12-06_160000_99.rec"), lastSize);
    EXPECT_FALSE(std::filesystem::exists("Tarrowind/logs/Tarrowind_2024-12-06_160000_100.rec"));
    CloseLogFile();
    std::ifstream log("Tarrowind/logs/Tarrowind_2024-12-06.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[ERROR] Tarrowind/logs already holds 99 session recordings of this "
                        "second; the game goes on without recording"),
              std::string::npos)
        << text;
}

// A real fault, in a child: it dies of it, and its file holds the idle frames it had only
// counted (steady ones and uneven ones), the frame it was in, and the crashed record.
TEST_F(Recorder, ACrashWritesTheCountedIdleFramesTheUnfinishedFrameAndTheCrashedRecord) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::vector<uint64_t> steady = {100, 100, 100, 100, 100};
    const std::vector<uint64_t> uneven = {100, 100, 90, 130, 70};
    for (const std::vector<uint64_t>* steps : {&steady, &uneven}) {
        std::filesystem::remove(kFirstName);
        std::vector<uint64_t> answered;
        uint64_t tick = fakeTick;
        for (uint64_t step : *steps) {
            answered.push_back(tick += step);
        }
        EXPECT_EXIT(
            {
                Start();
                for (uint64_t step : *steps) {
                    IdleFrame(step);
                }
                const uint64_t result = 0;
                session_record::NoteNative(kFlag, nullptr, 0, &result, 1);
                session_record::g_nativeInFlight = kScan;
                volatile int* volatile nowhere = reinterpret_cast<volatile int*>(uintptr_t{16});
                *nowhere = 1;
                std::exit(0);
            },
            [](int status) { return !(WIFEXITED(status) && WEXITSTATUS(status) == 0); }, "");
        recording::RecordingReader reader;
        const std::vector<recording::Record> r = ReadAll(kFirstName, &reader);
        EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Crashed) << reader.Problem();
        EXPECT_EQ(reader.RepeatedFrames(), 3u) << "all but the declaring and the first idle frame";
        ASSERT_EQ(r.size(), 5u * 3 + 1);
        std::vector<uint64_t> read;
        for (const recording::Record& record : r) {
            if (record.kind == recording::kTickCount) {
                read.push_back(record.number);
            }
        }
        EXPECT_EQ(read, answered);
        EXPECT_EQ(r.back().kind, recording::kNative) << "the unfinished frame";
        EXPECT_EQ(reader.Crash().code, platform::kAccessViolation);
        EXPECT_EQ(reader.Crash().nativeHash, kScan);
    }
}

// Before the library is loaded nothing is watched: a fresh process, as the game starts.
TEST(RecorderBeforeTheLoad, RecordsNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child starts afresh
    EXPECT_EXIT(std::exit(session_record::Active() || platform::WatchingFatalFaults() ? 1 : 0),
                ::testing::ExitedWithCode(0), "");
}

}  // namespace
