#include "sim/replay/replay_command.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "sim/app/run/run_console.h"
#include "sim/app/run/run_outputs.h"
#include "sim/app/run/run_summary.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/replay/recording_reader.h"
#include "sim/replay/session_replay.h"

int RunReplayCommand(const SimOptions& options) {
    std::string bytes;
    if (!recording::ReadRecordingFile(options.replay, &bytes)) {
        return Fail("cannot read '" + options.replay + "'", 2);
    }
    // "[Section]Key=value": the replayed plug-in reads value for that key.
    struct Setting {
        std::string section, key, value;
    };
    std::vector<Setting> settings;
    for (const std::string& text : options.replaySettings) {
        const size_t close = text.find(']');
        const size_t equals = text.find('=', close == std::string::npos ? 0 : close);
        if (text.empty() || text[0] != '[' || close == std::string::npos ||
            equals == std::string::npos || equals == close + 1) {
            return Fail("--replay-setting takes [Section]Key=value, not '" + text + "'", 2);
        }
        settings.push_back(Setting{text.substr(1, close - 1),
                                   text.substr(close + 1, equals - close - 1),
                                   text.substr(equals + 1)});
    }
    recording::RecordingReader reader;
    std::string error;
    if (!reader.Open(std::move(bytes), &error)) {
        return Fail(options.replay + ": " + error, 2);
    }

    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(options.workdir) / "Tarrowind" / "logs", ec);
    if (ec || chdir(options.workdir.c_str()) != 0) {
        return Fail("cannot use '" + options.workdir + "' as the working folder", 2);
    }

    // Nothing in the world is asked: every answer comes from the recording.
    World world(1);
    HostOptions hostOptions = HostOptionsForSeed(1);
    hostOptions.recordCalls = !options.report.empty();
    SimRun run(world, hostOptions);
    SessionReplay replay(run, reader);
    for (const Setting& setting : settings) {
        replay.ChangeSetting(setting.section, setting.key, setting.value);
    }

    RunOutputs outputs;
    if (!outputs.Start(run, options, &error)) {
        return Fail(error, 2);
    }

    RunConsole console(run, !options.quiet, RunConsole::ProgressWanted(), 0);
    const auto wallStart = std::chrono::steady_clock::now();
    run.LoadPlugin();
    while (console.Run(60000)) {
    }
    console.Flush();
    RunSummary summary;
    summary.simulatedMinutes = static_cast<double>(run.Host().NowMs()) / 60000.0;
    summary.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    summary.endedMidEvent = !run.EventInProgress().empty();

    if (!outputs.FinishTrace(&error)) {
        return Fail(error, 1);
    }
    std::printf("replay of %s (%s)\n", options.replay.c_str(), reader.VersionLine().c_str());
    std::printf("%s", SummaryText(run, summary).c_str());
    const uint64_t calls = replay.CallsReplayed();
    int status = run.Host().Violations().empty() ? 0 : 1;
    if (replay.Current() == SessionReplay::State::Differed) {
        status = 1;
    } else if (replay.Current() == SessionReplay::State::Crashed) {
        std::printf("replayed %llu recorded calls to the crash: no difference\n%s\n",
                    static_cast<unsigned long long>(calls), replay.CrashLine().c_str());
    } else if (reader.Ended() == recording::RecordingReader::Ending::Closed) {
        std::printf("replayed %llu recorded calls to the closing record: no difference\n",
                    static_cast<unsigned long long>(calls));
    } else if (reader.Ended() == recording::RecordingReader::Ending::Damaged) {
        status = 2;
    } else {
        std::printf("replayed %llu recorded calls, no difference; the recording %s\n",
                    static_cast<unsigned long long>(calls), reader.Problem().c_str());
    }
    std::fflush(stdout);
    if (replay.Current() == SessionReplay::State::Differed) {
        std::fprintf(stderr, "tarrowind-sim: replay: %s\n", replay.Difference().c_str());
    } else if (status == 2) {
        std::fprintf(stderr, "tarrowind-sim: replay: replayed %llu calls; the recording is %s\n",
                     static_cast<unsigned long long>(calls), reader.Problem().c_str());
    }
    if (!options.summaryJson.empty() &&
        !WriteFile(options.summaryJson, SummaryJson(run, summary))) {
        return Fail("cannot write '" + options.summaryJson + "'", 1);
    }
    if (!outputs.WriteReport(
            run, world,
            "Tarrowind replay: " + std::filesystem::path(options.replay).filename().string(),
            reader.VersionLine(), SummaryFigures(run, summary), &error)) {
        return Fail(error, 1);
    }
    return status;
}
