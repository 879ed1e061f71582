// tarrowind-frame-cost: what one game frame costs the plug-in. For idle frames, the natives
// and heap allocations per frame; for each encounter, with 50, 100 and 200 peds near the
// player, the natives of its most expensive frame (between two waits) and the plug-in's own
// CPU time in that frame (time spent answering natives taken out).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "encounters/encounter_list.h"
#include "host/script_hook.h"
#include "sim/host/sim_run.h"
#include "support/temp_workdir.h"

namespace {

uint64_t allocations = 0;

using Clock = std::chrono::steady_clock;

struct FrameProbe {
    Clock::time_point start;
    uint64_t allocationsAtStart = 0;
    uint64_t handlerNsAtStart = 0;
    uint32_t worstNatives = 0;
    double worstFrameMicros = 0;
    uint64_t worstAllocations = 0;
    bool counting = false;

    void Attach(StandInHost& host) {
        host.onFrameStart = [this, &host] {
            start = Clock::now();
            allocationsAtStart = allocations;
            handlerNsAtStart = host.Stats().nativeHandlerNs;
        };
        host.onFrameEnd = [this, &host](uint32_t natives, uint32_t) {
            if (!counting) {
                return;
            }
            const double wallNs =
                static_cast<double>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start)
                        .count()) -
                static_cast<double>(host.Stats().nativeHandlerNs - handlerNsAtStart);
            if (natives > worstNatives) {
                worstNatives = natives;
                worstFrameMicros = wallNs / 1000.0;
            }
            worstAllocations = std::max(worstAllocations, allocations - allocationsAtStart);
        };
    }
};

HostOptions MeasuringOptions() {
    HostOptions options;
    options.recordCalls = false;
    options.timeNatives = true;
    return options;
}

void MeasureIdleFrames() {
    TempWorkdir dir;
    dir.WriteIni(
        "[Event Timing]\nMinEventDelayMinutes=600\nMaxEventDelayMinutes=600\n"
        "[Weather Timing]\nWeather_MinEventDelayMinutes=600\nWeather_MaxEventDelayMinutes=600\n");
    World world;
    world.CreatePlayer(Vec3{});
    SimRun run(world, MeasuringOptions());
    FrameProbe probe;
    probe.Attach(run.Host());
    run.LoadPlugin();
    run.Run(60000);  // start-up, and both timers armed
    probe.counting = true;
    const uint64_t framesBefore = run.Host().Stats().frames;
    run.Run(10 * 60000);
    std::printf(
        "idle frames: %llu measured, natives per frame (most): %u, heap allocations per "
        "frame (most): %llu, plug-in CPU time (worst frame): %.2f us\n",
        static_cast<unsigned long long>(run.Host().Stats().frames - framesBefore),
        probe.worstNatives, static_cast<unsigned long long>(probe.worstAllocations),
        probe.worstFrameMicros);
}

// Peds of every kind within 90 m of the player, most of them townsfolk.
void Populate(World& world, int peds) {
    for (int i = 0; i < peds; ++i) {
        const float angle = static_cast<float>(i) * 2.399963f;
        const float radius = 5.0f + static_cast<float>(i % 17) * 5.0f;
        const Vec3 pos{radius * std::cos(angle), radius * std::sin(angle), 0.0f};
        switch (i % 20) {
            case 0:
            case 1:
                world.AddLawman(pos);
                break;
            case 2:
                world.AddShopkeeper(pos);
                break;
            case 3:
            case 4:
                world.AddRider(pos);
                break;
            case 5:
                world.AddWagonWithDriver("CART01", pos, 1);
                ++i;  // the passenger counts too
                break;
            case 6:
                world.AddAnimal("A_C_Deer_01", pos);
                break;
            default:
                world.AddTownsfolk(pos, i % 3 != 0);
        }
    }
}

const EncounterDefinition* measuredEncounter = nullptr;

void RunMeasuredEncounter() {
    try {
        measuredEncounter->action();
    } catch (...) {
    }
    for (;;) {
        scriptWait(1000);
    }
}

int NearbyCount(const SimRun& run) {
    for (const LoggedLine& line : run.Lines()) {
        if (line.message.rfind("Found ", 0) == 0) {
            return std::atoi(line.message.c_str() + 6);
        }
    }
    return 0;
}

struct EncounterFrame {
    int scanned = 0;
    uint32_t worstNatives = 0;
    double worstFrameMicros = 0;
};

EncounterFrame RunEncounter(const EncounterDefinition& encounter, int peds, bool debugLines) {
    TempWorkdir dir;
    World world(7);
    world.CreatePlayer(Vec3{});
    world.SetClock(22, 0);
    Populate(world, peds);
    SimRun run(world, MeasuringOptions());
    Config.EnableDebugLogging = debugLines;
    FrameProbe probe;
    probe.Attach(run.Host());
    probe.counting = true;
    measuredEncounter = &encounter;
    run.StartScript(RunMeasuredEncounter);
    run.Run(5 * 60000);
    EncounterFrame frame;
    frame.scanned = debugLines ? NearbyCount(run) : 0;
    frame.worstNatives = probe.worstNatives;
    frame.worstFrameMicros = probe.worstFrameMicros;
    return frame;
}

void MeasureEncounter(const EncounterDefinition& encounter, int peds) {
    const EncounterFrame withDebug = RunEncounter(encounter, peds, true);
    const EncounterFrame withoutDebug = RunEncounter(encounter, peds, false);
    const int scanned = withDebug.scanned;
    std::printf("| %s | %d | %d | %u | %.1f | %.0f | %.0f |\n", encounter.name, peds, scanned,
                withDebug.worstNatives,
                scanned > 0 ? static_cast<double>(withDebug.worstNatives) / scanned : 0.0,
                withDebug.worstFrameMicros, withoutDebug.worstFrameMicros);
}

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

int main() {
    MeasureIdleFrames();
    std::printf(
        "\n| encounter | peds near | peds scanned | natives in the worst frame | natives per "
        "scanned ped | plug-in CPU us in that frame | the same, Debug lines off |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const EncounterDefinition& encounter : AllEncounters()) {
        for (int peds : {50, 100, 200}) {
            MeasureEncounter(encounter, peds);
        }
    }
    return 0;
}
