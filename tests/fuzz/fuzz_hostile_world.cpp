// Fuzz target: one encounter against a hostile game in which every native answers with
// arbitrary values (unknown handles, counts above the capacity or negative, NaN and huge
// coordinates, zero blips). The encounter runs for a bounded stretch of virtual time. No
// crash, no sanitizer report, and never a frame that makes natives without end.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "encounters/encounter_list.h"
#include "host/native_list.h"
#include "sim/host/sim_run.h"

namespace {

FuzzedDataProvider* input = nullptr;
size_t chosenEncounter = 0;
bool encounterReturned = false;
uint64_t nativesThisFrame = 0;

// More natives than this between two waits means a loop that never yields.
constexpr uint64_t kMaxNativesInOneFrame = 200000;

void CountNative() {
    if (++nativesThisFrame > kMaxNativesInOneFrame) {
        std::fprintf(stderr, "an encounter made %llu natives without waiting\n",
                     static_cast<unsigned long long>(nativesThisFrame));
        std::abort();
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

void AnyValue(World&, const NativeArgs&, NativeResult& result) {
    CountNative();
    for (uint64_t& slot : result.slots) {
        slot = input->ConsumeIntegral<uint64_t>();
    }
}

void AnyPosition(World&, const NativeArgs&, NativeResult& result) {
    CountNative();
    result.SetVector(HostileFloat(), HostileFloat(), HostileFloat());
}

void AnyDistance(World&, const NativeArgs&, NativeResult& result) {
    CountNative();
    result.SetFloat(HostileFloat());
}

// Fills no more slots than the buffer holds, as the game does, but may claim any count.
void AnyNearbyPeds(World&, const NativeArgs& args, NativeResult& result) {
    CountNative();
    uint64_t* buffer = args.Pointer<uint64_t>(1);
    const int32_t capacity = static_cast<int32_t>(buffer[0]);
    const int32_t filled = input->ConsumeIntegralInRange<int32_t>(0, capacity > 0 ? capacity : 0);
    for (int32_t i = 1; i <= filled; ++i) {
        buffer[i] = input->ConsumeIntegralInRange<uint32_t>(0, 12);
    }
    result.SetInt(input->ConsumeBool() ? filled : input->ConsumeIntegral<int32_t>());
}

void AnyHashOut(World&, const NativeArgs& args, NativeResult& result) {
    CountNative();
    *args.Pointer<uint32_t>(1) = input->ConsumeIntegral<uint32_t>();
    result.SetBool(true);
}

void AnyHandleRewrite(World&, const NativeArgs& args, NativeResult&) {
    CountNative();
    if (input->ConsumeBool()) {
        *args.Pointer<int32_t>(0) = input->ConsumeIntegral<int32_t>();
    }
}

void RunChosenEncounter() {
    try {
        AllEncounters()[chosenEncounter].action();
    } catch (...) {
        // Failures are the encounter's to log; the run goes on like the main loop does.
    }
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
    chosenEncounter = provider.ConsumeIntegralInRange<size_t>(0, encounters.size() - 1);

    World world;
    HostOptions options;
    options.recordCalls = false;
    options.stackBytes = 256 * 1024;
    SimRun run(world, options);
    Config.EnableBlips = provider.ConsumeBool();
    Config.ExcludeWomen = provider.ConsumeBool();
    Config.ExcludeShopkeepers = provider.ConsumeBool();
    for (size_t i = 0; i < native::CatalogueSize(); ++i) {
        run.Host().OverrideNative(native::Catalogue()[i].hash, AnyValue);
    }
    run.Host().OverrideNative(native::id::GET_ENTITY_COORDS::kHash, AnyPosition);
    run.Host().OverrideNative(native::id::VDIST::kHash, AnyDistance);
    run.Host().OverrideNative(native::id::GET_PED_NEARBY_PEDS::kHash, AnyNearbyPeds);
    run.Host().OverrideNative(native::id::ADD_RELATIONSHIP_GROUP::kHash, AnyHashOut);
    run.Host().OverrideNative(native::id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash, AnyHandleRewrite);
    run.Host().onFrameEnd = [](uint32_t, uint32_t) { nativesThisFrame = 0; };

    encounterReturned = false;
    nativesThisFrame = 0;  // a run that ended without a wait must not count against this one
    run.StartScript(RunChosenEncounter);
    run.Run(3 * 60000);  // a bounded stretch: three simulated minutes
    if (!encounterReturned) {
        // Then a game with nothing left in it (every answer 0: no ped exists) must let any
        // encounter come to its end.
        provider.ConsumeRemainingBytes<uint8_t>();
        run.Run(6 * 60000);
        if (!encounterReturned) {
            std::fprintf(stderr, "%s did not end in a world where no ped exists\n",
                         encounters[chosenEncounter].name);
            std::abort();
        }
    }
    if (!run.Host().Violations().empty()) {
        std::abort();  // the plug-in broke the call contract
    }
    input = nullptr;
    return 0;
}
