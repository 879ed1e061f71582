// Folding per-seed results, written wherever the sweep's commands ran, back into one sweep:
// the results that belong together (the same build, scenario, INI, minutes, start and sweep
// as most of them), in seed order, and one note for each thing that keeps the table from
// being the whole sweep's: a file that is not a whole result, a result from another run, a
// seed given twice, a seed with no result.
#pragma once

#include <string>
#include <vector>

#include "sim/app/sweep/sweep_results.h"
#include "sim/app/sweep/sweep_seed_result.h"

struct MergedSweep {
    SweepSetup setup;
    std::vector<SeedRun> runs;       // in seed order
    std::vector<std::string> notes;  // one line each
};

// The result files the arguments name: each file, and each folder's *.json, by name.
// False, with a one-line error, for an argument that is neither.
bool ListResultFiles(const std::vector<std::string>& arguments, std::vector<std::string>* files,
                     std::string* error);

// Reads and checks the files; false, with a one-line error, when not one holds a result.
bool MergeResultFiles(const std::vector<std::string>& files, MergedSweep* merged,
                      std::string* error);
