// A trace of a run: every native call the plug-in made (virtual time, name, arguments,
// result), every wait and every log line, one per line, in the order they happened. It shows
// a mod author exactly what an encounter asked of the game, and two traces of the same run
// compared byte for byte prove a change of the code changed nothing the game would see.
#pragma once

#include <cstdio>
#include <string>

#include "sim/host/sim_run.h"

class CallTrace {
  public:
    // Starts writing to path; Ok() is false when the file cannot be opened.
    CallTrace(SimRun& run, const std::string& path);
    ~CallTrace();
    CallTrace(const CallTrace&) = delete;
    CallTrace& operator=(const CallTrace&) = delete;

    bool Ok() const { return file_ != nullptr; }
    // Flushes and closes the file; false when anything failed to be written.
    bool Close();

  private:
    void OnCall(const HostCall& call);
    void OnLine(const LoggedLine& line);

    SimRun& run_;
    std::FILE* file_;
    bool failed_ = false;
};

// One call as the trace writes it, without the time: "NAME(arg, ...) = result" or "wait N".
std::string DescribeCall(const HostCall& call);
// The same without " = result": a call as it was asked, before any answer.
std::string DescribeCall(const HostCall& call, bool withResult);
