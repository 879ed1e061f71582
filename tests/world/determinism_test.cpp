// The same seed and scenario give the same run: log lines, calls, answers and virtual times.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/native_list.h"
#include "sim/host/sim_run.h"
#include "sim/world/scenario_file.h"
#include "support/temp_workdir.h"

namespace {

// One call as text, leaving out arguments that are addresses of the plug-in's own variables,
// which need not be the same from run to run.
std::string Describe(const HostCall& call) {
    namespace id = native::id;
    const bool addresses = call.hash == id::GET_PED_NEARBY_PEDS::kHash ||
                           call.hash == id::GET_HASH_KEY::kHash ||
                           call.hash == id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash ||
                           call.hash == id::ADD_RELATIONSHIP_GROUP::kHash ||
                           call.hash == id::REMOVE_BLIP_BY_ADDRESS::kHash;
    std::ostringstream text;
    text << call.kind << " at " << call.atMs << ": " << call.hash << " wait " << call.waitMs
         << " (";
    for (int arg = 0; arg < call.argCount && arg < 13; ++arg) {
        text << (addresses ? 0 : call.args[arg]) << ",";
    }
    text << ") = " << call.result[0] << "," << call.result[1] << "," << call.result[2];
    return text.str();
}

struct RunRecord {
    std::vector<std::string> messages;
    std::vector<std::string> calls;
};

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
    RunRecord record{run.Messages(), {}};
    for (const HostCall& call : run.Host().Calls()) {
        record.calls.push_back(Describe(call));
    }
    return record;
}

TEST(DeterminismTest, TheSameSeedAndScenarioGiveTheSameRun) {
    const RunRecord first = RunTown(5, 12);
    const RunRecord second = RunTown(5, 12);
    ASSERT_GT(first.calls.size(), 1000u);
    EXPECT_EQ(first.messages, second.messages);
    ASSERT_EQ(first.calls.size(), second.calls.size());
    for (size_t i = 0; i < first.calls.size(); ++i) {
        ASSERT_EQ(first.calls[i], second.calls[i]) << "call " << i;
    }

    const RunRecord other = RunTown(6, 12);
    EXPECT_NE(first.messages, other.messages) << "another seed, another evening";
}

}  // namespace
