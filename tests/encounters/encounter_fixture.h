// A small town for encounter tests: the player, peds placed around the player by the world's
// own builders, and the two ways to run plug-in code against them (a focused script, or the
// real main loop).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "host/game_types.h"
#include "host/native_invoker.h"
#include "host/native_list.h"
#include "host/script_hook.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace id = native::id;

// What a focused script runs, and what it left behind. A body runs once on the script fiber
// after the generator is seeded with `seed`; the script then idles.
struct FocusedScript {
    static void (*body)();
    static uint32_t seed;
    static bool done;
    static std::string failure;  // what() of an exception that left the body
    static void Entry();
};

inline std::string S(int32_t value) {
    return std::to_string(value);
}

// The argument slots of a call, and those the plug-in would push for the given values.
inline std::vector<uint64_t> Args(const HostCall& call) {
    return std::vector<uint64_t>(call.args, call.args + call.argCount);
}
template <class... Values>
std::vector<uint64_t> Pushed(Values... values) {
    return {native::EncodeArg(values)...};
}
inline int32_t ArgInt(const HostCall& call, int i) {
    return static_cast<int32_t>(static_cast<uint32_t>(call.args[i]));
}

class EncounterTest : public ::testing::Test {
  protected:
    static constexpr float kX = 100.0f;  // the player stands at (kX, kY, kZ)
    static constexpr float kY = 200.0f;
    static constexpr float kZ = 10.0f;

    EncounterTest();

    // A position `dx` metres east and `dy` metres north of the player.
    static Vec3 Near(float dx, float dy = 0.0f) { return Vec3{kX + dx, kY + dy, kZ}; }

    // Peds come from the world's builders (world.AddTownsfolk, AddLawman, AddAnimal,
    // AddRider, ...) with their models' groups. Two kinds the world does not build:
    // a townsman moved into another of the game's groups (a gang's, say),
    int32_t AddInGroup(const Vec3& at, const char* group);
    // and a shopkeeper under a model the catalogue lacks.
    int32_t AddShopkeeper(const Vec3& at, const std::string& model);

    // Runs `body` as the script (seeded with `seed`) until it returns or `maxMs` pass.
    void RunFocused(void (*body)(), uint32_t seed = 1, uint64_t maxMs = 600000);
    // The same in two steps, so a test can change settings or natives in between (the run
    // starts with the settings a freshly loaded plug-in has).
    void StartFocused(void (*body)(), uint32_t seed = 1);
    void FinishFocused(uint64_t maxMs = 600000);
    // Loads the plug-in with this INI and lets `ms` of virtual time pass.
    void RunPlugin(const std::string& ini, uint64_t ms);
    // Loads it without running, so a test can replace natives first.
    void LoadPlugin(const std::string& ini);
    // Lets time pass until the message is logged; false if `maxMs` passed first.
    bool RunUntil(const std::string& message, uint64_t maxMs = 120000);
    // A happening `afterMs` from now.
    void After(uint64_t afterMs, std::function<void(World&)> happening) {
        world.Schedule(world.NowMs() + afterMs, std::move(happening));
    }

    std::vector<std::string> Messages() const { return run->Messages(); }
    size_t Count(const std::string& message) const;
    bool Logged(const std::string& message) const { return Count(message) > 0; }
    // Whether each line was logged after the one before it (others may come between).
    ::testing::AssertionResult LoggedInOrder(const std::vector<std::string>& lines) const;
    // The virtual time the message was first logged at.
    uint64_t LoggedAtMs(const std::string& message) const;
    // Calls of one native from the catalogue, in order; with a ped, only those on that ped.
    template <class Native>
    std::vector<HostCall> Calls() const {
        return CallsTo(Native::kHash, nullptr);
    }
    template <class Native>
    std::vector<HostCall> Calls(int32_t ped) const {
        return CallsTo(Native::kHash, &ped);
    }
    // The pushed arguments of the one call of a native (on a ped); a failure when not just one.
    template <class Native>
    std::vector<uint64_t> OnlyCall() const {
        return OnlyOne(Calls<Native>());
    }
    template <class Native>
    std::vector<uint64_t> OnlyCall(int32_t ped) const {
        return OnlyOne(Calls<Native>(ped));
    }
    // Whether the run left no ped a mission entity (the player aside) and no blip standing.
    ::testing::AssertionResult LeftNothing() const;
    // The ped named in the last log line that starts with `prefix` (0 when none).
    int32_t PedFromLine(const std::string& prefix) const;

    TempWorkdir dir;
    World world;
    int32_t player = 0;
    std::unique_ptr<SimRun> run;

  private:
    static std::vector<uint64_t> OnlyOne(const std::vector<HostCall>& calls);
    std::vector<HostCall> CallsTo(uint64_t hash, const int32_t* ped) const;
};
