// The log on a full disk: a line that reaches the file only in part is lost like any other and
// counted with them, and the first line written once there is room again starts on a line of
// its own, after the notice of what was lost.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/logger.h"
#include "host/script_main.h"
#include "platform/platform.h"
#include "sim/world/sim_calendar.h"
#include "support/file_size_limit.h"
#include "support/temp_workdir.h"

namespace {

std::time_t fakeNow = 1709942400 + 21 * 3600;  // 2024-03-09 21:00:00 UTC
const platform::ClockSource kFakeClock = {[] { return uint64_t{0}; }, [](uint32_t) {},
                                          [] { return fakeNow; }, SimulatedLocalTime};

std::vector<std::string> FileLines(const TempWorkdir& dir) {
    std::ifstream in(dir.Root() / "Tarrowind" / "logs" / "Tarrowind_2024-03-09.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class LogFullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        platform::SetClockSource(&kFakeClock);
    }
    void TearDown() override {
        platform::SetClockSource(nullptr);
        ResetProcessState();
    }
    TempWorkdir dir;
};

std::string Numbered(int n) {
    return "line " + std::to_string(n) + " of the frame, long enough to fill a disk";
}
const char* const kPrefix = "[2024-03-09 21:00:00] [INFO] ";

TEST_F(LogFullDisk, ATornLineIsCountedLostAndTheNextWrittenLineStartsAfreshAfterTheNotice) {
    const std::string whole = kPrefix + Numbered(1) + "\n";
    {
        // Room for three whole lines and part of the fourth.
        FileSizeLimit full(3 * whole.size() + 20);
        for (int n = 1; n <= 7; ++n) {
            Log(LogLevel::Info, Numbered(n));
            CloseLogFile();  // a wait between lines: each is a fresh open
        }
        EXPECT_EQ(UnwrittenLogLines(), 4u) << "the torn fourth and the three after it";
    }
    Log(LogLevel::Info, "room again");
    CloseLogFile();

    const std::vector<std::string> lines = FileLines(dir);
    ASSERT_EQ(lines.size(), 6u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(lines[static_cast<size_t>(n - 1)], kPrefix + Numbered(n));
    }
    const std::string fourth = kPrefix + Numbered(4);
    EXPECT_EQ(lines[3], fourth.substr(0, 20)) << "the torn part stands alone";
    EXPECT_EQ(lines[4],
              "[2024-03-09 21:00:00] [ERROR] Could not write 4 log lines while "
              "Tarrowind/logs was missing or not writable");
    EXPECT_EQ(lines[5], std::string(kPrefix) + "room again");
    EXPECT_EQ(UnwrittenLogLines(), 0u);
}

TEST_F(LogFullDisk, ALineThatEndsExactlyAtTheLimitLeavesNothingTornBehind) {
    const std::string whole = kPrefix + Numbered(1) + "\n";
    {
        FileSizeLimit full(2 * whole.size());
        for (int n = 1; n <= 3; ++n) {
            Log(LogLevel::Info, Numbered(n));
            CloseLogFile();
        }
        EXPECT_EQ(UnwrittenLogLines(), 1u);
    }
    Log(LogLevel::Info, "room again");
    CloseLogFile();
    const std::vector<std::string> lines = FileLines(dir);
    ASSERT_EQ(lines.size(), 4u) << "no empty line where nothing was torn";
    EXPECT_EQ(lines[1], kPrefix + Numbered(2));
    EXPECT_NE(lines[2].find("Could not write 1 log lines"), std::string::npos) << lines[2];
}

}  // namespace
