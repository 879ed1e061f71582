// The day's log file is open only within a frame of the script: each line is in the file the
// moment it is logged, a frame of many lines opens the file once, and the game never runs
// while the plug-in holds it (what the operating system says, not only what the logger says).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/logger.h"
#include "host/native_list.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "platform/platform.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLinesPerFrame = 3;
const TempWorkdir* gameFolder = nullptr;

// Descriptors of this process open on a file under the game folder's Tarrowind/logs.
int OpenLogDescriptors() {
    const std::string logs = (gameFolder->Root() / "Tarrowind" / "logs").string() + "/";
    int open = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code gone;  // the listing's own descriptor is closed by the time it is read
        if (fs::read_symlink(entry.path(), gone).string().rfind(logs, 0) == 0) {
            ++open;
        }
    }
    return open;
}

struct MidFrameLook {
    std::vector<std::string> lines;  // the day's file (only one in the folder) as it stood
    uint64_t opensThisFrame;
    int descriptors;
};
std::vector<MidFrameLook> looks;
uint64_t opensAtFrameStart = 0;

void MissionFlagLookingAtTheLog(World&, const NativeArgs&, NativeResult& result) {
    const std::vector<std::string> files = gameFolder->LogFiles();
    looks.push_back({files.size() == 1 ? gameFolder->LogLines(files[0]) : files,
                     platform::CountAppendFiles().opened - opensAtFrameStart,
                     OpenLogDescriptors()});
    result.SetBool(false);
}

// Each frame logs a few lines, asking the game something after each one.
void LinesAndQuestions() {
    for (int frame = 0;; ++frame) {
        for (int line = 0; line < kLinesPerFrame; ++line) {
            Log(LogLevel::Info, "frame ", frame, " line ", line);
            GET_MISSION_FLAG();
        }
        YieldToGame(0);
    }
}

TEST(LogFileFrame, LinesReachTheFileAtOnceInOneOpenPerFrameAndNoneIsHeldWhileTheGameRuns) {
    TempWorkdir dir;
    gameFolder = &dir;
    looks.clear();
    World world;
    world.CreatePlayer(Vec3{});
    SimRun run(world);
    run.Host().OverrideNative(native::id::GET_MISSION_FLAG::kHash, MissionFlagLookingAtTheLog);
    run.Host().onFrameStart = [] { opensAtFrameStart = platform::CountAppendFiles().opened; };
    std::vector<int> descriptorsAtWaits;
    const fs::path logs = dir.Root() / "Tarrowind" / "logs";
    run.Host().onFrameEnd = [&](uint32_t, uint32_t) {
        descriptorsAtWaits.push_back(OpenLogDescriptors());
        // A player renames the log while the game runs: the next frame starts a fresh file.
        for (const std::string& name : dir.LogFiles()) {
            fs::rename(logs / name, dir.Root() / "Tarrowind" /
                                        (name + "." + std::to_string(descriptorsAtWaits.size())));
        }
    };
    run.StartScript(LinesAndQuestions);
    ASSERT_TRUE(run.Run(4 * 33));
    gameFolder = nullptr;

    ASSERT_GE(looks.size(), 3u * kLinesPerFrame);
    for (size_t i = 0; i < looks.size(); ++i) {
        const size_t frame = i / kLinesPerFrame;
        const size_t line = i % kLinesPerFrame;
        const MidFrameLook& look = looks[i];
        ASSERT_EQ(look.lines.size(), line + 1) << "frame " << frame << ": only its own lines";
        for (size_t earlier = 0; earlier <= line; ++earlier) {
            const std::string expected =
                "frame " + std::to_string(frame) + " line " + std::to_string(earlier);
            EXPECT_NE(look.lines[earlier].find("[INFO] " + expected), std::string::npos)
                << look.lines[earlier];
        }
        EXPECT_EQ(look.opensThisFrame, 1u) << "frame " << frame << ", line " << line;
        EXPECT_EQ(look.descriptors, 1) << "frame " << frame << ", line " << line;
    }
    EXPECT_EQ(descriptorsAtWaits, std::vector<int>(descriptorsAtWaits.size(), 0));
    EXPECT_TRUE(run.Host().Violations().empty());
}

}  // namespace
