// Feeds arbitrary bytes to the scene maker: a recording that opens must give a scene that
// loads as a scenario (every position, model, seat and mount one the loader takes), never a
// crash, a hang or a file --scenario would refuse.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/replay/recording_reader.h"
#include "sim/scene/recording_facts.h"
#include "sim/scene/scene_builder.h"
#include "sim/scene/scene_text.h"
#include "sim/world/scenario_file.h"
#include "sim/world/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    recording::RecordingReader reader;
    std::string error;
    if (!reader.Open(std::string(reinterpret_cast<const char*>(data), size), &error)) {
        return 0;
    }
    const RecordingFacts facts = ReadRecordingFacts(reader);
    SceneChoice choice;
    choice.wholeSession = true;
    Scene scene;
    if (!BuildScene(facts, SessionLog(), choice, &scene, &error)) {
        __builtin_trap();  // the whole session is always a moment of it
    }
    World world(1);
    ScenarioInfo info;
    if (!LoadScenarioText(SceneText(scene.json), "scene", world, &info, &error)) {
        __builtin_trap();
    }
    return 0;
}
