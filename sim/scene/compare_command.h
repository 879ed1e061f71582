// tarrowind-sim --compare-world FILE.rec [--scenario SCENE]: plays the recorded session in the
// world re-staged from it (or the scenario's) and lists, native by native, where the world's
// answers differ from the recorded game's.
#pragma once

#include <string>

// Returns the exit status: 0 no difference, 1 differences (or the replay stopped early), 2 a
// file that is not a whole-enough recording or a scenario that does not load.
int RunCompareWorldCommand(const std::string& recordingPath, const std::string& scenarioPath);
