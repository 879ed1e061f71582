// What a run shows while it goes, on standard output and standard error.
#include <gtest/gtest.h>

#include "sim/app/run/run_console.h"
#include "sim/host/run_setup.h"
#include "support/temp_workdir.h"

namespace {

std::string RunShowing(bool showProgress, std::chrono::milliseconds quietStart, std::string* out) {
    TempWorkdir dir;
    World world(1);
    world.CreatePlayer(Vec3{0, 0, 0});
    SimRun run(world, HostOptionsForSeed(1));
    RunConsole console(run, true, showProgress, 60000, quietStart);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    run.LoadPlugin();
    console.Run(60000);
    console.Flush();
    *out = testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr();
}

TEST(RunConsoleTest, ProgressAppearsOnlyWhenWantedAndNeverCutsALine) {
    std::string out;
    const std::string progress = RunShowing(true, std::chrono::milliseconds(0), &out);
    EXPECT_NE(progress.find("\033[Ksimulated 0 of 1 min, 0 encounters so far"), std::string::npos)
        << progress;
    EXPECT_EQ(progress.substr(progress.size() - 4), "\r\033[K") << "cleared at the end";
    EXPECT_NE(out.find("] [INFO] Tarrowind script started\n"), std::string::npos);

    EXPECT_EQ(RunShowing(false, std::chrono::milliseconds(0), &out), "");
    EXPECT_EQ(RunShowing(true, std::chrono::seconds(60), &out), "") << "a short run shows none";
}

}  // namespace
