// Recordings as they come back from players: cut short at any byte, not recordings at all, of
// another format version, stopped at the size cap, crossing midnight, or never written.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/recording_format.h"
#include "session_fixture.h"
#include "sim/world/sim_calendar.h"

namespace {

// A short session: the first encounter starts within two minutes.
struct Short {
    SessionOutcome outcome;
    std::string bytes;
};
const Short& ShortRecording() {
    static const Short recorded = [] {
        TempWorkdir folder;
        folder.WriteIni(TownIni(true));
        Short s;
        s.outcome = PlayTown(folder, 3);
        s.bytes = ReadBytes(s.outcome.recordingPath);
        return s;
    }();
    return recorded;
}

TEST(RecordingReader, ACutAtEveryByteReadsUpToItsLastWholeRecord) {
    const std::string& whole = ShortRecording().bytes;
    ASSERT_GT(whole.size(), 1000u);
    recording::RecordingReader full;
    std::string error;
    ASSERT_TRUE(full.Open(whole, &error)) << error;
    std::vector<size_t> recordEnds;  // where each whole record ends
    recording::Record record;
    while (full.Next(&record)) {
        recordEnds.push_back(full.BytesRead());
    }
    ASSERT_EQ(full.Ended(), recording::RecordingReader::Ending::Closed);

    // Every byte of the first and last 3000 (the header, the start-up, the closing record),
    // every 7th in between: reading each cut again from its start is quadratic.
    size_t headerEnd = 0;
    for (size_t cut = 0; cut < whole.size();
         cut += (cut < 3000 || cut + 3000 > whole.size()) ? 1 : 7) {
        recording::RecordingReader reader;
        if (!reader.Open(whole.substr(0, cut), &error)) {
            ASSERT_EQ(headerEnd, 0u) << "a cut after the header opens: " << cut;
            continue;
        }
        if (headerEnd == 0) {
            headerEnd = cut;
        }
        size_t read = 0;
        while (reader.Next(&record)) {
            ++read;
        }
        ASSERT_EQ(reader.Ended(), recording::RecordingReader::Ending::Cut) << cut;
        // Every record whose bytes all lie before the cut, none other (an idle run's frames
        // count as one record each, so compare where reading stopped).
        const size_t wholeBefore = static_cast<size_t>(
            std::upper_bound(recordEnds.begin(), recordEnds.end(), cut) - recordEnds.begin());
        ASSERT_LE(reader.BytesRead(), cut);
        ASSERT_TRUE(wholeBefore == 0
                        ? reader.BytesRead() <= recordEnds.front()
                        : reader.BytesRead() == recordEnds[wholeBefore - 1] || read >= wholeBefore)
            << cut;
    }
    EXPECT_GT(headerEnd, sizeof(recording::kMagic));
}

TEST(SessionReplay, ACutRecordingReplaysToItsLastWholeRecordWithTheLogSoFar) {
    const Short& recorded = ShortRecording();
    const std::vector<std::string> original = Lines(recorded.outcome.logs.begin()->second);
    // A dense sample: every 97th byte, and every byte of the last 200 (the closing record).
    recording::RecordingReader probe;
    std::string error;
    ASSERT_TRUE(probe.Open(recorded.bytes, &error)) << error;
    std::vector<size_t> cuts;
    for (size_t cut = probe.BytesRead(); cut < recorded.bytes.size(); cut += 97) {
        cuts.push_back(cut);
    }
    for (size_t cut = recorded.bytes.size() - 200; cut < recorded.bytes.size(); ++cut) {
        cuts.push_back(cut);
    }
    size_t previousLines = 0;
    for (size_t cut : cuts) {
        TempWorkdir folder;
        const ReplayOutcome replay = Replay(folder, recorded.bytes.substr(0, cut));
        ASSERT_TRUE(replay.opened) << cut << ": " << replay.openError;
        ASSERT_EQ(replay.state, SessionReplay::State::Ended) << cut << ": " << replay.difference;
        ASSERT_EQ(replay.ending, recording::RecordingReader::Ending::Cut) << cut;
        const std::vector<std::string> lines =
            replay.logs.empty() ? std::vector<std::string>() : Lines(replay.logs.begin()->second);
        ASSERT_LE(lines.size(), original.size());
        ASSERT_TRUE(std::equal(lines.begin(), lines.end(), original.begin())) << cut;
        ASSERT_GE(lines.size(), previousLines) << cut;
        previousLines = lines.size();
    }
    EXPECT_GE(previousLines + 2, original.size());
}

TEST(RecordingReader, AnythingButARecordingOfThisVersionGetsOneClearLine) {
    const std::string& good = ShortRecording().bytes;
    std::string newer = good;
    newer[8] = 3;  // the format version right after the magic
    std::string damagedHeader = good;
    damagedHeader[9] = recording::kNative;
    const struct {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"empty file", "", "not a Tarrowind session recording"},
        {"a day's log", "[2024-12-06 16:00:00] [INFO] Tarrowind script started\n",
         "not a Tarrowind session recording"},
        {"an INI", "[Logging]\nRecordSession=true\n", "not a Tarrowind session recording"},
        {"half the magic", good.substr(0, 4), "not a Tarrowind session recording"},
        {"the magic alone", good.substr(0, 8), "cut short before its format version"},
        {"another version", newer, "format version 3; this simulator reads versions 1 to 2"},
        {"a damaged header", damagedHeader, "header at byte 9 is damaged"},
        {"cut in the header", good.substr(0, 12), "cut short in its header"},
    };
    for (const auto& c : cases) {
        recording::RecordingReader reader;
        std::string error;
        EXPECT_FALSE(reader.Open(c.bytes, &error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
}

TEST(RecordingReader, ARecordOfUnknownKindIsDamageNotACrash) {
    std::string bytes = ShortRecording().bytes.substr(0, 2000);
    recording::RecordingReader probe;
    std::string error;
    ASSERT_TRUE(probe.Open(bytes, &error));
    const size_t firstRecord = probe.BytesRead();
    bytes[firstRecord] = 0x7F;
    recording::RecordingReader reader;
    ASSERT_TRUE(reader.Open(bytes, &error));
    recording::Record record;
    EXPECT_FALSE(reader.Next(&record));
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Damaged);
    EXPECT_NE(reader.Problem().find("unknown kind 127"), std::string::npos) << reader.Problem();
}

TEST(SessionRecording, StopsAtItsSizeCapWithOneInfoLineAndStillReplays) {
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    session_record::SetCapBytes(20000);
    SessionOutcome outcome;
    {
        World world(3);
        std::string error;
        ASSERT_TRUE(BuildDefaultWorld(world, &error)) << error;
        SimRun run(world, FixedHostOptions());
        session_record::SetCapBytes(20000);  // after the run's reset to the default
        run.LoadPlugin();
        run.Run(10 * 60000);
        run.UnloadPlugin();
        outcome.recordingPath = session_record::FilePath();
    }
    outcome.logs = LogFilesOf(folder);
    const std::string bytes = ReadBytes(outcome.recordingPath);
    EXPECT_LE(bytes.size(), 20000u);
    EXPECT_GT(bytes.size(), 15000u);
    const std::vector<std::string> lines = Lines(outcome.logs.begin()->second);
    const auto capLines = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(
                   "[INFO] Session recording reached its size limit of 20000 bytes and "
                   "stopped: Tarrowind/logs/Tarrowind_") != std::string::npos;
    });
    EXPECT_EQ(capLines, 1);

    recording::RecordingReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(bytes, &error)) << error;
    recording::Record record;
    while (reader.Next(&record)) {
    }
    EXPECT_EQ(reader.Ended(), recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(reader.ClosingReason(), recording::kCapReached);

    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_EQ(replay.state, SessionReplay::State::Ended) << replay.difference;
}

TEST(SessionRecording, ASessionAcrossMidnightReplaysBothDaysLogs) {
    // Five to midnight when the run starts.
    std::time_t start = 0;
    std::string error;
    ASSERT_TRUE(ParseCalendarStart("2024-12-06T23:55:00", &start, &error)) << error;
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    const SessionOutcome recorded = PlayTown(folder, 10, FixedHostOptions(start));
    ASSERT_EQ(recorded.logs.size(), 2u) << "a log file for each day";
    const std::string bytes = ReadBytes(recorded.recordingPath);
    ClearLogs(folder);
    const ReplayOutcome replay = Replay(folder, bytes);
    EXPECT_EQ(replay.state, SessionReplay::State::Ended) << replay.difference;
    EXPECT_EQ(replay.ending, recording::RecordingReader::Ending::Closed);
    EXPECT_EQ(replay.logs, recorded.logs);
}

TEST(SessionRecording, AFileThatCannotBeOpenedGivesOneErrorLineAndThePlugInRunsOn) {
    TempWorkdir folder;
    folder.WriteIni(TownIni(true));
    // No logs folder: neither the log nor the recording can be opened; the lines are seen as
    // the plug-in logs them.
    std::filesystem::remove_all(folder.Root() / "Tarrowind" / "logs");
    std::vector<std::string> lines;
    PlayTown(folder, 20, FixedHostOptions(), [&lines](SimRun& run) {
        run.onLine = [&lines](const LoggedLine& line) { lines.push_back(line.line); };
    });
    const auto errors = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("[ERROR] Cannot open the session recording Tarrowind/logs/") !=
               std::string::npos;
    });
    EXPECT_EQ(errors, 1);
    const auto encounters = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Executing ") != std::string::npos;
    });
    EXPECT_GT(encounters, 3) << "the plug-in plays on";
}

}  // namespace
