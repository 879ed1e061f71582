#include "sim/scene/compare_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "sim/app/run/run_outputs.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/replay/session_replay.h"
#include "sim/scene/recording_file.h"
#include "sim/scene/scene_builder.h"
#include "sim/scene/scene_text.h"
#include "sim/scene/scratch_game_folder.h"
#include "sim/scene/world_comparison.h"
#include "sim/world/scenario_file.h"

namespace {

// The recording's handle -> the world's: the player and his horse, and each staged id of the
// form ped_<handle> or vehicle_<handle>. A scenario with no such id is taken for the world the
// recording was made in, whose handles are the recording's own.
std::map<int32_t, int32_t> StagedHandles(const RecordingFacts& facts, const ScenarioInfo& info,
                                         const World& world, bool* staged) {
    std::map<int32_t, int32_t> handles;
    *staged = false;
    for (const auto* ids : {&info.pedIds, &info.vehicleIds}) {
        for (const auto& [id, handle] : *ids) {
            const std::string prefix = ids == &info.pedIds ? "ped_" : "vehicle_";
            if (id.rfind(prefix, 0) == 0 && id.size() > prefix.size() &&
                id.find_first_not_of("0123456789", prefix.size()) == std::string::npos &&
                id.size() - prefix.size() < 10) {
                handles[static_cast<int32_t>(std::stol(id.substr(prefix.size())))] = handle;
                *staged = true;
            }
        }
    }
    handles[facts.playerPed] = world.PlayerPed();
    for (const Told<int32_t>& horse : facts.playerHorse) {
        if (horse.value != 0 && world.PlayerHorse() != 0) {
            handles[horse.value] = world.PlayerHorse();
        }
    }
    return handles;
}

std::string Padded(const std::string& text, size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

}  // namespace

int RunCompareWorldCommand(const std::string& recordingPath, const std::string& scenarioPath) {
    OpenedRecording opened;
    std::string error;
    if (!OpenRecordingFile(recordingPath, &opened, &error)) {
        return Fail(error, 2);
    }
    const RecordingFacts& facts = opened.facts;
    uint64_t seed = 1;
    SeedOfRecording(facts, &seed);
    World world(seed);
    ScenarioInfo info;
    bool loaded = false;
    if (scenarioPath.empty()) {
        SceneChoice choice;
        choice.wholeSession = true;
        choice.recordingName = std::filesystem::path(recordingPath).filename().string();
        Scene scene;
        loaded = BuildScene(facts, SessionLog(), choice, &scene, &error) &&
                 LoadScenarioText(SceneText(scene.json), "the scene of " + recordingPath, world,
                                  &info, &error);
    } else {
        loaded = LoadScenarioFile(scenarioPath, world, &info, &error);
    }
    if (!loaded) {
        return Fail(error, 2);
    }

    recording::RecordingReader reader;
    reader.Open(opened.bytes, &error);  // opened once already: it opens
    ScratchGameFolder folder;
    HostOptions hostOptions = HostOptionsForSeed(seed);
    hostOptions.recordCalls = false;
    SimRun run(world, hostOptions);
    bool staged = false;
    const std::map<int32_t, int32_t> handles = StagedHandles(facts, info, world, &staged);
    WorldComparison comparison(world, run.Host().Natives(), handles, !staged);
    std::string stopped;
    {
        SessionReplay replay(run, reader);
        StandInHost& host = run.Host();
        host.answerNatives = [&](uint64_t hash, const NativeArgs& args, NativeResult& result) {
            comparison.AskWorld(hash, args, host.NowMs());
            replay.AnswerNative(hash, args, result);
            comparison.Compare(hash, args, result);
        };
        run.LoadPlugin();
        // (A recording read whole ends within kLongestSessionMs: the replay does too.)
        while (run.Host().NowMs() <= facts.endMs + 60000 && run.Run(60000)) {
        }
        if (replay.Current() == SessionReplay::State::Differed) {
            stopped = replay.Difference();
        }
        host.answerNatives = nullptr;
    }

    std::printf("the world of %s against %s (%s), %.1f s of the session\n",
                scenarioPath.empty() ? "the scene made from it" : scenarioPath.c_str(),
                std::filesystem::path(recordingPath).filename().string().c_str(),
                facts.versionLine.c_str(), static_cast<double>(run.Host().NowMs()) / 1000.0);
    std::vector<const NativeTally*> rows;
    for (const auto& entry : comparison.Tallies()) {
        rows.push_back(&entry.second);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const NativeTally* a, const NativeTally* b) {
        return a->differ != b->differ ? a->differ > b->differ : a->name < b->name;
    });
    std::printf("%s%10s %10s\n", Padded("native", 34).c_str(), "asked", "differ");
    size_t differing = 0;
    for (const NativeTally* row : rows) {
        std::printf("%s%10llu %10llu\n", Padded(row->name, 34).c_str(),
                    static_cast<unsigned long long>(row->asked),
                    static_cast<unsigned long long>(row->differ));
        for (const std::string& line : row->firstCases) {
            std::printf("    %s\n", line.c_str());
        }
        differing += row->differ > 0 ? 1 : 0;
    }
    if (comparison.Differ() == 0) {
        std::printf("no difference: %llu answers of %zu natives\n",
                    static_cast<unsigned long long>(comparison.Asked()), rows.size());
    } else {
        std::printf("%llu of %llu answers differ, in %zu of %zu natives\n",
                    static_cast<unsigned long long>(comparison.Differ()),
                    static_cast<unsigned long long>(comparison.Asked()), differing, rows.size());
    }
    std::fflush(stdout);
    if (!stopped.empty()) {
        return Fail("compare-world: the replay stopped early: " + stopped, 1);
    }
    return comparison.Differ() == 0 ? 0 : 1;
}
