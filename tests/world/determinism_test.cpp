// The same seed and scenario give the same run: the same log lines and the same calls, with
// the same answers, at the same virtual times.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/native_list.h"
#include "sim/host/sim_run.h"
#include "sim/world/scenario_file.h"
#include "support/temp_workdir.h"

namespace {

struct RunRecord {
    std::vector<std::string> messages;
    std::vector<HostCall> calls;
    uint64_t spawned = 0;
    uint64_t killed = 0;
};

// Natives whose arguments include addresses of the plug-in's own variables, which need not be
// the same from run to run.
bool TakesAddresses(uint64_t hash) {
    namespace id = native::id;
    for (uint64_t taker : {id::GET_PED_NEARBY_PEDS::kHash, id::GET_HASH_KEY::kHash,
                           id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash,
                           id::ADD_RELATIONSHIP_GROUP::kHash, id::REMOVE_BLIP_BY_ADDRESS::kHash}) {
        if (hash == taker) {
            return true;
        }
    }
    return false;
}

RunRecord RunTown(uint64_t seed, uint64_t minutes) {
    TempWorkdir dir;
    dir.WriteIni(IniWith({"Event1_Aggressor", "Event2_Aggressor_Player", "Event3_Animal_Predator",
                          "Event4_Wagon_Robbery", "Event5_Mugging", "Event6_Horse_Bucking",
                          "Sudden_Thunderstorm", "Sudden_Fog"}));
    World world(seed);
    std::string error;
    EXPECT_TRUE(LoadScenarioFile(std::string(TARROWIND_SOURCE_DIR) + "/scenarios/town.json", world,
                                 nullptr, &error))
        << error;
    HostOptions options;
    options.startTickMs = 3600000 + seed * 7919u;
    SimRun run(world, options);
    run.LoadPlugin();
    EXPECT_TRUE(run.Run(minutes * 60000));
    RunRecord record;
    record.messages = run.Messages();
    record.calls = run.Host().Calls();
    record.spawned = world.PedsSpawned();
    record.killed = world.PedsKilled();
    return record;
}

void ExpectSameCalls(const std::vector<HostCall>& a, const std::vector<HostCall>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        const HostCall& x = a[i];
        const HostCall& y = b[i];
        ASSERT_EQ(x.kind, y.kind) << "call " << i;
        ASSERT_EQ(x.atMs, y.atMs) << "call " << i;
        ASSERT_EQ(x.hash, y.hash) << "call " << i;
        ASSERT_EQ(x.waitMs, y.waitMs) << "call " << i;
        ASSERT_EQ(x.argCount, y.argCount) << "call " << i;
        for (int r = 0; r < 3; ++r) {
            ASSERT_EQ(x.result[r], y.result[r]) << "call " << i << " result slot " << r;
        }
        if (!TakesAddresses(x.hash)) {
            for (int arg = 0; arg < x.argCount && arg < 13; ++arg) {
                ASSERT_EQ(x.args[arg], y.args[arg]) << "call " << i << " argument " << arg;
            }
        }
    }
}

TEST(DeterminismTest, TheSameSeedAndScenarioGiveTheSameRun) {
    const RunRecord first = RunTown(5, 12);
    const RunRecord second = RunTown(5, 12);
    ASSERT_GT(first.calls.size(), 1000u);
    EXPECT_EQ(first.messages, second.messages);
    ExpectSameCalls(first.calls, second.calls);
    EXPECT_EQ(first.spawned, second.spawned);
    EXPECT_EQ(first.killed, second.killed);

    const RunRecord other = RunTown(6, 12);
    EXPECT_NE(first.messages, other.messages) << "another seed, another evening";
}

}  // namespace
