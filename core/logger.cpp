#include "core/logger.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "core/config.h"
#include "platform/platform.h"

namespace {

LogObserver activeObserver = nullptr;

// Lines that could not be written since the last one that could. The next line that reaches
// the file is preceded by a notice, so a gap in the log never goes unexplained.
uint64_t unwrittenLines = 0;
// The file's last line was cut short (a full disk took part of it): the next line that gets
// there starts on a line of its own.
bool lastLineTorn = false;

// The day's file, open from the first line of a frame until the script yields (CloseLogFile):
// a frame of many lines opens it once, and while the game runs no handle is held.
platform::FileHandle dayFile = platform::kNoFile;
std::string dayFileDate;  // "YYYY-MM-DD" of the open file

// The open day's file for that date: a line of another day (a frame that straddles midnight)
// closes the previous day's file first.
bool OpenDayFile(std::string_view date) {
    if (dayFile != platform::kNoFile && dayFileDate == date) {
        return true;
    }
    CloseLogFile();
    std::string path = "Tarrowind/logs/Tarrowind_";
    path += date;
    path += ".log";
    dayFile = platform::OpenFileForAppend(path.c_str());
    if (dayFile == platform::kNoFile) {
        return false;
    }
    dayFileDate = date;
    return true;
}

// The line as the file holds it: every '\n' ends a line the platform's way, as text mode would.
void AppendFileText(std::string& text, std::string_view line) {
    for (size_t start = 0;;) {
        const size_t end = line.find('\n', start);
        text.append(line.substr(start, end - start));
        text += platform::kTextLineEnd;
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

}  // namespace

void CloseLogFile() noexcept {
    if (dayFile != platform::kNoFile) {
        platform::CloseFile(dayFile);
        dayFile = platform::kNoFile;
    }
}

const char* LevelWord(LogLevel level) {
    switch (level) {
        case LogLevel::Info:
            return "INFO";
        case LogLevel::Debug:
            return "DEBUG";
        case LogLevel::Error:
            return "ERROR";
    }
    return "INFO";
}

void SetLogObserver(LogObserver observer) {
    activeObserver = observer;
}

uint64_t UnwrittenLogLines() {
    return unwrittenLines;
}

void ResetUnwrittenLogLines() {
    unwrittenLines = 0;
    lastLineTorn = false;
}

void Log(LogLevel level, const std::string& message) noexcept {
    // The level test comes first, so a dropped Debug line costs no file access.
    if (level == LogLevel::Debug && !Config.EnableDebugLogging) {
        return;
    }
    try {
        // Date and timestamp come from one clock reading, so they agree within a line.
        const std::time_t now = platform::CalendarNow();
        std::tm local{};
        if (!platform::ToLocalTime(now, &local)) {
            return;
        }
        // The date ("%Y-%m-%d") is the timestamp up to its space.
        char timestamp[32] = {};
        std::strftime(timestamp, sizeof(timestamp), "%Y-%m-%d %H:%M:%S", &local);
        const std::string_view stamp(timestamp);
        const std::string_view date = stamp.substr(0, stamp.find(' '));

        std::string line;
        line.reserve(message.size() + 40);
        line += '[';
        line += timestamp;
        line += "] [";
        const size_t prefixLength = line.size();  // up to the level word
        line += LevelWord(level);
        line += "] ";
        line += message;

        bool written = false;
        std::string notice;
        std::string noticeLine;
        if (OpenDayFile(date)) {
            std::string text;
            if (lastLineTorn) {
                text += platform::kTextLineEnd;
            }
            if (unwrittenLines > 0) {
                notice = "Could not write " + std::to_string(unwrittenLines) +
                         " log lines while Tarrowind/logs was missing or not writable";
                noticeLine = line.substr(0, prefixLength) + "ERROR] " + notice;
                AppendFileText(text, noticeLine);
            }
            AppendFileText(text, line);
            // One write, straight to the system: a game that dies later loses nothing of it.
            size_t reached = 0;
            written = platform::AppendToFile(dayFile, text.data(), text.size(), &reached);
            if (written) {
                lastLineTorn = false;
            } else {
                // Part of it may be there: it counts as lost all the same.
                if (reached > 0) {
                    const std::string_view end(platform::kTextLineEnd);
                    const std::string_view got(text.data(), reached);
                    lastLineTorn =
                        got.size() < end.size() || got.substr(got.size() - end.size()) != end;
                }
                CloseLogFile();  // the next line tries a fresh open
            }
        }
        unwrittenLines = written ? 0 : unwrittenLines + 1;
        if (activeObserver != nullptr) {
            if (!notice.empty()) {
                activeObserver(LogLevel::Error, notice, noticeLine, written);
            }
            activeObserver(level, message, line, written);
        }
    } catch (...) {
        // The logger never raises: catch handlers all over the program log freely.
    }
}

namespace log_text {

void AppendSigned(std::string& text, long long value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof(digits), value);
    text.append(digits, end.ptr);
}

void AppendUnsigned(std::string& text, unsigned long long value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof(digits), value);
    text.append(digits, end.ptr);
}

void AppendFixed(std::string& text, double value) {
    // The form std::to_string gives: the C library's "%f", so every platform agrees with it.
    char digits[512];
    const int length = std::snprintf(digits, sizeof(digits), "%f", value);
    if (length > 0) {
        text.append(digits, static_cast<size_t>(std::min<int>(length, sizeof(digits) - 1)));
    }
}

}  // namespace log_text

void LogError(const std::string& message) noexcept {
    Log(LogLevel::Error, message);
}
