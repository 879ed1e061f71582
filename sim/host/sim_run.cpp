#include "sim/host/sim_run.h"

#include <cstdio>
#include <utility>

#include "encounters/encounter_lines.h"
#include "host/script_main.h"
#include "platform/platform.h"
#include "sim/host/line_text.h"

namespace {

SimRun* activeRun = nullptr;

// The game runs between two frames of the script: the plug-in may hold no file then, so that a
// player can open, rename or delete the log.
std::string FilesHeldAcrossWait() {
    const platform::AppendFileCounts files = platform::CountAppendFiles();
    if (files.opened == files.closed) {
        return std::string();
    }
    return "with " + std::to_string(files.opened - files.closed) +
           " file(s) of the plug-in open: the log must be closed before the game runs";
}

}  // namespace

SimRun::SimRun(World& world, HostOptions options)
    : world_(world), host_(new StandInHost(world, options)) {
    ResetProcessState();  // as a fresh load of the library would leave it
    activeRun = this;
    SetLogObserver(&SimRun::Observe);
    host_->onFrameEnd = [this](uint32_t natives, uint32_t) { OnFrameEnd(natives); };
    host_->checkAtWait = FilesHeldAcrossWait;
}

SimRun::~SimRun() {
    if (activeRun == this) {
        activeRun = nullptr;
        SetLogObserver(nullptr);
    }
}

void SimRun::LoadPlugin() {
    PluginEntry(&moduleTag_, 1);
}

void SimRun::UnloadPlugin() {
    PluginEntry(&moduleTag_, 0);
}

void SimRun::StartScript(void (*entry)()) {
    host_->RegisterScript(&moduleTag_, entry);
}

bool SimRun::Run(uint64_t ms) {
    return host_->RunFor(ms);
}

bool SimRun::FinishRunningEvent(uint64_t maxMs) {
    const uint64_t stepMs = 1000;
    uint64_t waited = 0;
    while (spans_.Running() != nullptr && waited < maxMs) {
        if (!host_->RunFor(stepMs)) {
            break;
        }
        waited += stepMs;
    }
    return spans_.Running() == nullptr;
}

std::string SimRun::EventInProgress() const {
    const EventSpan* running = spans_.Running();
    return running != nullptr ? running->name : std::string();
}

std::vector<std::string> SimRun::Messages() const {
    std::vector<std::string> messages;
    messages.reserve(lines_.size());
    for (const LoggedLine& line : lines_) {
        messages.push_back(line.message);
    }
    return messages;
}

void SimRun::Observe(LogLevel level, std::string_view message, std::string_view line,
                     bool written) {
    if (activeRun != nullptr) {
        activeRun->OnLine(level, std::string(message), std::string(line), written);
    }
}

void SimRun::OnLine(LogLevel level, std::string message, std::string line, bool written) {
    lines_.push_back(
        LoggedLine{level, std::move(message), std::move(line), written, host_->NowMs()});
    // By its index: a line logged from within onLine grows the list.
    const size_t index = lines_.size() - 1;
    if (onLine) {
        onLine(lines_[index]);
    }
    const LoggedLine& logged = lines_[index];
    if (echoLines) {
        std::printf("%s\n", logged.line.c_str());
    }
    // Follow which event is running, from the lines every event writes.
    spans_.OnLine(logged.message, host_->NowMs());
    if (StartsWith(logged.message, kExecutingLine)) {
        const EventSpan& started = *spans_.Running();
        ++(started.weather ? figures_.weatherEventsRun : figures_.encountersRun)[started.name];
        eventSeenThisFrame_ = started.name;
    } else if (StartsWith(logged.message, kSkippingLine) && EndsWith(logged.message, ")")) {
        ++figures_.encounterPicksSkipped;
    } else if (StartsWith(logged.message, kMainLoopExceptionLine) ||
               StartsWith(logged.message, kMainLoopUnknownExceptionLine)) {
        ++figures_.mainLoopExceptions;
    }
}

void SimRun::OnFrameEnd(uint32_t natives) {
    const EventSpan* running = spans_.Running();
    if (natives > figures_.worstFrameNatives) {
        figures_.worstFrameNatives = natives;
        figures_.worstFrameDuring = !eventSeenThisFrame_.empty() ? eventSeenThisFrame_
                                    : running != nullptr         ? running->name
                                                                 : "idle";
    }
    if (running != nullptr) {
        eventSeenThisFrame_ = running->name;
    } else {
        eventSeenThisFrame_.clear();
    }
}
