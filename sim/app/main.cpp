// tarrowind-sim: runs the real plug-in against the stand-in host on virtual time, printing
// each log line as it is written and a summary at the end; checks what the scenario says must
// hold in every run and what it expects of its own run, and writes an HTML report of it when
// asked. With --seeds it sweeps the scenario over many seeds instead (sweep_command.h).
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/build_version.h"
#include "sim/app/checks/scenario_checks.h"
#include "sim/app/run/run_console.h"
#include "sim/app/run/run_outputs.h"
#include "sim/app/run/run_summary.h"
#include "sim/app/run/sim_options.h"
#include "sim/app/sweep/sweep_command.h"
#include "sim/app/sweep/sweep_seed_command.h"
#include "sim/app/sweep/sweep_seed_result.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/replay/replay_command.h"
#include "sim/scene/compare_command.h"
#include "sim/scene/scene_command.h"
#include "sim/world/sim_calendar.h"

namespace {

// Paths given on the command line are the caller's, not the working folder's.
void MakeAbsolute(std::string* path) {
    if (!path->empty()) {
        *path = std::filesystem::absolute(*path).string();
    }
}

std::string ReportTitle(const std::string& scenarioFile, uint64_t seed, uint64_t minutes) {
    return "Tarrowind run: " + std::filesystem::path(scenarioFile).filename().string() + ", seed " +
           std::to_string(seed) + ", " + std::to_string(minutes) + " simulated minutes";
}

// --isolated: a temporary game folder holding a copy of the given one's INI, removed when
// the run ends, so that runs of one folder side by side neither share a log nor write over
// each other's INI.
class IsolatedFolder {
  public:
    ~IsolatedFolder() {
        if (!path_.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(path_, ec);
        }
    }
    bool Make(const std::string& from, std::string* folder, std::string* error) {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern =
            (std::filesystem::path(temp != nullptr && *temp != '\0' ? temp : "/tmp") /
             "tarrowind-run-XXXXXX")
                .string();
        if (mkdtemp(&pattern[0]) == nullptr) {
            *error =
                "--isolated: cannot make a temporary folder: " + std::string(std::strerror(errno));
            return false;
        }
        path_ = pattern;
        const std::filesystem::path ini =
            std::filesystem::path(from) / "Tarrowind" / "Tarrowind.ini";
        std::error_code ec;
        std::error_code none;
        std::filesystem::create_directories(path_ / "Tarrowind", ec);
        if (!ec && std::filesystem::is_regular_file(ini, none)) {
            std::filesystem::copy_file(ini, path_ / "Tarrowind" / "Tarrowind.ini", ec);
        }
        if (ec) {
            *error = "--isolated: cannot copy " + ini.string() + ": " + ec.message();
            return false;
        }
        *folder = path_.string();
        return true;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    switch (ParseSimOptions(argc, argv, &options, &error)) {
        case ParseOutcome::kHelp:
            std::printf("%s", error.c_str());
            return 0;
        case ParseOutcome::kBad:
            return Fail(error, 2);
        case ParseOutcome::kRun:
            break;
    }
    SweepRequest sweep;
    sweep.program = argv[0];
    sweep.scenarioAsGiven = options.scenario;
    sweep.workdirAsGiven = options.workdirGiven ? options.workdir : "";
    MakeAbsolute(&options.summaryJson);
    MakeAbsolute(&options.scenario);
    MakeAbsolute(&options.report);
    MakeAbsolute(&options.trace);
    MakeAbsolute(&options.replay);
    if (!options.merge.empty()) {
        return RunMergeCommand(options);
    }
    if (!options.replay.empty()) {
        return RunReplayCommand(options);
    }
    if (!options.sceneFrom.empty() || !options.compareWorld.empty()) {
        SceneChoice choice;
        choice.atGiven = options.sceneAtGiven;
        choice.atSeconds = options.sceneAtSeconds;
        choice.encounter = options.sceneEncounter;
        return options.sceneFrom.empty()
                   ? RunCompareWorldCommand(options.compareWorld, options.scenario)
                   : RunSceneCommand(options.sceneFrom, choice);
    }
    if (options.sweep) {
        sweep.options = options;
        return RunSweep(sweep);
    }

    // The scenario may say how long to run and with which seed, where the command line does not.
    std::string scenarioFile;
    ScenarioRunSettings fromScenario;
    if (!ScenarioFileForRun(options.scenario, &scenarioFile, &error) ||
        !ReadScenarioRunSettings(scenarioFile, &fromScenario, &error)) {
        return Fail(error, 2);
    }
    const RunChoice chosen = ChosenRun(options, fromScenario);
    const uint64_t seed = chosen.seed;
    const uint64_t minutes = chosen.minutes;
    if (options.inSweep && (seed < options.sweepFirst || seed > options.sweepLast)) {
        return Fail("--in-sweep: seed " + std::to_string(seed) + " is not one of the seeds " +
                        std::to_string(options.sweepFirst) + "-" +
                        std::to_string(options.sweepLast),
                    2);
    }
    IsolatedFolder isolated;
    if (options.isolated && !isolated.Make(options.workdir, &options.workdir, &error)) {
        return Fail(error, 2);
    }

    // The working folder plays the game's: the plug-in reads Tarrowind/Tarrowind.ini and
    // appends to Tarrowind/logs there. An installed copy ships the logs folder; so do we.
    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(options.workdir) / "Tarrowind" / "logs", ec);
    if (ec || chdir(options.workdir.c_str()) != 0) {
        return Fail("cannot use '" + options.workdir + "' as the working folder", 2);
    }

    World world(seed);
    ScenarioInfo scenario;
    if (!BuildWorldForRun(world, scenarioFile, &error, &scenario) ||
        (!options.crashNative.empty() &&
         !PlanNativeCrashForRun(world, options.crashNative, &error))) {
        return Fail(error, 2);
    }

    // Which run this was, so that results written anywhere can be merged as one sweep's.
    RunIdentity identity;
    identity.build = TarrowindVersion();
    identity.scenario = sweep.scenarioAsGiven;
    identity.scenarioDigest = FileDigest(scenarioFile);
    identity.iniDigest = FileDigest("Tarrowind/Tarrowind.ini");
    identity.minutes = minutes;
    identity.start = options.start;
    identity.inSweep = options.inSweep;
    identity.firstSeed = options.sweepFirst;
    identity.lastSeed = options.sweepLast;
    SweepCommandParts parts;
    parts.program = sweep.program;
    parts.workdir = sweep.workdirAsGiven;
    parts.scenario = sweep.scenarioAsGiven;
    parts.start = options.start;
    parts.minutes = minutes;

    HostOptions hostOptions = HostOptionsForSeed(seed);
    if (!CalendarStartForRun(options.start, scenario.run.start, &hostOptions.calendarStart,
                             &error)) {
        return Fail(error, 2);
    }
    // The report tells the peds' roles from the calls made on them.
    hostOptions.recordCalls = !options.report.empty();
    SimRun run(world, hostOptions);

    ScenarioChecks checks;
    try {
        checks = ReadScenarioChecks(ScenarioReader(scenarioFile), scenario.run, chosen,
                                    SummaryFigures(run, RunSummary()));
    } catch (const ScenarioError& e) {
        return Fail(e.what(), 2);
    }
    RunOutputs outputs;
    if (!outputs.Start(run, options, &error)) {
        return Fail(error, 2);
    }

    RunConsole console(run, !options.quiet, RunConsole::ProgressWanted(), minutes * 60000);
    const auto wallStart = std::chrono::steady_clock::now();
    run.LoadPlugin();
    console.Run(minutes * 60000);
    RunSummary summary;
    summary.endedMidEvent = !run.FinishRunningEvent(30 * 60000);
    run.UnloadPlugin();  // as the game does at its end: a session recording gets its closing record
    console.Flush();
    summary.simulatedMinutes = static_cast<double>(run.Host().NowMs()) / 60000.0;
    summary.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    if (!outputs.FinishTrace(&error)) {
        return Fail(error, 1);
    }
    const nlohmann::json figures = SummaryFigures(run, summary);
    const CheckResults results = CheckRun(checks, figures, run.Lines(), run.Host().Violations());
    std::printf("%s%s", SummaryText(run, summary).c_str(), ChecksText(checks, results).c_str());
    std::fflush(stdout);
    for (const auto* unmet : {&results.alwaysUnmet, &results.expectUnmet}) {
        for (const std::string& line : *unmet) {
            std::fprintf(stderr, "tarrowind-sim: unmet expectation: %s\n", line.c_str());
        }
    }
    if (!options.summaryJson.empty()) {
        nlohmann::json written = figures;
        written["checks"] = ChecksJson(checks, results);
        written["run"] = RunBlock(identity, seed, ReproduceCommand(parts, seed));
        if (options.inSweep) {  // the results folder of a sweep run on another machine
            std::filesystem::create_directories(
                std::filesystem::path(options.summaryJson).parent_path(), ec);
        }
        if (!WriteFile(options.summaryJson, written.dump(2) + "\n")) {
            return Fail("cannot write '" + options.summaryJson + "'", 1);
        }
    }

    if (!outputs.WriteReport(run, world, ReportTitle(scenarioFile, seed, minutes),
                             scenario.description, figures, &error)) {
        return Fail(error, 1);
    }
    return results.Passed() ? 0 : 1;
}
