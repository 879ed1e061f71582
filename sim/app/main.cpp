// tarrowind-sim: runs the real plug-in against the stand-in host on virtual time, printing
// each log line as it is written and a summary at the end.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "sim/app/run_summary.h"
#include "sim/app/sim_options.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"

namespace {

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "tarrowind-sim: %s\n", message.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, &options, &error)) {
        return Fail(error, 2);
    }

    // Paths given on the command line are the caller's, not the working folder's.
    if (!options.summaryJson.empty()) {
        options.summaryJson = std::filesystem::absolute(options.summaryJson).string();
    }
    if (!options.scenario.empty()) {
        options.scenario = std::filesystem::absolute(options.scenario).string();
    }

    // The working folder plays the game's: the plug-in reads Tarrowind/Tarrowind.ini and
    // appends to Tarrowind/logs there. An installed copy ships the logs folder; so do we.
    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(options.workdir) / "Tarrowind" / "logs", ec);
    if (ec || chdir(options.workdir.c_str()) != 0) {
        return Fail("cannot use '" + options.workdir + "' as the working folder", 2);
    }

    World world(options.seed);
    if (!BuildWorldForRun(world, options.scenario, &error)) {
        return Fail(error, 2);
    }

    const HostOptions hostOptions = HostOptionsForSeed(options.seed);

    SimRun run(world, hostOptions);
    run.echoLines = !options.quiet;
    const auto wallStart = std::chrono::steady_clock::now();
    run.LoadPlugin();
    run.Run(options.minutes * 60000);
    RunSummary summary;
    summary.endedMidEvent = !run.FinishRunningEvent(30 * 60000);
    summary.simulatedMinutes = static_cast<double>(run.Host().NowMs()) / 60000.0;
    summary.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    std::printf("%s", SummaryText(run, summary).c_str());
    if (!options.summaryJson.empty()) {
        std::ofstream out(options.summaryJson);
        out << SummaryJson(run, summary);
        if (!out) {
            return Fail("cannot write '" + options.summaryJson + "'", 1);
        }
    }
    return run.Host().Violations().empty() ? 0 : 1;
}
