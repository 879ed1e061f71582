// A small town for encounter tests: the player, peds placed around the player, and the two
// ways to run plug-in code against them (a focused script, or the real main loop).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "host/game_types.h"
#include "host/script_hook.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace hashes {
constexpr uint64_t kSetMissionEntity = 0xDC19C288082E586EULL;
constexpr uint64_t kNoLongerNeeded = 0x4971D2F8162B9674ULL;
constexpr uint64_t kKeepTask = 0x971D38760FBC02EFULL;
constexpr uint64_t kClearTasks = 0xE1EF3C1216AFF2CDULL;
constexpr uint64_t kCombat = 0xF166E48407BAC484ULL;
constexpr uint64_t kAnimalCharge = 0xEE3AA414CF99F368ULL;
constexpr uint64_t kFlee = 0xFD45175A6DFD7CE9ULL;
constexpr uint64_t kThrowRider = 0xBAE08F00021BFFB2ULL;
constexpr uint64_t kSetGroup = 0xC80A74AC829DDD92ULL;
constexpr uint64_t kBlipAdd = 0x23F74C2FDA6E7C61ULL;
constexpr uint64_t kBlipFromEntity = 0x6D2C41A8BD6D6FD0ULL;
constexpr uint64_t kClearBlip = 0x01B928CA2E198B01ULL;
constexpr uint64_t kNearbyPeds = 0x23F8F5FC7E8C4A6BULL;
constexpr uint64_t kIsHogtied = 0x3AA24CCC0D451379ULL;
}  // namespace hashes

// What a focused script runs, and what it left behind. A body runs once on the script fiber
// after the generator is seeded with `seed`; the script then idles.
struct FocusedScript {
    static void (*body)();
    static uint32_t seed;
    static bool done;
    static std::string failure;  // what() of an exception that left the body
    static void Entry();
};

class EncounterTest : public ::testing::Test {
  protected:
    static constexpr float kX = 100.0f;  // the player stands at (kX, kY, kZ)
    static constexpr float kY = 200.0f;
    static constexpr float kZ = 10.0f;

    EncounterTest();

    // A position `dx` metres east and `dy` metres north of the player.
    static Vec3 Near(float dx, float dy = 0.0f) { return Vec3{kX + dx, kY + dy, kZ}; }

    // Townsfolk and lawmen are the world's own, in the game's groups.
    int32_t AddTownsman(const Vec3& at, const std::string& model = "A_M_M_ValTownfolk_01");
    int32_t AddTownswoman(const Vec3& at);
    int32_t AddLawman(const Vec3& at);
    int32_t AddAnimal(const Vec3& at, const std::string& model, const std::string& group,
                      bool male = true);
    int32_t AddInGroup(const Vec3& at, const std::string& group);
    // A rider on a horse of their own, in `group` or else the townsfolk's; returns the rider.
    int32_t AddRider(const Vec3& at, bool woman = false, const std::string& group = "");

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
    // The virtual time the message was first logged at.
    uint64_t LoggedAtMs(const std::string& message) const;
    // Messages from the first one equal to `first` up to and including the first one equal
    // to `last`.
    std::vector<std::string> Between(const std::string& first, const std::string& last) const;
    // Native calls of one hash, in order; with a first argument, only those on that ped.
    std::vector<HostCall> CallsTo(uint64_t hash) const;
    std::vector<HostCall> CallsTo(uint64_t hash, int32_t firstArg) const;
    // The ped named in the last log line that starts with `prefix` (0 when none).
    int32_t PedFromLine(const std::string& prefix) const;

    TempWorkdir dir;
    World world;
    int32_t player = 0;
    std::unique_ptr<SimRun> run;
};

inline int32_t ArgInt(const HostCall& call, int i) {
    return static_cast<int32_t>(static_cast<uint32_t>(call.args[i]));
}
