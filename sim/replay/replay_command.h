// tarrowind-sim --replay FILE: plays the plug-in through a recorded session in the working
// folder, with the usual log, summary, trace and report.
#pragma once

#include "sim/app/run/sim_options.h"

// Returns the exit status: 0 replayed with no difference (to the closing record or the last
// whole record), 1 a difference or a breach, 2 a file that is not a recording of this format.
int RunReplayCommand(const SimOptions& options);
