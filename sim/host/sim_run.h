// One run of the real plug-in against the stand-in host: the world, the host, the plug-in's
// script registered through its library entry, and what the run wrote and did.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/logger.h"
#include "sim/host/event_spans.h"
#include "sim/host/logged_line.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/world.h"

struct RunFigures {
    std::map<std::string, uint64_t> encountersRun;     // "Executing <name>" per encounter
    std::map<std::string, uint64_t> weatherEventsRun;  // per weather event
    uint64_t encounterPicksSkipped = 0;
    uint64_t mainLoopExceptions = 0;
    uint32_t worstFrameNatives = 0;
    std::string worstFrameDuring;  // the event running in that frame, or "idle"
};

class SimRun {
  public:
    explicit SimRun(World& world, HostOptions options = HostOptions());
    ~SimRun();
    SimRun(const SimRun&) = delete;
    SimRun& operator=(const SimRun&) = delete;

    // Loads the plug-in as the game would (library entry, reason 1).
    void LoadPlugin();
    // Runs for ms of virtual time; false when the host stopped the run.
    bool Run(uint64_t ms);
    // Keeps running, up to maxMs more, until no event is in progress; true when none is.
    bool FinishRunningEvent(uint64_t maxMs);
    // Unloads the plug-in (library entry, reason 0).
    void UnloadPlugin();
    // Runs some other function as the script, for focused tests of one piece (an encounter
    // run on its own, say). The function must not return: end it with a wait loop.
    void StartScript(void (*entry)());

    StandInHost& Host() { return *host_; }
    World& GetWorld() { return world_; }
    const std::vector<LoggedLine>& Lines() const { return lines_; }
    std::vector<std::string> Messages() const;
    const RunFigures& Figures() const { return figures_; }
    // When each event ran and how it ended.
    const EventSpans& Spans() const { return spans_; }
    // The name of the event running now; empty between events.
    std::string EventInProgress() const;
    // Called with each line as it is written.
    std::function<void(const LoggedLine&)> onLine;
    // Print each line to standard output as it is written.
    bool echoLines = false;
    // Forgets the lines and the ended event spans kept so far (long runs check and drop them
    // as they go); the figures, the longest encounter among them, stay.
    void ClearLines() {
        lines_.clear();
        spans_.ForgetEnded();
    }

  private:
    static void Observe(LogLevel level, std::string_view message, std::string_view line,
                        bool written);
    void OnLine(LogLevel level, std::string message, std::string line, bool written);
    void OnFrameEnd(uint32_t natives);

    World& world_;
    std::unique_ptr<StandInHost> host_;
    std::vector<LoggedLine> lines_;
    RunFigures figures_;
    EventSpans spans_;
    std::string eventSeenThisFrame_;  // an event that ran at any point of the current frame
    int moduleTag_ = 0;               // its address stands in for the plug-in's module handle
};
