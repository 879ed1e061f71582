// Plays the plug-in through a recorded session: every native, wait and kernel service is
// answered from the recording instead of the simulated world, after checking that the call the
// plug-in makes is the one recorded. The first difference, or the recording's end, halts the
// run where it stands.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "sim/host/sim_run.h"
#include "sim/replay/recording_reader.h"

class SessionReplay {
  public:
    enum class State { Playing, Differed, Ended, Crashed };

    // Takes over the run's answers until destroyed; the recorder stays off meanwhile.
    SessionReplay(SimRun& run, recording::RecordingReader& reader);
    ~SessionReplay();
    SessionReplay(const SessionReplay&) = delete;
    SessionReplay& operator=(const SessionReplay&) = delete;

    State Current() const { return state_; }
    // At a difference: "call N at T s: recorded X; the plug-in asked Y; last log line: Z".
    const std::string& Difference() const { return difference_; }
    // Where a recording that ends in a crash crashed: "the session crashed at call N, T s: X in
    // the native Y (the plug-in asked Y(...)); last log line: Z".
    const std::string& CrashLine() const { return crashLine_; }
    // The replayed plug-in reads `value` for [section] key instead of what the player's INI said
    // (the recorded call is still checked): the same session, other settings.
    void ChangeSetting(const std::string& section, const std::string& key,
                       const std::string& value);
    const std::string* ChangedSetting(const std::string& section, const std::string& key) const;

    // Records answered so far.
    uint64_t CallsReplayed() const { return calls_; }

    // --- the answers (called through the host and the platform layer)
    void AnswerNative(uint64_t hash, const NativeArgs& args, NativeResult& result);
    void CheckWait(uint32_t ms);
    // The next record, which must be of this kind and pass sameCall(record, call); null after a
    // difference or at the end (the run is halted then). describeAsked(call) names the call
    // the plug-in made, for the difference line.
    const recording::Record* Take(recording::Kind kind,
                                  bool (*sameCall)(const recording::Record&, const void*),
                                  std::string (*describeAsked)(const void*), const void* call);

  private:
    void Differ(const std::string& recorded, const std::string& asked);
    void ReachCrash(const std::string& asked);
    std::string AtNow() const;
    std::string LastLogLine() const;
    std::string DescribeRecorded(const recording::Record& record) const;

    SimRun& run_;
    recording::RecordingReader& reader_;
    recording::Record record_;
    State state_ = State::Playing;
    std::string difference_;
    std::string crashLine_;
    uint64_t calls_ = 0;
    std::map<std::string, std::string> changedSettings_;  // "section\nkey", lower case
};

// What a recorded kernel service call looks like, for messages.
std::string DescribeKernelRecord(const recording::Record& record);
