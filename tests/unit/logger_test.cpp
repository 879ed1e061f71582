// The log file: one per local day, the Debug filter first, no failure reaching the caller.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string_view>

#include "core/config.h"
#include "core/logger.h"
#include "host/script_main.h"
#include "platform/platform.h"
#include "sim/world/sim_calendar.h"
#include "support/temp_workdir.h"

namespace {

// The tick count stands still while the calendar moves, as it does when the clock is set.
std::time_t fakeNow = 0;
int localTimeConversions = 0;
bool CountedLocalTime(std::time_t when, std::tm* out) {
    ++localTimeConversions;
    return SimulatedLocalTime(when, out);
}
const platform::ClockSource kFakeClock = {[] { return uint64_t{0}; }, [](uint32_t) {},
                                          [] { return fakeNow; }, CountedLocalTime};

class LoggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        platform::SetClockSource(&kFakeClock);
        fakeNow = 1709942400 + 21 * 3600 + 5 * 60 + 17;  // 2024-03-09 21:05:17 UTC
    }
    void TearDown() override {
        platform::SetClockSource(nullptr);
        ResetProcessState();
    }
    TempWorkdir dir;
};

// Lines logged with no wait between them are one frame of the script.
TEST_F(LoggerTest, EachLevelInTheLineLayoutToTheFileOfItsDayAFrameOpeningEachDaysFileOnce) {
    const platform::AppendFileCounts before = platform::CountAppendFiles();
    Log(LogLevel::Debug, "Selected Event: event5_mugging");
    Log(LogLevel::Info, "a [bracketed]\nmessage");
    LogError("");
    fakeNow = 1710028799;  // 23:59:59
    Log(LogLevel::Info, "before");
    fakeNow += 1;
    Log(LogLevel::Info, "after");
    Log(LogLevel::Info, "after, again");
    const platform::AppendFileCounts inFrame = platform::CountAppendFiles();
    EXPECT_EQ(inFrame.opened - before.opened, 2u) << "one open for each day's file";
    EXPECT_EQ(inFrame.closed - before.closed, 1u) << "the first day's file closed at midnight";
    CloseLogFile();
    EXPECT_EQ(platform::CountAppendFiles().closed - before.closed, 2u);
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-09.log"),
              (std::vector<std::string>{
                  "[2024-03-09 21:05:17] [DEBUG] Selected Event: event5_mugging",
                  "[2024-03-09 21:05:17] [INFO] a [bracketed]",
                  "message",  // written unchanged
                  "[2024-03-09 21:05:17] [ERROR] ", "[2024-03-09 23:59:59] [INFO] before"}));
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-10.log"),
              (std::vector<std::string>{"[2024-03-10 00:00:00] [INFO] after",
                                        "[2024-03-10 00:00:00] [INFO] after, again"}));
}

// A stamp is converted once a second, and a kept one serves no other second: not the next, not
// the first after midnight, not one the clock was set back to, not the same time a day later.
TEST_F(LoggerTest, AStampIsConvertedOnceASecondAndServesNoOther) {
    fakeNow = 1710028798;  // 2024-03-09 23:59:58
    localTimeConversions = 0;
    Log(LogLevel::Info, "a");
    Log(LogLevel::Info, "b");
    fakeNow += 1;
    Log(LogLevel::Info, "c");
    fakeNow += 1;
    Log(LogLevel::Info, "d");
    fakeNow -= 2;
    Log(LogLevel::Info, "e");
    fakeNow += 24 * 3600;
    Log(LogLevel::Info, "f");
    EXPECT_EQ(localTimeConversions, 5) << "one for each second of a line, none for a repeat";
    CloseLogFile();
    Log(LogLevel::Info, "g");
    EXPECT_EQ(localTimeConversions, 6) << "a frame's first line converts afresh";
    CloseLogFile();
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-09.log"),
              (std::vector<std::string>{
                  "[2024-03-09 23:59:58] [INFO] a", "[2024-03-09 23:59:58] [INFO] b",
                  "[2024-03-09 23:59:59] [INFO] c", "[2024-03-09 23:59:58] [INFO] e"}));
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-10.log"),
              (std::vector<std::string>{"[2024-03-10 00:00:00] [INFO] d",
                                        "[2024-03-10 23:59:58] [INFO] f",
                                        "[2024-03-10 23:59:58] [INFO] g"}));
}

// A part that logs as it becomes text.
struct LoggingText {
    operator std::string_view() const {
        Log(LogLevel::Info, "inner ", 1);
        return "part";
    }
};

TEST_F(LoggerTest, ALineLoggedWhileAnotherIsJoinedLeavesBothWhole) {
    Log(LogLevel::Info, "outer ", 2, " ", LoggingText{}, " ", 3);
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-09.log"),
              (std::vector<std::string>{"[2024-03-09 21:05:17] [INFO] inner 1",
                                        "[2024-03-09 21:05:17] [INFO] outer 2 part 3"}));
}

// What the simulator is shown: each line as written, or the message of a line that was lost.
std::vector<std::string> observed;
void Observe(LogLevel, std::string_view message, std::string_view line, bool written) {
    observed.push_back(written ? std::string(line) : "lost: " + std::string(message));
}

TEST_F(LoggerTest, LinesLostWhileTheFolderWasGoneAreReportedOnceItIsBack) {
    observed.clear();
    SetLogObserver(Observe);
    const auto logs = dir.Root() / "Tarrowind" / "logs";
    std::filesystem::rename(logs, dir.Root() / "Tarrowind" / "moved");
    Log(LogLevel::Info, "lost 1");
    EXPECT_EQ(UnwrittenLogLines(), 1u);
    LogError("lost 2");
    EXPECT_FALSE(std::filesystem::exists(logs)) << "the logger makes no folder";
    std::filesystem::rename(dir.Root() / "Tarrowind" / "moved", logs);
    Log(LogLevel::Info, "back");
    Log(LogLevel::Info, "again");  // the count starts over once told
    SetLogObserver(nullptr);
    const std::string kAt = "[2024-03-09 21:05:17] ";
    const std::vector<std::string> written = {
        kAt +
            "[ERROR] Could not write 2 log lines while Tarrowind/logs was missing or not writable",
        kAt + "[INFO] back", kAt + "[INFO] again"};
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-09.log"), written);
    EXPECT_EQ(observed, (std::vector<std::string>{"lost: lost 1", "lost: lost 2", written[0],
                                                  written[1], written[2]}));
}

// A text part that counts the times it is turned into text.
int timesFormed = 0;
struct CountedText {
    operator std::string_view() const {
        ++timesFormed;
        return "counted";
    }
};

TEST_F(LoggerTest, PartsAreJoinedAsToStringWouldAndOnlyForLinesWritten) {
    timesFormed = 0;
    Config.EnableDebugLogging = false;
    Log(LogLevel::Debug, "dropped ", CountedText{});
    EXPECT_EQ(timesFormed, 0);
    EXPECT_TRUE(dir.LogFiles().empty()) << "Debug off touches no file";
    Config.EnableDebugLogging = true;
    Log(LogLevel::Debug, "kept ", CountedText{});
    EXPECT_EQ(timesFormed, 1);

    // Numbers as std::to_string writes them: an unsigned hash in full, floats to six places.
    Log(LogLevel::Info, "a ", -42, " ", INT_MIN, " ", uint32_t{0xDEADBEEF}, " ", size_t{7}, " ",
        12.5f, " ", -0.0000004f, " ", 1e30f, std::string(" end"));
    EXPECT_EQ(dir.LogLines("Tarrowind_2024-03-09.log"),
              (std::vector<std::string>{
                  "[2024-03-09 21:05:17] [DEBUG] kept counted",
                  "[2024-03-09 21:05:17] [INFO] a -42 -2147483648 3735928559 7 12.500000 "
                  "-0.000000 1000000015047466219876688855040.000000 end"}));
}

}  // namespace
