// tarrowind-soak: days of play in the default town scenario with every encounter and weather
// event on, the population churning and a story mission now and then. At the end of each day
// it checks that every Info and Error line the plug-in wrote is in that day's file and takes
// the heap's size; at the end it checks that no exception reached the main loop, that no
// ped or blip was left behind and that no encounter held the script longer than the bound.
// Exits 1 when an invariant fails.
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "encounters/watch_limit.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"

namespace {

constexpr uint64_t kDayMs = 24ull * 3600 * 1000;

struct SoakOptions {
    int days = 7;
    uint64_t seed = 1;
};

bool Parse(int argc, char** argv, SoakOptions* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const long value = std::strtol(argv[i + 1], nullptr, 10);
        if (flag == "--days" && value > 0 && value <= 60) {
            options->days = static_cast<int>(value);
        } else if (flag == "--seed" && value >= 0) {
            options->seed = static_cast<uint64_t>(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

// Counts how many of the lines kept since the last check are missing from the log files.
size_t MissingFromFiles(const SimRun& run, const std::filesystem::path& logs) {
    std::unordered_map<std::string, int> inFiles;
    for (const auto& entry : std::filesystem::directory_iterator(logs)) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            ++inFiles[line];
        }
    }
    size_t missing = 0;
    for (const LoggedLine& line : run.Lines()) {
        if (line.level == LogLevel::Debug) {
            continue;
        }
        auto it = inFiles.find(line.line);
        if (it == inFiles.end() || it->second == 0) {
            ++missing;
        } else {
            --it->second;
        }
    }
    return missing;
}

}  // namespace

int main(int argc, char** argv) {
    SoakOptions options;
    if (!Parse(argc, argv, &options)) {
        std::fprintf(stderr, "usage: tarrowind-soak [--days N] [--seed S]\n");
        return 2;
    }
    char pattern[] = "/tmp/tarrowind-soak-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        std::fprintf(stderr, "tarrowind-soak: cannot make a working folder\n");
        return 2;
    }
    const std::filesystem::path logs = std::filesystem::path(pattern) / "Tarrowind" / "logs";
    std::filesystem::create_directories(logs);

    World world(options.seed);
    std::string error;
    if (!BuildWorldForRun(world, "", &error)) {
        std::fprintf(stderr, "tarrowind-soak: %s\n", error.c_str());
        return 2;
    }
    // No settings file: every encounter and weather event on, one to two minutes apart.
    std::filesystem::remove(std::filesystem::path(pattern) / "Tarrowind" / "Tarrowind.ini");
    // A story mission of a quarter of an hour every five hours or so.
    for (uint64_t at = 3 * 3600 * 1000; at < options.days * kDayMs;
         at += 5 * 3600 * 1000 + 777000) {
        world.Environment().AddMissionWindow(at, at + 15 * 60 * 1000);
    }

    HostOptions hostOptions = HostOptionsForSeed(options.seed);
    hostOptions.recordCalls = false;
    SimRun run(world, hostOptions);
    const auto wallStart = std::chrono::steady_clock::now();
    run.LoadPlugin();

    bool ok = true;
    std::vector<size_t> heapAtDayEnd;
    size_t linesChecked = 0;
    for (int day = 1; day <= options.days; ++day) {
        run.Run(kDayMs);
        const size_t missing = MissingFromFiles(run, logs);
        linesChecked += run.Lines().size();
        run.ClearLines();
        heapAtDayEnd.push_back(mallinfo2().uordblks);
        std::printf("day %d: heap in use %zu bytes, %zu lines missing from the log files\n", day,
                    heapAtDayEnd.back(), missing);
        ok = ok && missing == 0;
    }
    const bool settled = run.FinishRunningEvent(30 * 60000);
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    const RunFigures& figures = run.Figures();
    std::printf("simulated %d days in %.1f s of wall time; %zu log lines checked\n", options.days,
                wallSeconds, linesChecked);
    std::printf("encounters run:");
    for (const auto& entry : figures.encountersRun) {
        std::printf(" %s=%llu", entry.first.c_str(), static_cast<unsigned long long>(entry.second));
    }
    std::printf("\nweather events run:");
    for (const auto& entry : figures.weatherEventsRun) {
        std::printf(" %s=%llu", entry.first.c_str(), static_cast<unsigned long long>(entry.second));
    }
    std::printf("\nworst frame: %u natives (during %s)\n", figures.worstFrameNatives,
                figures.worstFrameDuring.c_str());
    std::printf(
        "exceptions in the main loop: %llu, peds left owned: %zu, blips left: %zu, "
        "models left requested: %zu, peds spawned: %llu, peds killed: %llu, "
        "call contract breaches: %zu\n",
        static_cast<unsigned long long>(figures.mainLoopExceptions), world.OwnedPedCount(),
        world.Blips().size(), world.ModelsLeftRequested(),
        static_cast<unsigned long long>(world.PedsSpawned()),
        static_cast<unsigned long long>(world.PedsKilled()), run.Host().Violations().size());
    const std::optional<EventSpan> longest = run.Spans().LongestEncounter(run.Host().NowMs());
    const uint64_t longestMs = longest ? longest->HeldMs(run.Host().NowMs()) : 0;
    std::printf("longest encounter: %s, %.1f s (%s); the bound is %.1f s\n",
                longest ? longest->name.c_str() : "none", static_cast<double>(longestMs) / 1000.0,
                longest ? SpanEndName(longest->end) : "-",
                static_cast<double>(kLongestEncounterHoldMs) / 1000.0);
    ok = ok && settled && figures.mainLoopExceptions == 0 && world.OwnedPedCount() == 0 &&
         world.Blips().empty() && world.ModelsLeftRequested() == 0 &&
         run.Host().Violations().empty() && longestMs <= kLongestEncounterHoldMs;
    if (heapAtDayEnd.size() >= 3) {
        const long long growth =
            static_cast<long long>(heapAtDayEnd.back()) - static_cast<long long>(heapAtDayEnd[1]);
        std::printf("heap growth from the end of day 2 to the end of day %d: %lld bytes\n",
                    options.days, growth);
        // Flat: within a megabyte, whatever the population happened to be at each day's end.
        ok = ok && growth < 1024 * 1024;
    }
    std::filesystem::remove_all(pattern);
    std::printf("%s\n", ok ? "soak: all invariants hold" : "soak: an invariant FAILED");
    return ok ? 0 : 1;
}
