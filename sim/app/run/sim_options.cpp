#include "sim/app/run/sim_options.h"

#include <cstdlib>
#include <utility>

#include "sim/host/command_line.h"
#include "sim/world/sim_calendar.h"

namespace {

constexpr uint64_t kMostSweepSeeds = 1000000;
constexpr uint64_t kMostJobs = 1024;
constexpr uint64_t kMostMinutes = 60ull * 24 * 365;
constexpr uint64_t kMostTimeLimit = 604800;

// "A-B" (or "A/B" for a shard), both whole numbers.
bool ParsePair(const std::string& text, char separator, uint64_t* first, uint64_t* second) {
    const size_t at = text.find(separator, 1);
    return at != std::string::npos && ParseWholeNumber(text.substr(0, at), first) &&
           ParseWholeNumber(text.substr(at + 1), second);
}

void SeedRangeOf(const std::string& flag, const std::string& text, uint64_t* first,
                 uint64_t* last) {
    if (!ParsePair(text, '-', first, last) || *first > *last) {
        throw CLI::ValidationError(flag +
                                   " takes a range of seeds FIRST-LAST with FIRST no greater "
                                   "than LAST, such as 1-1000, not '" +
                                   text + "'");
    }
    if (*last - *first >= kMostSweepSeeds) {
        throw CLI::ValidationError(flag + " takes at most " + std::to_string(kMostSweepSeeds) +
                                   " seeds at once, not '" + text + "'");
    }
}

// Why two options do not go together, as the parser's exclusion or need names them.
struct Clash {
    const char* first;
    const char* second;
    const char* why;
};

const Clash kClashes[] = {
    {"--seed", "--seeds",
     "--seed and --seeds do not go together: a sweep takes its seeds from --seeds"},
    {"--trace", "--seeds", "--trace traces one run: give it with --seed, not --seeds"},
    {"--jobs", "--seeds", "--jobs is for a sweep: give it with --seeds A-B"},
    {"--time-limit", "--seeds", "--time-limit is for a sweep: give it with --seeds A-B"},
    {"--replay-setting", "--replay", "--replay-setting goes with --replay"},
    {"--start", "--replay",
     "--start does not go with --replay: a replay keeps the recorded calendar"},
    {"--crash-native", "--seeds",
     "--crash-native crashes one simulated run: not with --seeds or --replay"},
    {"--crash-native", "--replay",
     "--crash-native crashes one simulated run: not with --seeds or --replay"},
    {"--replay", "--seeds", "--replay plays one recorded session: it does not go with --seeds"},
    {"--print-commands", "--seeds", "--print-commands prints a sweep: give it with --seeds A-B"},
    {"--shard", "--print-commands",
     "--shard picks the share of the printed commands: give it with --print-commands"},
    {"--results", "--print-commands",
     "--results is where the printed commands write: give it with --print-commands"},
    {"--jobs", "--print-commands", "--jobs runs a sweep here: not with --print-commands"},
    {"--time-limit", "--print-commands", "--time-limit stops runs here: not with --print-commands"},
    {"--summary-json", "--print-commands",
     "the printed commands write the results: --summary-json and --report go with --merge"},
    {"--report", "--print-commands",
     "the printed commands write the results: --summary-json and --report go with --merge"},
    {"--in-sweep", "--seed", "--in-sweep names the sweep one seed's run is part of: give --seed"},
    {"--at", "--scene-from", "--at picks the moment of a scene: give it with --scene-from"},
    {"--encounter", "--scene-from",
     "--encounter picks the moment of a scene: give it with --scene-from"},
    {"--at", "--encounter", "--at and --encounter both pick the scene's moment: give one"},
    {"--scenario", "--scene-from",
     "--scene-from makes a scenario of the recording: it takes none (--compare-world does)"},
};

// The parser's own message for an exclusion ("--a excludes --b") or a need ("--a requires
// --b"), with the reason when there is one.
std::string ClashMessage(const std::string& message, const std::string& verb) {
    const size_t at = message.find(verb);
    if (at == std::string::npos) {
        return message;
    }
    const std::string a = message.substr(0, at);
    const std::string b = message.substr(at + verb.size());
    for (const Clash& clash : kClashes) {
        if ((a == clash.first && b == clash.second) || (a == clash.second && b == clash.first)) {
            return clash.why;
        }
    }
    if (a == "--merge" || b == "--merge") {
        const std::string other = a == "--merge" ? b : a;
        return other + " does not go with --merge: the results say how they were run";
    }
    return message;
}

}  // namespace

ParseOutcome ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* text) {
    CLI::App app(
        "Runs the Tarrowind plug-in against the stand-in host: a simulated world on virtual "
        "time, one run, a sweep of seeds, or a recorded session.",
        "tarrowind-sim");
    UseNewcomerHelp(app, 32);
    app.footer(
        "Bad arguments get one line and status 2; a broken check or a failing seed, status 1.\n"
        "Scenario files, sweeps and their results: docs/scenarios.md.");
    SimOptions& o = *options;

    const char* run = "A run";
    auto* scenario =
        app.add_option("--scenario", o.scenario, "The world to play: a scenario file")
            ->type_name("FILE")
            ->default_str("scenarios/town.json, beside the program or in its source tree")
            ->group(run);
    auto* minutes = app.add_option_function<std::string>(
                           "--minutes",
                           [&o](const std::string& value) {
                               o.minutes = NumberOf(
                                   value, 1, kMostMinutes,
                                   "--minutes takes a whole number of minutes from 1 to 525600");
                               o.minutesGiven = true;
                           },
                           "Simulated minutes to run (a sweep: each seed's run)")
                        ->type_name("N")
                        ->default_str("the scenario's minutes, else 30")
                        ->group(run);
    auto* seed = app.add_option_function<std::string>(
                        "--seed",
                        [&o](const std::string& value) {
                            o.seed = NumberOf(value, 0, UINT64_MAX,
                                              "--seed takes a non-negative whole number");
                            o.seedGiven = true;
                        },
                        "The world's randomness and the tick count's start")
                     ->type_name("S")
                     ->default_str("the scenario's seed, else 1")
                     ->group(run);
    auto* workdir =
        app.add_option_function<std::string>(
               "--workdir",
               [&o](const std::string& value) {
                   o.workdir = value;
                   o.workdirGiven = true;
               },
               "The game's folder: the plug-in reads DIR/Tarrowind/Tarrowind.ini and logs "
               "to DIR/Tarrowind/logs")
            ->type_name("DIR")
            ->default_str(".")
            ->group(run);
    auto* start = app.add_option_function<std::string>(
                         "--start",
                         [&o](const std::string& value) {
                             std::time_t ignored = 0;
                             std::string problem;
                             if (!ParseCalendarStart(value, &ignored, &problem)) {
                                 throw CLI::ValidationError("--start: " + problem);
                             }
                             o.start = value;
                         },
                         "Where the calendar the plug-in reads starts (now: this machine's)")
                      ->type_name("YYYY-MM-DDTHH:MM:SS|now")
                      ->default_str("the scenario's start, else 2026-06-01T12:00:00")
                      ->group(run);
    auto* quiet = app.add_flag("--quiet", o.quiet, "No log lines on standard output")->group(run);
    auto* crash = app.add_option("--crash-native", o.crashNative,
                                 "Make the Nth call of that native fault, as a crash in the game")
                      ->type_name("NAME[:N]")
                      ->group(run);
    auto* isolated = app.add_flag("--isolated", o.isolated,
                                  "Play in a temporary copy of the game's folder (its INI), "
                                  "removed at the end, so runs can go side by side")
                         ->group(run);

    const char* sweep = "A sweep of seeds";
    auto* seeds =
        app.add_option_function<std::string>(
               "--seeds",
               [&o](const std::string& value) {
                   SeedRangeOf("--seeds", value, &o.firstSeed, &o.lastSeed);
                   o.sweep = true;
               },
               "Run the scenario once per seed, each in a process of its own, and print one "
               "table")
            ->type_name("A-B")
            ->group(sweep);
    auto* jobs = app.add_option_function<std::string>(
                        "--jobs",
                        [&o](const std::string& value) {
                            o.jobs = NumberOf(value, 1, kMostJobs,
                                              "--jobs takes a whole number of runs at a time "
                                              "from 1 to " +
                                                  std::to_string(kMostJobs));
                        },
                        "Runs at a time")
                     ->type_name("N")
                     ->default_str("one per core")
                     ->group(sweep);
    auto* timeLimit =
        app.add_option_function<std::string>(
               "--time-limit",
               [&o](const std::string& value) {
                   o.timeLimitSeconds =
                       NumberOf(value, 1, kMostTimeLimit,
                                "--time-limit takes a whole number of seconds from 1 to 604800");
               },
               "Wall time a run may take before it is stopped and its seed fails")
            ->type_name("SECONDS")
            ->default_str("60 plus 1 per simulated minute")
            ->group(sweep);
    auto* printCommands =
        app.add_flag("--print-commands", o.printCommands,
                     "Print one command per seed instead of running them, for GNU parallel, "
                     "xargs, a CI matrix or a job array; --merge reads what they write")
            ->group(sweep);
    auto* shard = app.add_option_function<std::string>(
                         "--shard",
                         [&o](const std::string& value) {
                             if (!ParsePair(value, '/', &o.shard, &o.shards) || o.shard == 0 ||
                                 o.shard > o.shards) {
                                 throw CLI::ValidationError(
                                     "--shard takes K/N, share K of N with K from 1 to N, such "
                                     "as 2/8, not '" +
                                     value + "'");
                             }
                         },
                         "Print only share K of N of the commands (every Nth seed)")
                      ->type_name("K/N")
                      ->default_str("every seed")
                      ->group(sweep);
    auto* results = app.add_option("--results", o.resultsDir,
                                   "Where the printed commands write their results, "
                                   "DIR/seed-<n>.json")
                        ->type_name("DIR")
                        ->capture_default_str()
                        ->group(sweep);
    auto* merge = app.add_option("--merge", o.merge,
                                 "Fold per-seed results (files, or folders of seed-*.json) "
                                 "into the table a sweep of those seeds prints")
                      ->type_name("FILE|DIR")
                      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                      ->group(sweep);
    auto* inSweep = app.add_option_function<std::string>(
                           "--in-sweep",
                           [&o](const std::string& value) {
                               SeedRangeOf("--in-sweep", value, &o.sweepFirst, &o.sweepLast);
                               o.inSweep = true;
                           },
                           "Say in the summary that this run is one seed of the sweep A-B "
                           "(the printed commands give it)")
                        ->type_name("A-B")
                        ->group(sweep);

    const char* replay = "A replay";
    auto* replayFile =
        app.add_option("--replay", o.replay, "Play the plug-in through a session a player recorded")
            ->type_name("FILE.rec")
            ->group(replay);
    auto* replaySetting =
        app.add_option("--replay-setting", o.replaySettings,
                       "Read this INI value instead of the recorded one (repeatable)")
            ->type_name("'[Section]Key=value'")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->group(replay);

    const char* scene = "A scene";
    auto* sceneFrom = app.add_option("--scene-from", o.sceneFrom,
                                     "Write a scenario re-staging the world a recording saw")
                          ->type_name("FILE.rec")
                          ->group(scene);
    auto* sceneAt =
        app.add_option_function<std::string>(
               "--at",
               [&o](const std::string& value) {
                   char* end = nullptr;
                   o.sceneAtSeconds = std::strtod(value.c_str(), &end);
                   if (value.empty() || *end != '\0' || !(o.sceneAtSeconds >= 0) ||
                       o.sceneAtSeconds > 31536000) {
                       throw CLI::ValidationError("--at takes the seconds into the session, not '" +
                                                  value + "'");
                   }
                   o.sceneAtGiven = true;
               },
               "The moment of the session the scene starts at")
            ->type_name("SECONDS")
            ->default_str("0")
            ->group(scene);
    auto* sceneEncounter =
        app.add_option_function<std::string>(
               "--encounter",
               [&o](const std::string& value) {
                   o.sceneEncounter = NumberOf(value, 1, 1000000,
                                               "--encounter takes which encounter of the session, "
                                               "from 1");
               },
               "Start the scene when the session's Nth encounter began")
            ->type_name("N")
            ->group(scene);
    auto* compareWorld =
        app.add_option("--compare-world", o.compareWorld,
                       "Play the recording in the world re-staged from it (or --scenario's) "
                       "and list where the world's answers differ from the recorded ones")
            ->type_name("FILE.rec")
            ->group(scene);

    const char* outputs = "Outputs";
    auto* summaryJson = app.add_option("--summary-json", o.summaryJson,
                                       "Write the figures (a sweep's: its table) as JSON")
                            ->type_name("FILE")
                            ->group(outputs);
    auto* report = app.add_option("--report", o.report,
                                  "Draw the run (a sweep: its histograms) as one HTML page")
                       ->type_name("FILE.html")
                       ->group(outputs);
    auto* trace =
        app.add_option("--trace", o.trace, "List every native call, wait and log line of one run")
            ->type_name("FILE")
            ->group(outputs);

    seed->excludes(seeds);
    trace->excludes(seeds);
    jobs->needs(seeds);
    timeLimit->needs(seeds);
    replaySetting->needs(replayFile);
    start->excludes(replayFile);
    crash->excludes(seeds)->excludes(replayFile);
    replayFile->excludes(seeds);
    printCommands->needs(seeds);
    shard->needs(printCommands);
    results->needs(printCommands);
    for (CLI::Option* notPrinted : {jobs, timeLimit, summaryJson, report}) {
        notPrinted->excludes(printCommands);
    }
    inSweep->needs(seed);
    sceneAt->needs(sceneFrom)->excludes(sceneEncounter);
    sceneEncounter->needs(sceneFrom);
    for (CLI::Option* other : {replayFile, seeds, compareWorld, scenario}) {
        sceneFrom->excludes(other);
    }
    compareWorld->excludes(replayFile)->excludes(seeds);
    merge->excludes(sceneFrom)->excludes(compareWorld);
    isolated->excludes(seeds)->excludes(replayFile);
    for (CLI::Option* given : {scenario, minutes, seed, workdir, start, quiet, crash, isolated,
                               seeds, inSweep, replayFile, replaySetting, trace}) {
        merge->excludes(given);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        *text = app.help();
        return ParseOutcome::kHelp;
    } catch (const CLI::ExcludesError& e) {
        *text = ClashMessage(e.what(), " excludes ");
        return ParseOutcome::kBad;
    } catch (const CLI::RequiresError& e) {
        *text = ClashMessage(e.what(), " requires ");
        return ParseOutcome::kBad;
    } catch (const CLI::ParseError& e) {
        *text = e.what();
        return ParseOutcome::kBad;
    }
    if (merge->count() > 0 && o.merge.empty()) {
        *text = "--merge takes the result files to merge (or their folders)";
        return ParseOutcome::kBad;
    }
    return ParseOutcome::kRun;
}

RunChoice ScenarioOwnRun(const ScenarioRunSettings& scenario) {
    const SimOptions defaults;
    RunChoice own;
    own.seed = scenario.hasSeed ? scenario.seed : defaults.seed;
    own.minutes = scenario.minutes != 0 ? scenario.minutes : defaults.minutes;
    return own;
}

RunChoice ChosenRun(const SimOptions& options, const ScenarioRunSettings& scenario) {
    RunChoice run = ScenarioOwnRun(scenario);
    if (options.seedGiven) {
        run.seed = options.seed;
    }
    if (options.minutesGiven) {
        run.minutes = options.minutes;
    }
    return run;
}
