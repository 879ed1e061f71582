// What the simulator's commands share: one line for a failure, whole files written, and the two
// files a run may be asked for besides its log (the trace of its calls and the HTML report).
#pragma once

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/app/report/run_recorder.h"
#include "sim/app/run/sim_options.h"
#include "sim/app/trace/call_trace.h"

class SimRun;
class World;

// Prints "tarrowind-sim: <message>" on standard error and returns the status.
int Fail(const std::string& message, int status);

// Writes the text as the whole file; false when it could not be written.
bool WriteFile(const std::string& path, const std::string& text);

// The trace and the report of one run, as the options ask for them.
class RunOutputs {
  public:
    // Starts the trace and the recording the report is drawn from; false when the trace
    // cannot be opened (the error names it).
    bool Start(SimRun& run, const SimOptions& options, std::string* error);
    // Closes the trace; false when it could not be written.
    bool FinishTrace(std::string* error);
    // Draws the report, when one was asked for, and says where it went; false when it could
    // not be written.
    bool WriteReport(SimRun& run, const World& world, const std::string& title,
                     const std::string& description, const nlohmann::json& summary,
                     std::string* error);

  private:
    std::string tracePath_;
    std::string reportPath_;
    std::unique_ptr<CallTrace> trace_;
    std::unique_ptr<RunRecorder> recorder_;
};
