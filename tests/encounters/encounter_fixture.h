// A small town for encounter tests: the player, peds placed around the player by the world's
// own builders, and the two ways to run plug-in code against them (a focused script, or the
// real main loop).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "host/game_types.h"
#include "host/native_invoker.h"
#include "host/native_list.h"
#include "host/script_wait.h"
#include "sim/host/sim_run.h"
#include "sim/world/joaat.h"
#include "support/temp_workdir.h"

namespace id = native::id;

// What a focused script runs, and what it left behind. A body runs once on the script fiber
// after the generator is seeded with `seed`; the script then idles.
struct FocusedScript {
    static inline void (*body)() = nullptr;
    static inline uint32_t seed = 1;
    static inline bool done = false;
    static inline std::string failure;  // what() of an exception that left the body
    static void Entry() {
        SeedRandom(seed);
        try {
            body();
        } catch (const std::exception& e) {
            failure = e.what();
        } catch (...) {
            failure = "unknown";
        }
        done = true;
        for (;;) {
            YieldToGame(1000);
        }
    }
};

inline std::string S(int32_t value) {
    return std::to_string(value);
}

// The argument slots of a call, and those the plug-in would push for the given values.
inline std::vector<uint64_t> Args(const HostCall& call) {
    return std::vector<uint64_t>(call.args, call.args + call.argCount);
}
using ArgLists = std::vector<std::vector<uint64_t>>;
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

    EncounterTest() : world(7) {
        world.settings.pedsAct = false;
        // Peds are placed up to SearchRadius away and in numbers the game's short scan would
        // cut: these tests look at the plug-in's choices among all of them.
        world.settings.nearbyPedRange = 150.0f;
        world.settings.nearbyPedLimit = 1000;
        player = world.CreatePlayer(Near(0));
    }

    static Vec3 Near(float dx, float dy = 0.0f) { return Vec3{kX + dx, kY + dy, kZ}; }

    // Peds come from the world's builders (world.AddTownsfolk, AddLawman, AddAnimal,
    // AddRider, ...). Two kinds the world does not build: a townsman moved into another of
    // the game's groups (a gang's, say), and a shopkeeper under a model the catalogue lacks.
    int32_t AddInGroup(const Vec3& at, const char* group) {
        const int32_t ped = world.AddTownsfolk(at);
        world.FindPed(ped)->group = Joaat(group);
        return ped;
    }
    int32_t AddShopkeeper(const Vec3& at, const std::string& model) {
        const int32_t ped = world.AddShopkeeper(at);
        world.FindPed(ped)->model = Joaat(model);
        world.FindPed(ped)->modelName = model;
        return ped;
    }

    // Runs `body` as the script (seeded with `seed`) until it returns or `maxMs` pass; in two
    // steps, a test can change settings or natives in between (the run starts with the
    // settings a freshly loaded plug-in has).
    void RunFocused(void (*body)(), uint32_t seed = 1, uint64_t maxMs = 600000) {
        StartFocused(body, seed);
        FinishFocused(maxMs);
    }
    void StartFocused(void (*body)(), uint32_t seed = 1) {
        FocusedScript::body = body;
        FocusedScript::seed = seed;
        FocusedScript::done = false;
        FocusedScript::failure.clear();
        run.reset(new SimRun(world));
        run->StartScript(&FocusedScript::Entry);
    }
    void FinishFocused(uint64_t maxMs = 600000) {
        for (uint64_t waited = 0; !FocusedScript::done && waited < maxMs; waited += 1000) {
            ASSERT_TRUE(run->Run(1000)) << "the host stopped the run";
        }
        ASSERT_TRUE(FocusedScript::done) << "the script did not finish in time";
        EXPECT_EQ(FocusedScript::failure, "") << "an exception left the script";
        EXPECT_TRUE(run->Host().Violations().empty());
    }
    void LoadPlugin(const std::string& ini) {
        dir.WriteIni(ini);
        run.reset(new SimRun(world));
        run->LoadPlugin();
    }
    void RunPlugin(const std::string& ini, uint64_t ms) {
        LoadPlugin(ini);
        ASSERT_TRUE(run->Run(ms)) << "the host stopped the run";
    }
    // Lets time pass until the message is logged; false if `maxMs` passed first.
    bool RunUntil(const std::string& message, uint64_t maxMs = 120000) {
        for (uint64_t waited = 0; !Logged(message); waited += 100) {
            if (waited >= maxMs || !run->Run(100)) {
                return false;
            }
        }
        return true;
    }
    void After(uint64_t afterMs, std::function<void(World&)> happening) {
        world.Schedule(world.NowMs() + afterMs, std::move(happening));
    }

    std::vector<std::string> Messages() const { return run->Messages(); }
    size_t Count(const std::string& message) const {
        const std::vector<std::string> messages = Messages();
        return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
    }
    bool Logged(const std::string& message) const { return Count(message) > 0; }
    // Whether each line was logged after the one before it (others may come between).
    ::testing::AssertionResult LoggedInOrder(const std::vector<std::string>& lines) const {
        const std::vector<std::string> messages = Messages();
        auto from = messages.begin();
        for (const std::string& line : lines) {
            from = std::find(from, messages.end(), line);
            if (from == messages.end()) {
                return ::testing::AssertionFailure() << "not logged in order: " << line;
            }
            ++from;
        }
        return ::testing::AssertionSuccess();
    }
    uint64_t LoggedAtMs(const std::string& message) const {
        for (const LoggedLine& line : run->Lines()) {
            if (line.message == message) {
                return line.atMs;
            }
        }
        ADD_FAILURE() << "never logged: " << message;
        return 0;
    }
    // Calls of one native from the catalogue, in order; with a ped, only those on that ped.
    template <class Native, class... OnPed>
    std::vector<HostCall> Calls(OnPed... ped) const {
        std::vector<HostCall> out;
        for (const HostCall& call : run->Host().Calls()) {
            if (call.kind == HostCall::kNative && call.hash == Native::kHash &&
                ((ArgInt(call, 0) == ped) && ...)) {
                out.push_back(call);
            }
        }
        return out;
    }
    // The pushed arguments of each call of a native (on a ped), in order.
    template <class Native, class... OnPed>
    ArgLists ArgsOf(OnPed... ped) const {
        ArgLists out;
        for (const HostCall& call : Calls<Native>(ped...)) {
            out.push_back(Args(call));
        }
        return out;
    }
    // Those of the one call of a native (on a ped); a failure when not just one.
    template <class Native, class... OnPed>
    std::vector<uint64_t> OnlyCall(OnPed... ped) const {
        const ArgLists calls = ArgsOf<Native>(ped...);
        EXPECT_EQ(calls.size(), 1u) << "calls of one native";
        return calls.size() == 1 ? calls[0] : std::vector<uint64_t>{};
    }
    // Whether the run left no ped a mission entity (the player aside), no blip standing and no
    // model requested and not given back.
    ::testing::AssertionResult LeftNothing() const {
        const bool nothing =
            world.OwnedPedCount() == 0 && world.Blips().empty() && world.ModelsLeftRequested() == 0;
        return (nothing ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
               << world.OwnedPedCount() << " peds owned, " << world.Blips().size()
               << " blips left, " << world.ModelsLeftRequested() << " models left requested";
    }
    // The log lines that start with one of the prefixes, in order.
    std::vector<std::string> LinesFrom(const std::vector<std::string>& prefixes) const {
        std::vector<std::string> out;
        for (const std::string& message : Messages()) {
            for (const std::string& prefix : prefixes) {
                if (message.compare(0, prefix.size(), prefix) == 0) {
                    out.push_back(message);
                }
            }
        }
        return out;
    }
    // The ped named in the last log line that starts with `prefix` (0 when none).
    int32_t PedFromLine(const std::string& prefix) const {
        const std::vector<std::string> lines = LinesFrom({prefix});
        return lines.empty() ? 0 : std::stoi(lines.back().substr(prefix.size()));
    }

    TempWorkdir dir;
    World world;
    int32_t player = 0;
    std::unique_ptr<SimRun> run;
};
