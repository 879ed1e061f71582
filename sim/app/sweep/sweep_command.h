// tarrowind-sim --seeds A-B: the scenario run once per seed, each run in a process of its own,
// a number at a time, with a progress line on a terminal; then one table of what the runs gave
// and which seeds failed, and the same as JSON and as an HTML page when asked. With
// --print-commands the seeds' commands are printed for other machines to run instead, and
// --merge folds the results they wrote into the same table.
#pragma once

#include <string>

#include "sim/app/run/sim_options.h"

struct SweepRequest {
    SimOptions options;           // its paths made absolute
    std::string program;          // the simulator as the user called it, for the commands
    std::string scenarioAsGiven;  // --scenario as the user wrote it; empty: not given
    std::string workdirAsGiven;   // --workdir as the user wrote it; empty: not given
};

// Runs the sweep (or prints its commands) and returns the exit status: 0 when every seed
// passed, 1 when one failed (or an output could not be written), 2 for bad input (one line on
// standard error).
int RunSweep(const SweepRequest& request);

// --merge: the table of the results, one line on standard error for each result missing,
// damaged, given twice or from another run (status 1 then); status 2 when no file holds one.
int RunMergeCommand(const SimOptions& options);
