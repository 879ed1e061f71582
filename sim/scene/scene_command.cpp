#include "sim/scene/scene_command.h"

#include <cstdio>
#include <filesystem>

#include "sim/app/run/run_outputs.h"
#include "sim/scene/recording_file.h"
#include "sim/scene/scene_text.h"
#include "sim/scene/session_log.h"

int RunSceneCommand(const std::string& recordingPath, const SceneChoice& choice) {
    OpenedRecording opened;
    std::string error;
    if (!OpenRecordingFile(recordingPath, &opened, &error)) {
        return Fail(error, 2);
    }
    const SessionLog log = ReplaySessionLog(opened.bytes, opened.facts.endMs + 60000);
    SceneChoice named = choice;
    named.recordingName = std::filesystem::path(recordingPath).filename().string();
    Scene scene;
    if (!BuildScene(opened.facts, log, named, &scene, &error)) {
        return Fail(recordingPath + ": " + error, 2);
    }
    const std::string text = SceneText(scene.json);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        return Fail("cannot write the scene to standard output", 1);
    }
    return 0;
}
