#include "sim/app/sweep/sweep_command.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "sim/app/checks/scenario_checks.h"
#include "sim/app/report/report_format.h"
#include "sim/app/run/run_outputs.h"
#include "sim/app/run/run_summary.h"
#include "sim/app/sweep/sweep_merge.h"
#include "sim/app/sweep/sweep_report.h"
#include "sim/app/sweep/sweep_results.h"
#include "sim/app/sweep/sweep_runner.h"
#include "sim/app/sweep/sweep_seed_command.h"
#include "sim/app/sweep/sweep_seed_result.h"
#include "sim/host/run_setup.h"
#include "sim/world/sim_calendar.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void AskStop(int signal) {
    stopSignal = signal;
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

// The table on standard output, the JSON and the page when asked; the status of the sweep.
int ShowSweep(const SweepResults& results, const SimOptions& options, const std::string& after,
              const nlohmann::json& extra) {
    std::printf("%s%s", SweepTable(results).c_str(), after.c_str());
    std::fflush(stdout);
    if (!options.summaryJson.empty()) {
        nlohmann::json j = SweepJson(results);
        j.update(extra);
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

// Runs the seeds' commands here, a number at a time, each writing its result to a
// temporary folder; then reads the results as --merge would.
int RunHere(const SweepRequest& request, const SweepCommandParts& parts) {
    const SimOptions& options = request.options;
    SweepPlan plan;
    plan.seeds = ShardSeeds(parts.firstSeed, parts.lastSeed, 0, 0);
    plan.arguments = [&parts](uint64_t seed, const std::string& resultFile) {
        return SeedRunArguments(parts, seed, resultFile);
    };
    plan.jobs =
        options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    // Far beyond what a run of that length takes, even on a busy machine.
    plan.timeLimit = std::chrono::seconds(options.timeLimitSeconds != 0 ? options.timeLimitSeconds
                                                                        : 60 + parts.minutes);

    stopSignal = 0;
    std::signal(SIGINT, AskStop);
    std::signal(SIGTERM, AskStop);
    const bool showProgress = isatty(STDERR_FILENO) == 1;
    const auto wallStart = std::chrono::steady_clock::now();
    std::vector<SeedRun> runs;
    std::string error;
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
    setup.scenario = parts.scenario;
    setup.firstSeed = parts.firstSeed;
    setup.lastSeed = parts.lastSeed;
    setup.minutes = parts.minutes;
    setup.command = [&parts](uint64_t seed) { return ReproduceCommand(parts, seed); };
    const SweepResults results = SummarizeSweep(setup, runs);
    return ShowSweep(
        results, options,
        "wall time: " + Number(wallSeconds, 1) + " s at --jobs " + std::to_string(plan.jobs) + "\n",
        {{"jobs", plan.jobs},
         {"time_limit_s", plan.timeLimit.count()},
         {"wall_seconds", wallSeconds}});
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

    SweepCommandParts parts;
    parts.program = request.program;
    parts.workdir = request.workdirAsGiven;
    parts.scenario = request.scenarioAsGiven;
    parts.minutes = run.minutes;
    parts.firstSeed = options.firstSeed;
    parts.lastSeed = options.lastSeed;
    // "now" is read once, so that every seed and its reproducing command start alike.
    if (!options.start.empty()) {
        std::time_t when = 0;
        if (!CalendarStartForRun(options.start, "", &when, &error)) {
            return Fail(error, 2);
        }
        parts.start = CalendarText(when);
    }
    if (!options.printCommands) {
        return RunHere(request, parts);
    }
    for (const uint64_t seed :
         ShardSeeds(parts.firstSeed, parts.lastSeed, options.shard, options.shards)) {
        std::printf("%s\n",
                    SeedRunCommand(parts, seed, SeedResultPath(options.resultsDir, seed)).c_str());
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0
               ? 0
               : Fail("cannot write the commands", 1);
}

int RunMergeCommand(const SimOptions& options) {
    std::vector<std::string> files;
    MergedSweep merged;
    std::string error;
    if (!ListResultFiles(options.merge, &files, &error) ||
        !MergeResultFiles(files, &merged, &error)) {
        return Fail(error, 2);
    }
    const int status = ShowSweep(SummarizeSweep(merged.setup, merged.runs), options, "",
                                 {{"merge_notes", merged.notes}});
    for (const std::string& note : merged.notes) {
        std::fprintf(stderr, "tarrowind-sim: merge: %s\n", note.c_str());
    }
    return merged.notes.empty() ? status : std::max(status, 1);
}
