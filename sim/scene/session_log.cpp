#include "sim/scene/session_log.h"

#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/replay/recording_reader.h"
#include "sim/replay/session_replay.h"
#include "sim/scene/scratch_game_folder.h"

SessionLog ReplaySessionLog(const std::string& bytes, uint64_t untilMs) {
    SessionLog log;
    recording::RecordingReader reader;
    std::string error;
    if (!reader.Open(bytes, &error)) {
        log.stoppedEarly = error;
        return log;
    }
    ScratchGameFolder folder;
    World world(1);
    HostOptions hostOptions = HostOptionsForSeed(1);
    hostOptions.recordCalls = false;
    SimRun run(world, hostOptions);
    {
        SessionReplay replay(run, reader);
        run.LoadPlugin();
        while (run.Host().NowMs() <= untilMs && run.Run(60000)) {
        }
        if (replay.Current() == SessionReplay::State::Differed) {
            log.stoppedEarly = replay.Difference();
        }
    }
    log.replayedToMs = run.Host().NowMs();
    const std::vector<LoggedLine>& lines = run.Lines();
    for (const EventSpan& span : EventSpansFromLog(lines, run.Host().NowMs())) {
        if (span.weather) {
            continue;
        }
        RecordedEncounter encounter;
        encounter.name = span.name;
        encounter.startMs = span.startMs;
        encounter.endMs = span.end == SpanEnd::kRunning ? 0 : span.endMs;
        encounter.end = span.end;
        // From its "Executing" line to the line that ended it; one abandoned ends before the
        // next event's "Executing".
        const size_t last = span.end == SpanEnd::kAbandoned ? span.lastLine - 1 : span.lastLine;
        for (size_t i = span.firstLine; i <= last && i < lines.size(); ++i) {
            encounter.messages.push_back(lines[i].message);
        }
        log.encounters.push_back(std::move(encounter));
    }
    return log;
}
