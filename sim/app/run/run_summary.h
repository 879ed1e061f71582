// The figures one simulator run reports, as text for people and as JSON for tools.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "sim/host/sim_run.h"

struct RunSummary {
    double simulatedMinutes = 0;
    double wallSeconds = 0;
    bool endedMidEvent = false;
};

// The figures by name, as --summary-json writes them.
nlohmann::json SummaryFigures(SimRun& run, const RunSummary& summary);
std::string SummaryText(SimRun& run, const RunSummary& summary);
std::string SummaryJson(SimRun& run, const RunSummary& summary);
