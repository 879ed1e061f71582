// A sweep as one self-contained HTML page: the table of the runs' figures, a histogram of each
// figure over the seeds (failing seeds marked), and each failing seed next to the command that
// reproduces it.
#pragma once

#include <string>

#include "sim/app/sweep/sweep_results.h"

std::string SweepReportHtml(const SweepResults& results);
