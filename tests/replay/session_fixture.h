// Recording a session of the town in the simulator and replaying it, for the replay tests.
#pragma once

#include <cstdint>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/session_recorder.h"
#include "sim/app/trace/call_trace.h"
#include "sim/host/run_setup.h"
#include "sim/host/sim_run.h"
#include "sim/replay/recording_reader.h"
#include "sim/replay/session_replay.h"
#include "sim/world/default_world.h"
#include "sim/world/world.h"
#include "support/temp_workdir.h"

// The packaged INI with recording on or off (and, for a shorter test, its delays).
inline std::string TownIni(bool record) {
    std::ifstream in(std::string(TARROWIND_SHIPPED_INI));
    std::stringstream text;
    text << in.rdbuf();
    std::string ini = text.str();
    const std::string off = "RecordSession=false";
    ini.replace(ini.find(off), off.size(), record ? "RecordSession=true" : off);
    return ini;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What a run showed: the calls as the trace describes them (pointer arguments by value), each
// with its virtual time, and the day's log files by name.
struct SessionOutcome {
    std::vector<std::string> calls;
    std::map<std::string, std::string> logs;  // file name -> bytes, .log files only
    std::string recordingPath;                // empty when none was written
};

inline std::map<std::string, std::string> LogFilesOf(const TempWorkdir& folder) {
    std::map<std::string, std::string> logs;
    for (const std::string& name : folder.LogFiles()) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0) {
            logs[name] = ReadBytes((folder.Root() / "Tarrowind" / "logs" / name).string());
        }
    }
    return logs;
}

inline void KeepCalls(SimRun& run, std::vector<std::string>* calls) {
    run.Host().onCall = [calls](const HostCall& call) {
        calls->push_back(std::to_string(call.atMs) + " " + DescribeCall(call));
    };
}

inline HostOptions FixedHostOptions(std::time_t calendarStart = 1733500800) {
    HostOptions options = HostOptionsForSeed(3);
    options.calendarStart = calendarStart;
    return options;
}

// Plays the default town for `minutes` with the INI already in the folder, then unloads the
// plug-in as the game does when it ends.
inline SessionOutcome PlayTown(const TempWorkdir& folder, uint64_t minutes,
                               HostOptions options = FixedHostOptions(),
                               const std::function<void(SimRun&)>& prepare = nullptr) {
    SessionOutcome outcome;
    World world(3);
    std::string error;
    if (!BuildDefaultWorld(world, &error)) {
        outcome.calls.push_back("no town: " + error);
        return outcome;
    }
    {
        SimRun run(world, options);
        KeepCalls(run, &outcome.calls);
        if (prepare) {
            prepare(run);
        }
        run.LoadPlugin();
        run.Run(minutes * 60000);
        run.UnloadPlugin();
        outcome.recordingPath = session_record::FilePath();
    }
    outcome.logs = LogFilesOf(folder);
    return outcome;
}

// Replays the recording's bytes in the folder (whose logs should be empty).
struct ReplayOutcome {
    bool opened = false;
    std::string openError;
    SessionReplay::State state = SessionReplay::State::Playing;
    recording::RecordingReader::Ending ending = recording::RecordingReader::Ending::NotYet;
    std::string difference;
    std::string crashLine;  // where a recording that ends in a crash crashed
    uint64_t callsReplayed = 0;
    uint64_t repeatedFrames = 0;  // frames the file held only as counted idle frames
    std::vector<std::string> calls;
    std::map<std::string, std::string> logs;
};

inline ReplayOutcome Replay(const TempWorkdir& folder, const std::string& bytes,
                            const std::function<void(SimRun&)>& prepare = nullptr) {
    ReplayOutcome outcome;
    recording::RecordingReader reader;
    outcome.opened = reader.Open(bytes, &outcome.openError);
    if (!outcome.opened) {
        return outcome;
    }
    World world(1);
    {
        SimRun run(world, FixedHostOptions());
        SessionReplay replay(run, reader);
        KeepCalls(run, &outcome.calls);
        if (prepare) {
            prepare(run);
        }
        run.LoadPlugin();
        while (run.Run(600000)) {
        }
        outcome.state = replay.Current();
        outcome.difference = replay.Difference();
        outcome.crashLine = replay.CrashLine();
        outcome.callsReplayed = replay.CallsReplayed();
    }
    outcome.ending = reader.Ended();
    outcome.repeatedFrames = reader.RepeatedFrames();
    outcome.logs = LogFilesOf(folder);
    return outcome;
}

inline void ClearLogs(const TempWorkdir& folder) {
    for (const std::string& name : folder.LogFiles()) {
        std::filesystem::remove(folder.Root() / "Tarrowind" / "logs" / name);
    }
}
