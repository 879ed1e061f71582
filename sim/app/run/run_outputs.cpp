#include "sim/app/run/run_outputs.h"

#include <cstdio>
#include <fstream>

#include "sim/app/report/report_data.h"
#include "sim/app/report/report_html.h"
#include "sim/host/sim_run.h"
#include "sim/world/world.h"

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "tarrowind-sim: %s\n", message.c_str());
    return status;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

bool RunOutputs::Start(SimRun& run, const SimOptions& options, std::string* error) {
    tracePath_ = options.trace;
    reportPath_ = options.report;
    if (!tracePath_.empty()) {
        trace_.reset(new CallTrace(run, tracePath_));
        if (!trace_->Ok()) {
            *error = "cannot write '" + tracePath_ + "'";
            return false;
        }
    }
    if (!reportPath_.empty()) {
        recorder_.reset(new RunRecorder(run));
    }
    return true;
}

bool RunOutputs::FinishTrace(std::string* error) {
    if (trace_ && !trace_->Close()) {
        *error = "cannot write '" + tracePath_ + "'";
        return false;
    }
    return true;
}

bool RunOutputs::WriteReport(SimRun& run, const World& world, const std::string& title,
                             const std::string& description, const nlohmann::json& summary,
                             std::string* error) {
    if (!recorder_) {
        return true;
    }
    recorder_->Finish();
    RunReport report = BuildRunReport(*recorder_, run.Lines(), world.Environment().Lightning(),
                                      run.Host().NowMs());
    report.terrain = world.terrain;
    report.title = title;
    report.description = description;
    report.summary = summary;
    if (!WriteFile(reportPath_, ReportHtml(report))) {
        *error = "cannot write '" + reportPath_ + "'";
        return false;
    }
    std::printf("report: %s\n", reportPath_.c_str());
    return true;
}
