// The figures one simulator run reports, as text for people and as JSON for tools.
#pragma once

#include <string>

#include "sim/host/sim_run.h"

struct RunSummary {
    double simulatedMinutes = 0;
    double wallSeconds = 0;
    bool endedMidEvent = false;
};

std::string SummaryText(SimRun& run, const RunSummary& summary);
std::string SummaryJson(SimRun& run, const RunSummary& summary);
