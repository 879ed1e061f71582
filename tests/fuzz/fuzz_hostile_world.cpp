// Fuzz target: one encounter against a hostile game in which every native answers with
// arbitrary values (unknown handles, counts above the capacity or negative, NaN and huge
// coordinates, zero blips). When the input runs out the game stands still: every native keeps
// giving its last answer, so a scene that never ends of itself (a killer who lives on near the
// player, say) is one the fuzzer can reach. No crash, no sanitizer report, no breach of the
// call contract (a frame that never yields is one), and the encounter returns within
// kLongestEncounterHoldMs, whatever the world does.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <unordered_map>

#include "encounters/encounter_list.h"
#include "encounters/watch_limit.h"
#include "host/native_list.h"
#include "sim/host/sim_run.h"

namespace {

FuzzedDataProvider* input = nullptr;
std::unordered_map<uint64_t, NativeResult> lastAnswers;  // by native hash
size_t chosenEncounter = 0;
bool encounterReturned = false;
uint64_t startedAtMs = 0;
uint64_t returnedAtMs = 0;

// A fresh answer while the input lasts; after that the native repeats its last one (zero if
// it never gave one).
template <typename Fill>
void Answer(uint64_t hash, NativeResult& result, Fill fill) {
    if (input->remaining_bytes() > 0) {
        fill(result);
        lastAnswers[hash] = result;
        return;
    }
    const auto last = lastAnswers.find(hash);
    if (last != lastAnswers.end()) {
        result = last->second;
    }
}

float HostileFloat() {
    switch (input->ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return std::numeric_limits<float>::infinity();
        case 2:
            return -3.0e38f;
        default:
            return input->ConsumeFloatingPointInRange<float>(-500.0f, 500.0f);
    }
}

template <uint64_t kHash>
void AnyValue(World&, const NativeArgs&, NativeResult& result) {
    Answer(kHash, result, [](NativeResult& fresh) {
        for (uint64_t& slot : fresh.slots) {
            slot = input->ConsumeIntegral<uint64_t>();
        }
    });
}

void AnyPosition(World&, const NativeArgs&, NativeResult& result) {
    Answer(native::id::GET_ENTITY_COORDS::kHash, result, [](NativeResult& fresh) {
        fresh.SetVector(HostileFloat(), HostileFloat(), HostileFloat());
    });
}

void AnyDistance(World&, const NativeArgs&, NativeResult& result) {
    Answer(native::id::VDIST::kHash, result,
           [](NativeResult& fresh) { fresh.SetFloat(HostileFloat()); });
}

// Fills no more slots than the buffer holds, as the game does, but may claim any count.
void AnyNearbyPeds(World&, const NativeArgs& args, NativeResult& result) {
    uint64_t* buffer = args.Pointer<uint64_t>(1);
    const int32_t capacity = static_cast<int32_t>(buffer[0]);
    const int32_t filled = input->ConsumeIntegralInRange<int32_t>(0, capacity > 0 ? capacity : 0);
    for (int32_t i = 1; i <= filled; ++i) {
        buffer[i] = input->ConsumeIntegralInRange<uint32_t>(0, 12);
    }
    result.SetInt(input->ConsumeBool() ? filled : input->ConsumeIntegral<int32_t>());
}

void AnyHashOut(World&, const NativeArgs& args, NativeResult& result) {
    *args.Pointer<uint32_t>(1) = input->ConsumeIntegral<uint32_t>();
    result.SetBool(true);
}

void AnyHandleRewrite(World&, const NativeArgs& args, NativeResult&) {
    if (input->ConsumeBool()) {
        *args.Pointer<int32_t>(0) = input->ConsumeIntegral<int32_t>();
    }
}

void RunChosenEncounter() {
    startedAtMs = ActiveStandInHost()->NowMs();
    try {
        AllEncounters()[chosenEncounter].action();
    } catch (...) {
        // Failures are the encounter's to log; the run goes on like the main loop does.
    }
    returnedAtMs = ActiveStandInHost()->NowMs();
    // Returning ends the fiber, so its stack is freed rather than abandoned.
    encounterReturned = true;
}

void EnterScratchFolder() {
    static bool entered = false;
    if (!entered) {
        char pattern[] = "/tmp/tarrowind-hostile-XXXXXX";
        if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
            std::abort();
        }
        entered = true;  // no Tarrowind/logs folder: lines are dropped
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterScratchFolder();
    const auto& encounters = AllEncounters();
    if (encounters.empty()) {
        return 0;
    }
    FuzzedDataProvider provider(data, size);
    input = &provider;
    lastAnswers.clear();
    chosenEncounter = provider.ConsumeIntegralInRange<size_t>(0, encounters.size() - 1);

    World world;
    HostOptions options;
    options.recordCalls = false;
    options.stackBytes = 256 * 1024;
    SimRun run(world, options);
    Config.EnableBlips = provider.ConsumeBool();
    Config.ExcludeWomen = provider.ConsumeBool();
    Config.ExcludeShopkeepers = provider.ConsumeBool();
#define TARROWIND_HOSTILE_NATIVE(name, hash, argCount) \
    run.Host().OverrideNative(hash, AnyValue<hash>);
    TARROWIND_NATIVES(TARROWIND_HOSTILE_NATIVE)
#undef TARROWIND_HOSTILE_NATIVE
    run.Host().OverrideNative(native::id::GET_ENTITY_COORDS::kHash, AnyPosition);
    run.Host().OverrideNative(native::id::VDIST::kHash, AnyDistance);
    run.Host().OverrideNative(native::id::GET_PED_NEARBY_PEDS::kHash, AnyNearbyPeds);
    run.Host().OverrideNative(native::id::ADD_RELATIONSHIP_GROUP::kHash, AnyHashOut);
    run.Host().OverrideNative(native::id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash, AnyHandleRewrite);

    encounterReturned = false;
    run.StartScript(RunChosenEncounter);
    // Up to the bound, and the frame in which the script first runs.
    const uint64_t deadlineMs = kLongestEncounterHoldMs + 1000;
    while (!encounterReturned && run.Host().NowMs() < deadlineMs) {
        if (!run.Run(1000)) {
            break;  // a breach
        }
    }
    if (!run.Host().Violations().empty()) {
        std::abort();  // the plug-in broke the call contract (the host said how)
    }
    if (!encounterReturned || returnedAtMs - startedAtMs > kLongestEncounterHoldMs) {
        std::fprintf(stderr, "%s held the script %s %.1f s, past the bound of %.1f s\n",
                     encounters[chosenEncounter].name, encounterReturned ? "for" : "for over",
                     static_cast<double>((encounterReturned ? returnedAtMs : run.Host().NowMs()) -
                                         startedAtMs) /
                         1000.0,
                     static_cast<double>(kLongestEncounterHoldMs) / 1000.0);
        std::abort();
    }
    input = nullptr;
    return 0;
}
