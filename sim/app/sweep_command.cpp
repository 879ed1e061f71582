#include "sim/app/sweep_command.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "sim/app/report_format.h"
#include "sim/app/run_outputs.h"
#include "sim/app/run_summary.h"
#include "sim/app/scenario_checks.h"
#include "sim/app/sweep_report.h"
#include "sim/app/sweep_results.h"
#include "sim/app/sweep_runner.h"
#include "sim/host/run_setup.h"
#include "sim/world/sim_calendar.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void AskStop(int signal) {
    stopSignal = signal;
}

// An argument as a POSIX shell reads it back.
std::string ShellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./:=@%+-") == std::string::npos;
    if (plain) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReproduceCommand(const SweepRequest& request, uint64_t seed, uint64_t minutes,
                             const std::string& start) {
    std::string command = ShellWord(request.program);
    if (!request.workdirAsGiven.empty()) {
        command += " --workdir " + ShellWord(request.workdirAsGiven);
    }
    if (!request.scenarioAsGiven.empty()) {
        command += " --scenario " + ShellWord(request.scenarioAsGiven);
    }
    if (!start.empty()) {
        command += " --start " + start;
    }
    return command + " --seed " + std::to_string(seed) + " --minutes " + std::to_string(minutes);
}

// The scenario must load and its checks must read before any run starts, so that a mistake
// is one line, not one failing seed per run.
bool CheckScenario(const std::string& file, uint64_t seed, const RunChoice& run,
                   std::string* error) {
    World world(seed);
    ScenarioInfo info;
    if (!LoadScenarioFile(file, world, &info, error)) {
        return false;
    }
    try {
        SimRun probe(world, HostOptionsForSeed(seed));
        ReadScenarioChecks(ScenarioReader(file), info.run, run,
                           SummaryFigures(probe, RunSummary()));
    } catch (const ScenarioError& e) {
        *error = e.what();
        return false;
    }
    return true;
}

void ShowProgress(const SweepProgress& progress) {
    std::fprintf(stderr, "\r\033[Kseeds done: %llu of %llu, %llu failing, %llu running",
                 static_cast<unsigned long long>(progress.done),
                 static_cast<unsigned long long>(progress.total),
                 static_cast<unsigned long long>(progress.failing),
                 static_cast<unsigned long long>(progress.running));
    std::fflush(stderr);
}

}  // namespace

int RunSweep(const SweepRequest& request) {
    const SimOptions& options = request.options;
    std::string error;
    std::string scenarioFile;
    ScenarioRunSettings fromScenario;
    if (!ScenarioFileForRun(options.scenario, &scenarioFile, &error) ||
        !ReadScenarioRunSettings(scenarioFile, &fromScenario, &error)) {
        return Fail(error, 2);
    }
    RunChoice run = ChosenRun(options, fromScenario);
    run.seed = options.firstSeed;
    if (!CheckScenario(scenarioFile, options.firstSeed, run, &error)) {
        return Fail(error, 2);
    }

    SweepPlan plan;
    plan.runArguments = {"--minutes", std::to_string(run.minutes)};
    if (!options.scenario.empty()) {
        plan.runArguments.insert(plan.runArguments.end(), {"--scenario", options.scenario});
    }
    // "now" is read once, so that every seed and its reproducing command start alike.
    std::string start;
    if (!options.start.empty()) {
        std::time_t when = 0;
        if (!CalendarStartForRun(options.start, "", &when, &error)) {
            return Fail(error, 2);
        }
        start = CalendarText(when);
        plan.runArguments.insert(plan.runArguments.end(), {"--start", start});
    }
    // Each run plays in a folder of its own, with the INI the game folder holds.
    const std::filesystem::path ini =
        std::filesystem::path(options.workdir) / "Tarrowind" / "Tarrowind.ini";
    std::error_code ec;
    if (std::filesystem::is_regular_file(ini, ec)) {
        plan.ini = ini.string();
    }
    plan.firstSeed = options.firstSeed;
    plan.lastSeed = options.lastSeed;
    plan.jobs =
        options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    // Far beyond what a run of that length takes, even on a busy machine.
    plan.timeLimit = std::chrono::seconds(options.timeLimitSeconds != 0 ? options.timeLimitSeconds
                                                                        : 60 + run.minutes);

    stopSignal = 0;
    std::signal(SIGINT, AskStop);
    std::signal(SIGTERM, AskStop);
    const bool showProgress = isatty(STDERR_FILENO) == 1;
    const auto wallStart = std::chrono::steady_clock::now();
    std::vector<SeedRun> runs;
    const bool finished = RunSeeds(
        "/proc/self/exe", plan,
        [showProgress](const SweepProgress& progress) {
            if (showProgress) {
                ShowProgress(progress);
            }
        },
        [] { return stopSignal != 0; }, &runs, &error);
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (showProgress) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }
    if (!finished) {
        return Fail(error, stopSignal != 0 ? 128 + stopSignal : 2);
    }

    SweepSetup setup;
    setup.scenario = request.scenarioAsGiven;
    setup.firstSeed = options.firstSeed;
    setup.lastSeed = options.lastSeed;
    setup.minutes = run.minutes;
    setup.command = [&request, &run, &start](uint64_t seed) {
        return ReproduceCommand(request, seed, run.minutes, start);
    };
    const SweepResults results = SummarizeSweep(setup, runs);
    std::printf("%s", SweepTable(results).c_str());
    std::printf("wall time: %s s at --jobs %llu\n", Number(wallSeconds, 1).c_str(),
                static_cast<unsigned long long>(plan.jobs));
    std::fflush(stdout);

    if (!options.summaryJson.empty()) {
        nlohmann::json j = SweepJson(results);
        j["jobs"] = plan.jobs;
        j["time_limit_s"] = plan.timeLimit.count();
        j["wall_seconds"] = wallSeconds;
        if (!WriteFile(options.summaryJson, j.dump(2) + "\n")) {
            return Fail("cannot write '" + options.summaryJson + "'", 1);
        }
    }
    if (!options.report.empty()) {
        if (!WriteFile(options.report, SweepReportHtml(results))) {
            return Fail("cannot write '" + options.report + "'", 1);
        }
        std::printf("report: %s\n", options.report.c_str());
    }
    return results.failing.empty() ? 0 : 1;
}
