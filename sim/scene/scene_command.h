// tarrowind-sim --scene-from FILE.rec [--at SECONDS | --encounter N]: the scenario that
// re-stages the recorded world, on standard output.
#pragma once

#include <cstdint>
#include <string>

#include "sim/scene/scene_builder.h"

// Returns the exit status: 0 the scene was written, 2 a file that is not a whole-enough
// recording or a moment it does not have (one line on standard error).
int RunSceneCommand(const std::string& recordingPath, const SceneChoice& choice);
