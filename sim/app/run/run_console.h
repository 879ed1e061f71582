// What a run shows while it goes: its log lines on standard output and, for a run that takes
// more than a few seconds, a progress line on standard error (simulated time done, encounters
// so far), drawn only when standard error is a terminal.
#pragma once

#include <chrono>
#include <cstdint>

#include "sim/host/sim_run.h"

class RunConsole {
  public:
    // plannedMs is the simulated time the run is meant to take, for the progress line, which
    // appears once the run has taken quietStart of wall time.
    RunConsole(SimRun& run, bool echoLines, bool showProgress, uint64_t plannedMs,
               std::chrono::milliseconds quietStart = std::chrono::seconds(2));

    // Runs ms more of simulated time in slices, showing new lines and progress in between.
    // False when the host stopped the run.
    bool Run(uint64_t ms);
    // Shows the lines not shown yet and clears the progress line.
    void Flush();

    // Whether standard error is a terminal, where a progress line belongs.
    static bool ProgressWanted();

  private:
    void ShowNewLines();
    void ShowProgress();
    void ClearProgress();

    SimRun& run_;
    bool echoLines_;
    bool showProgress_;
    uint64_t plannedMs_;
    std::chrono::milliseconds quietStart_;
    size_t linesShown_ = 0;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDrawn_;
};
