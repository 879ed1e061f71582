#include "sim/app/run/run_console.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint64_t kSliceMs = 10000;
constexpr std::chrono::milliseconds kRedrawEvery(250);

}  // namespace

RunConsole::RunConsole(SimRun& run, bool echoLines, bool showProgress, uint64_t plannedMs,
                       std::chrono::milliseconds quietStart)
    : run_(run),
      echoLines_(echoLines),
      showProgress_(showProgress),
      plannedMs_(plannedMs),
      quietStart_(quietStart),
      started_(std::chrono::steady_clock::now()),
      lastDrawn_(started_ - kRedrawEvery) {
    // Lines are shown between slices, where they cannot cut through the progress line.
    run_.echoLines = false;
}

bool RunConsole::ProgressWanted() {
    return isatty(STDERR_FILENO) == 1;
}

bool RunConsole::Run(uint64_t ms) {
    for (uint64_t done = 0; done < ms;) {
        const uint64_t slice = std::min(kSliceMs, ms - done);
        const bool running = run_.Run(slice);
        done += slice;
        ShowNewLines();
        ShowProgress();
        if (!running) {
            return false;
        }
    }
    return true;
}

void RunConsole::Flush() {
    ShowNewLines();
    ClearProgress();
}

void RunConsole::ShowNewLines() {
    if (!echoLines_ || linesShown_ == run_.Lines().size()) {
        return;
    }
    ClearProgress();
    for (; linesShown_ < run_.Lines().size(); ++linesShown_) {
        std::printf("%s\n", run_.Lines()[linesShown_].line.c_str());
    }
    std::fflush(stdout);
}

void RunConsole::ShowProgress() {
    const auto now = std::chrono::steady_clock::now();
    if (!showProgress_ || now - started_ < quietStart_ || now - lastDrawn_ < kRedrawEvery) {
        return;
    }
    lastDrawn_ = now;
    uint64_t encounters = 0;
    for (const auto& entry : run_.Figures().encountersRun) {
        encounters += entry.second;
    }
    std::fprintf(stderr, "\r\033[Ksimulated %llu of %llu min, %llu encounters so far",
                 static_cast<unsigned long long>(run_.Host().NowMs() / 60000),
                 static_cast<unsigned long long>(plannedMs_ / 60000),
                 static_cast<unsigned long long>(encounters));
    std::fflush(stderr);
    progressShown_ = true;
}

void RunConsole::ClearProgress() {
    if (progressShown_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        progressShown_ = false;
    }
}
