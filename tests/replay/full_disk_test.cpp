// The town on a disk that fills up: the recording stops at the first write that could not be
// made whole, and what it holds replays to its last whole record; the log loses its lines
// from the one torn in two and counts every one of them; the game sees the same calls.
#include <gtest/gtest.h>

#include <algorithm>

#include "session_fixture.h"
#include "support/file_size_limit.h"

namespace {

constexpr uint64_t kMinutes = 20;
constexpr size_t kDiskRoom = 24 * 1024;  // the recording fills it first, then the log

TEST(FullDisk, RecordingStopsReplayablyTheLogCountsWhatItLostAndThePlugInRunsOn) {
    SessionOutcome roomy;
    {
        TempWorkdir folder;
        folder.WriteIni(TownIni(true));
        roomy = PlayTown(folder, kMinutes);
    }
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    std::vector<LoggedLine> logged;
    uint64_t countedLost = 0;
    SessionOutcome full;
    {
        FileSizeLimit disk(kDiskRoom);
        full = PlayTown(folder, kMinutes, FixedHostOptions(), [&](SimRun& run) {
            // The notice of lines lost goes with each line tried: only the lines themselves.
            run.Host().onFrameEnd = [&run, &logged](uint32_t, uint32_t) {
                logged.clear();
                for (const LoggedLine& line : run.Lines()) {
                    if (line.message.rfind("Could not write ", 0) != 0) {
                        logged.push_back(line);
                    }
                }
            };
        });
        countedLost = UnwrittenLogLines();
    }
    // Nothing the game sees changes: every encounter ran as it would have.
    EXPECT_TRUE(full.calls == roomy.calls);

    // The log: whole lines up to the first that did not get there whole, then nothing; that
    // one and every later one counted.
    const auto firstLost = std::find_if(logged.begin(), logged.end(),
                                        [](const LoggedLine& line) { return !line.written; });
    ASSERT_NE(firstLost, logged.end()) << "the disk never filled";
    EXPECT_TRUE(
        std::all_of(firstLost, logged.end(), [](const LoggedLine& line) { return !line.written; }));
    EXPECT_EQ(countedLost, static_cast<uint64_t>(logged.end() - firstLost));
    const std::string log = full.logs.begin()->second;
    EXPECT_EQ(log.size(), kDiskRoom);
    std::string wholeLines;
    for (auto line = logged.begin(); line != firstLost; ++line) {
        wholeLines += line->line + "\n";
    }
    ASSERT_LT(wholeLines.size(), log.size());
    EXPECT_EQ(log.substr(0, wholeLines.size()), wholeLines);
    EXPECT_EQ(log.substr(wholeLines.size()),
              (firstLost->line + "\n").substr(0, log.size() - wholeLines.size()));
    EXPECT_TRUE(std::any_of(logged.begin(), firstLost, [](const LoggedLine& line) {
        return line.message.find("Cannot write the session recording") == 0;
    })) << "the recording's stop is logged while the log still had room";

    // The recording: cut in its last record, it replays to there with no difference.
    const std::string bytes = ReadBytes(full.recordingPath);
    EXPECT_EQ(bytes.size(), kDiskRoom);
    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_EQ(replay.state, SessionReplay::State::Ended) << replay.difference;
    EXPECT_EQ(replay.ending, recording::RecordingReader::Ending::Cut);
    ASSERT_GT(replay.calls.size(), 1000u);
    EXPECT_TRUE(std::equal(replay.calls.begin(), replay.calls.end(), roomy.calls.begin()));
}

}  // namespace
