#include "windows/launcher/launcher_options.h"

#include "sim/host/command_line.h"

namespace {

constexpr uint64_t kMaxMinutes = 60ull * 24 * 365;
constexpr uint64_t kMaxFrames = kMaxMinutes * 60 * 30;
constexpr uint64_t kMaxCrowd = 1000;
constexpr uint64_t kMaxRepeat = 100;

// Why two options do not go together, where the parser's own words would not say.
std::string ClashMessage(const std::string& message) {
    const bool crowd = message.find("--crowd") != std::string::npos;
    const bool scenario = message.find("--scenario") != std::string::npos;
    const bool minutes = message.find("--minutes") != std::string::npos;
    const bool frames = message.find("--frames") != std::string::npos;
    if (crowd && scenario) {
        return "--crowd and --scenario each choose the world: give one of them";
    }
    if (minutes && frames) {
        return "--minutes and --frames each say how long to run: give one of them";
    }
    return message;
}

}  // namespace

LauncherParse ParseLauncherOptions(int argc, char** argv, LauncherOptions* options,
                                   std::string* text) {
    CLI::App app(
        "Runs Tarrowind.asi under the Windows build of the stand-in host (ScriptHookRDR2.dll "
        "beside it): a simulated world on virtual time, the plug-in's log lines on standard "
        "output and a summary line after them.",
        "tarrowind-launcher");
    UseNewcomerHelp(app, 30);
    app.footer("Bad arguments get one line and status 2. The launcher's runs: docs/windows.md.");
    LauncherOptions& o = *options;

    const char* run = "A run";
    auto* minutes = app.add_option_function<std::string>(
                           "--minutes",
                           [&o](const std::string& value) {
                               o.minutes = NumberOf(
                                   value, 1, kMaxMinutes,
                                   "--minutes takes a whole number of minutes from 1 to 525600");
                           },
                           "Simulated minutes to run")
                        ->type_name("N")
                        ->default_str("30")
                        ->group(run);
    auto* frames = app.add_option_function<std::string>(
                          "--frames",
                          [&o](const std::string& value) {
                              o.frames =
                                  NumberOf(value, 1, kMaxFrames,
                                           "--frames takes a whole number of frames from 1 to " +
                                               std::to_string(kMaxFrames));
                          },
                          "Run exactly this many frames instead of minutes")
                       ->type_name("F")
                       ->group(run);
    app.add_option_function<std::string>(
           "--seed",
           [&o](const std::string& value) {
               o.seed = NumberOf(value, 0, UINT64_MAX, "--seed takes a non-negative whole number");
           },
           "The world's randomness and the tick count's start")
        ->type_name("S")
        ->default_str("1")
        ->group(run);
    auto* scenario = app.add_option("--scenario", o.scenario, "The world to play: a scenario file")
                         ->type_name("FILE")
                         ->default_str("the built-in default world")
                         ->group(run);
    auto* crowd =
        app.add_option_function<std::string>(
               "--crowd",
               [&o](const std::string& value) {
                   o.crowd = static_cast<uint32_t>(NumberOf(
                       value, 1, kMaxCrowd, "--crowd takes a number of peds from 1 to 1000"));
               },
               "Instead of a scenario, the frame-cost world with this many peds, and "
               "each frame timed")
            ->type_name("PEDS")
            ->group(run);
    app.add_option("--start", o.start,
                   "The simulated calendar's start, YYYY-MM-DDTHH:MM:SS or now (the stand-in "
                   "host reads it, and says when it cannot)")
        ->type_name("WHEN")
        ->default_str("the scenario's start, else 2026-06-01T12:00:00")
        ->group(run);
    app.add_option_function<std::string>(
           "--repeat",
           [&o](const std::string& value) {
               o.repeat = static_cast<uint32_t>(
                   NumberOf(value, 1, kMaxRepeat, "--repeat takes a number of runs from 1 to 100"));
           },
           "Runs one after another, each with a fresh load of the plug-in")
        ->type_name("R")
        ->default_str("1")
        ->group(run);
    app.add_option("--crash-native", o.crashNative,
                   "That call of the native faults (the Nth, or the first), as a crash in the "
                   "game would")
        ->type_name("NAME[:N]")
        ->group(run);

    const char* setup = "The plug-in and its folder";
    app.add_option("--workdir", o.workdir,
                   "The game's folder: the plug-in reads DIR/Tarrowind/Tarrowind.ini and logs "
                   "to DIR/Tarrowind/logs")
        ->type_name("DIR")
        ->default_str(".")
        ->group(setup);
    app.add_option("--plugin", o.plugin, "The plug-in to load")
        ->type_name("FILE")
        ->default_str("Tarrowind.asi beside the launcher")
        ->group(setup);
    app.add_flag("--move-logs", o.moveLogs,
                 "After every frame, move the day's log away, as a player may")
        ->group(setup);
    app.add_flag("--quiet", o.quiet, "No log lines on standard output")->group(setup);

    crowd->excludes(scenario);
    minutes->excludes(frames);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        *text = app.help();
        return LauncherParse::kHelp;
    } catch (const CLI::ExcludesError& e) {
        *text = ClashMessage(e.what());
        return LauncherParse::kBad;
    } catch (const CLI::ParseError& e) {
        *text = e.what();
        return LauncherParse::kBad;
    }
    return LauncherParse::kRun;
}
