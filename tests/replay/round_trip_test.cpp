// A session recorded in the simulator plays back through the replay with no difference: the
// same calls at the same times and the same log, byte for byte; recording changes nothing the
// game sees; and a change on the replay side is caught at the first call it changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/config.h"
#include "host/native_list.h"
#include "platform/platform.h"
#include "session_fixture.h"
#include "sim/world/sim_calendar.h"

namespace {

constexpr uint64_t kMinutes = 45;

// One recording of the town shared by the tests below (45 minutes: every encounter runs).
struct Recorded {
    SessionOutcome outcome;
    std::string bytes;
};
const Recorded& TownRecording() {
    static const Recorded recorded = [] {
        TempWorkdir folder;
        folder.WriteIni(TownIni(true));
        Recorded r;
        r.outcome = PlayTown(folder, kMinutes);
        r.bytes = ReadBytes(r.outcome.recordingPath);
        return r;
    }();
    return recorded;
}

TEST(SessionRecording, RecordingOnOrOffTheGameSeesTheSameCallsAndTheLogIsTheSame) {
    const Recorded& on = TownRecording();
    TempWorkdir folder;
    folder.WriteIni(TownIni(false));
    const SessionOutcome off = PlayTown(folder, kMinutes);
    EXPECT_TRUE(off.recordingPath.empty());
    EXPECT_EQ(folder.LogFiles().size(), 1u) << "no recording file with the key off";
    ASSERT_GT(on.outcome.calls.size(), 10000u);
    EXPECT_TRUE(on.outcome.calls == off.calls);
    // The logs differ only in the INI read back by the settings check? No: the INI is the
    // packaged one in both, but the key's value is not logged: the files are the same.
    EXPECT_EQ(on.outcome.logs, off.logs);
}

TEST(SessionRecording, ReplaysWithNoDifferenceTheSameCallsAndTheSameLog) {
    const Recorded& recorded = TownRecording();
    ASSERT_FALSE(recorded.bytes.empty());
    TempWorkdir folder;
    const ReplayOutcome replay = Replay(folder, recorded.bytes);
    ASSERT_TRUE(replay.opened) << replay.openError;
    EXPECT_EQ(replay.state, SessionReplay::State::Ended) << replay.difference;
    EXPECT_EQ(replay.ending, recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(replay.logs, recorded.outcome.logs);
    ASSERT_EQ(replay.calls.size(), recorded.outcome.calls.size());
    const auto firstDifferent =
        std::mismatch(replay.calls.begin(), replay.calls.end(), recorded.outcome.calls.begin());
    EXPECT_TRUE(firstDifferent.first == replay.calls.end())
        << "replayed " << *firstDifferent.first << ", recorded " << *firstDifferent.second;
    EXPECT_TRUE(folder.LogFiles().size() == 1) << "the replay writes no recording of its own";
}

TEST(SessionRecording, TheFirstDifferenceIsReportedAtTheCallItChanges) {
    const Recorded& recorded = TownRecording();
    // Where the recording first adds a blip: the call a plug-in without blips no longer makes.
    recording::RecordingReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(recorded.bytes, &error)) << error;
    uint64_t index = 0;
    recording::Record record;
    uint64_t firstBlip = 0;
    while (firstBlip == 0 && reader.Next(&record)) {
        ++index;
        if (record.kind == recording::kNative &&
            record.hash == native::id::BLIP_ADD_FOR_ENTITY::kHash) {
            firstBlip = index;
        }
    }
    ASSERT_NE(firstBlip, 0u) << "the town session adds a blip";

    TempWorkdir folder;
    const ReplayOutcome replay = Replay(folder, recorded.bytes, [](SimRun& run) {
        // The replayed plug-in, once its settings are read, with blips turned off.
        run.onLine = [](const LoggedLine& line) {
            if (line.message == "Tarrowind script started") {
                Config.EnableBlips = false;
            }
        };
    });
    ASSERT_EQ(replay.state, SessionReplay::State::Differed);
    EXPECT_EQ(replay.callsReplayed, firstBlip);
    EXPECT_NE(
        replay.difference.find("first difference at call " + std::to_string(firstBlip) + ", "),
        std::string::npos)
        << replay.difference;
    EXPECT_NE(replay.difference.find("recorded BLIP_ADD_FOR_ENTITY("), std::string::npos)
        << replay.difference;
    EXPECT_NE(replay.difference.find("; last log line: "), std::string::npos);
}

// The game's frames are uneven and its tick count moves in steps of about 16 ms: idle frames
// are still counted, not written one by one, and their tick counts replay exactly.
uint64_t tickReads = 0;
uint64_t UnevenTickCount() {
    // Scattered, as the game's frames fall against a clock of 16 ms steps.
    return ActiveStandInHost()->TickCount() + ((++tickReads * 2654435761u) >> 11) % 16;
}
void VirtualSleep(uint32_t ms) {
    ActiveStandInHost()->SleepFromScript(ms);
}
std::time_t VirtualCalendar() {
    return ActiveStandInHost()->CalendarNow();
}
const platform::ClockSource kUnevenClock = {UnevenTickCount, VirtualSleep, VirtualCalendar,
                                            SimulatedLocalTime};

TEST(SessionRecording, UnevenTickCountsAsInTheGameAreCountedAndReplayAlike) {
    constexpr uint64_t kShortMinutes = 20;
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    const SessionOutcome uneven = PlayTown(folder, kShortMinutes, FixedHostOptions(), [](SimRun&) {
        platform::SetClockSource(&kUnevenClock);
    });
    const std::string bytes = ReadBytes(uneven.recordingPath);

    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_EQ(replay.state, SessionReplay::State::Ended) << replay.difference;
    EXPECT_EQ(replay.ending, recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(replay.logs, uneven.logs);
    EXPECT_TRUE(replay.calls == uneven.calls);
    // Most frames of the town are idle ones, counted in the file rather than written.
    const uint64_t frames = kShortMinutes * 60000 / 33;
    EXPECT_GT(replay.repeatedFrames, frames / 4);
}

}  // namespace
