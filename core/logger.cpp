#include "core/logger.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "core/config.h"
#include "core/log_stamp.h"
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

// The last line's stamp, kept within a frame only: the frame's first line converts its second
// afresh, so nothing of one frame, run or load of the library carries into the next.
LogStamp lastStamp;

void CloseDayFile() {
    if (dayFile != platform::kNoFile) {
        platform::CloseFile(dayFile);
        dayFile = platform::kNoFile;
    }
}

// The open day's file for that date: a line of another day (a frame that straddles midnight)
// closes the previous day's file first. The path is formed on the stack: no allocation.
bool OpenDayFile(std::string_view date) {
    if (dayFile != platform::kNoFile && dayFileDate == date) {
        return true;
    }
    CloseDayFile();
    constexpr std::string_view kFolderAndName = "Tarrowind/logs/Tarrowind_";
    constexpr std::string_view kExtension = ".log";
    char path[kFolderAndName.size() + LogStamp::kMaxLength + kExtension.size() + 1] = {};
    char* end = std::copy(kFolderAndName.begin(), kFolderAndName.end(), path);
    end = std::copy(date.begin(), date.begin() + std::min(date.size(), LogStamp::kMaxLength), end);
    std::copy(kExtension.begin(), kExtension.end(), end);
    dayFile = platform::OpenFileForAppend(path);
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

// What a line is formed in, reused from line to line: once each has grown to the longest line,
// forming one allocates nothing.
struct LineBuffers {
    std::string line;      // as the observer sees it
    std::string fileText;  // as the file gets it, in one write
    std::string notice;
    std::string noticeLine;
};

void FormAndWrite(LogLevel level, std::string_view message, LineBuffers& buffers) {
    // Date and timestamp come from one clock reading, so they agree within a line.
    if (!lastStamp.Set(platform::CalendarNow())) {
        return;
    }
    std::string& line = buffers.line;
    line.clear();
    line += '[';
    line += lastStamp.Text();
    line += "] [";
    const size_t prefixLength = line.size();  // up to the level word
    line += LevelWord(level);
    line += "] ";
    line += message;

    bool written = false;
    std::string& notice = buffers.notice;
    std::string& noticeLine = buffers.noticeLine;
    notice.clear();
    if (OpenDayFile(lastStamp.Date())) {
        std::string& text = buffers.fileText;
        text.clear();
        if (lastLineTorn) {
            text += platform::kTextLineEnd;
        }
        if (unwrittenLines > 0) {
            notice = "Could not write ";
            log_text::AppendUnsigned(notice, unwrittenLines);
            notice += " log lines while Tarrowind/logs was missing or not writable";
            noticeLine.assign(line, 0, prefixLength);
            noticeLine += "ERROR] ";
            noticeLine += notice;
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
            CloseDayFile();  // the next line tries a fresh open
        }
    }
    unwrittenLines = written ? 0 : unwrittenLines + 1;
    if (activeObserver != nullptr) {
        if (!notice.empty()) {
            activeObserver(LogLevel::Error, notice, noticeLine, written);
        }
        activeObserver(level, message, line, written);
    }
}

LineBuffers sharedLineBuffers;
bool lineBuffersInUse = false;

std::string sharedMessage;
bool messageInUse = false;

}  // namespace

void CloseLogFile() noexcept {
    CloseDayFile();
    lastStamp.Forget();
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
    log_text::WriteLine(level, message);
}

namespace log_text {

void WriteLine(LogLevel level, std::string_view message) noexcept {
    const bool nested = lineBuffersInUse;  // a line written from within the observer
    try {
        if (nested) {
            LineBuffers own;
            FormAndWrite(level, message, own);
        } else {
            lineBuffersInUse = true;
            FormAndWrite(level, message, sharedLineBuffers);
        }
    } catch (...) {
        // The logger never raises: catch handlers all over the program log freely.
    }
    if (!nested) {
        lineBuffersInUse = false;
    }
}

MessageBuffer::MessageBuffer() noexcept : text_(messageInUse ? &own_ : &sharedMessage) {
    if (text_ == &sharedMessage) {
        messageInUse = true;
        sharedMessage.clear();
    }
}

MessageBuffer::~MessageBuffer() {
    if (text_ == &sharedMessage) {
        messageInUse = false;
    }
}

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

void LogError(std::string_view message) noexcept {
    log_text::WriteLine(LogLevel::Error, message);
}
