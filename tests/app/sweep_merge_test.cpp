// Merging per-seed results: which results belong to the sweep, in what order they come, and
// the notes for everything left out; and the shares --shard hands out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "sim/app/sweep/sweep_merge.h"
#include "sim/app/sweep/sweep_seed_command.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class SweepMergeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarrowind-merge-test-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(folder_); }

    RunIdentity Town() const {
        RunIdentity id;
        id.build = "0.1.0 (abc1234)";
        id.scenario = "town.json";
        id.scenarioDigest = "00000000000000aa";
        id.minutes = 10;
        id.inSweep = true;
        id.firstSeed = 1;
        id.lastSeed = 4;
        return id;
    }

    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = (folder_ / name).string();
        std::ofstream(path) << text;
        return path;
    }

    std::string Result(uint64_t seed, const RunIdentity& id, bool passed = true,
                       double longest = 10) const {
        json j = {{"simulated_minutes", 10.0},
                  {"longest_encounter_s", longest},
                  {"wall_seconds", 0.1 * static_cast<double>(seed)},
                  {"checks", {{"passed", passed}, {"first_problem", passed ? "" : "too long"}}}};
        j["run"] = RunBlock(id, seed, "sim --seed " + std::to_string(seed));
        return Write("seed-" + std::to_string(seed) + ".json", j.dump());
    }

    MergedSweep Merge(const std::vector<std::string>& files) const {
        MergedSweep merged;
        std::string error;
        EXPECT_TRUE(MergeResultFiles(files, &merged, &error)) << error;
        return merged;
    }

    fs::path folder_;
};

std::vector<uint64_t> SeedsOf(const MergedSweep& merged) {
    std::vector<uint64_t> seeds;
    for (const SeedRun& run : merged.runs) {
        seeds.push_back(run.seed);
    }
    return seeds;
}

TEST_F(SweepMergeTest, WholeSweepInAnyFileOrderComesInSeedOrderWithoutNotes) {
    const RunIdentity town = Town();
    const std::vector<std::string> files = {Result(3, town), Result(1, town, false),
                                            Result(4, town), Result(2, town)};
    const MergedSweep merged = Merge(files);
    EXPECT_EQ(SeedsOf(merged), (std::vector<uint64_t>{1, 2, 3, 4}));
    EXPECT_TRUE(merged.notes.empty());
    EXPECT_EQ(merged.setup.scenario, "town.json");
    EXPECT_EQ(merged.setup.firstSeed, 1u);
    EXPECT_EQ(merged.setup.lastSeed, 4u);
    EXPECT_EQ(merged.runs[0].outcome, SeedRun::Outcome::Failed);
    EXPECT_EQ(merged.runs[0].problem, "too long");
    EXPECT_EQ(merged.setup.command(1), "sim --seed 1");
}

TEST_F(SweepMergeTest, MissingSeedsAtEitherEndOfTheSweepAreNamed) {
    const RunIdentity town = Town();
    const MergedSweep merged = Merge({Result(2, town), Result(3, town)});
    EXPECT_EQ(merged.notes, (std::vector<std::string>{"seed 1: no result", "seed 4: no result"}));
}

TEST_F(SweepMergeTest, TheMostCommonRunWinsAndEachOtherIsNamedByWhatDiffers) {
    const RunIdentity town = Town();
    RunIdentity longer = town;
    longer.minutes = 60;
    RunIdentity otherIni = town;
    otherIni.iniDigest = "00000000000000bb";
    const std::string odd = Result(1, longer);  // first in order, but outnumbered
    const MergedSweep merged = Merge({odd, Result(2, town), Result(3, town), Result(4, otherIni)});
    EXPECT_EQ(SeedsOf(merged), (std::vector<uint64_t>{2, 3}));
    ASSERT_EQ(merged.notes.size(), 2u);
    EXPECT_NE(merged.notes[0].find("seed 1 is from another run (minutes 60, not 10)"),
              std::string::npos);
    EXPECT_NE(merged.notes[1].find("seed 4 is from another run (INI 00000000000000bb, not none)"),
              std::string::npos);
}

TEST_F(SweepMergeTest, ASeedGivenTwiceKeepsTheFirstAndSaysWhetherTheRunsDiffer) {
    const RunIdentity town = Town();
    const std::string first = Result(2, town);
    const std::string copy = Write("copy.json", [&] {
        std::ifstream in(first);
        json j = json::parse(in);
        j["wall_seconds"] = 9.0;  // another machine's time: still the same run
        return j.dump();
    }());
    const std::string other = Write("other.json", [&] {
        std::ifstream in(first);
        json j = json::parse(in);
        j["longest_encounter_s"] = 99.0;
        return j.dump();
    }());
    const MergedSweep merged =
        Merge({first, copy, other, Result(1, town), Result(3, town), Result(4, town)});
    EXPECT_EQ(SeedsOf(merged), (std::vector<uint64_t>{1, 2, 3, 4}));
    ASSERT_EQ(merged.notes.size(), 2u);
    EXPECT_NE(merged.notes[0].find("seed 2 again (first in " + first + ", the same run)"),
              std::string::npos);
    EXPECT_NE(merged.notes[1].find("another run"), std::string::npos);
    EXPECT_EQ(merged.runs[1].figures["longest_encounter_s"], 10.0);
}

TEST_F(SweepMergeTest, DamagedFilesAreNamedOnceAndNothingAtAllIsBadInput) {
    const RunIdentity town = Town();
    const std::string cut = Write("seed-3.json", "{\"run\": {\"seed\": 3, \"min");
    const std::string stray = Write("notes.json", "{\"figures\": 1}");
    const MergedSweep merged =
        Merge({Result(1, town), Result(2, town), cut, stray, Result(4, town)});
    EXPECT_EQ(SeedsOf(merged), (std::vector<uint64_t>{1, 2, 4}));
    ASSERT_EQ(merged.notes.size(), 2u);  // seed 3 is not named again as missing
    EXPECT_EQ(merged.notes[0],
              cut + ": damaged: not whole JSON (cut short?); seed 3 has no result");
    EXPECT_NE(merged.notes[1].find(stray + ": not a seed's result"), std::string::npos);

    MergedSweep none;
    std::string error;
    EXPECT_FALSE(MergeResultFiles({cut, stray}, &none, &error));
    EXPECT_NE(error.find("no result among the 2 files"), std::string::npos);
}

TEST(ShardSeedsTest, SharesCoverEverySeedOnceAndAreEven) {
    std::vector<uint64_t> all;
    for (uint64_t shard = 1; shard <= 4; ++shard) {
        const std::vector<uint64_t> share = ShardSeeds(5, 14, shard, 4);
        EXPECT_GE(share.size(), 2u);
        EXPECT_LE(share.size(), 3u);
        all.insert(all.end(), share.begin(), share.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, ShardSeeds(5, 14, 0, 0));
    EXPECT_EQ(ShardSeeds(5, 14, 0, 0).size(), 10u);
    EXPECT_EQ(ShardSeeds(7, 7, 3, 3), std::vector<uint64_t>{});
}

TEST(SeedRunCommandTest, OddPathsAreQuotedForTheShell) {
    SweepCommandParts parts;
    parts.program = "tarrowind-sim";
    parts.scenario = "my town's.json";
    parts.minutes = 5;
    parts.firstSeed = 1;
    parts.lastSeed = 2;
    EXPECT_EQ(SeedRunCommand(parts, 2, SeedResultPath("out dir", 2)),
              "tarrowind-sim --scenario 'my town'\\''s.json' --seed 2 --minutes 5 --in-sweep 1-2 "
              "--isolated --quiet --summary-json 'out dir/seed-2.json'");
}

}  // namespace
