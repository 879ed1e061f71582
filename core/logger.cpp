#include "core/logger.h"

#include <ctime>
#include <fstream>

#include "core/config.h"
#include "platform/platform.h"

namespace {

LogObserver activeObserver = nullptr;

// Lines that could not be written since the last one that could. The next line that reaches
// the file is preceded by a notice, so a gap in the log never goes unexplained.
uint64_t unwrittenLines = 0;

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

}  // namespace

void SetLogObserver(LogObserver observer) {
    activeObserver = observer;
}

uint64_t UnwrittenLogLines() {
    return unwrittenLines;
}

void ResetUnwrittenLogLines() {
    unwrittenLines = 0;
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
        char timestamp[32] = {};
        char date[16] = {};
        std::strftime(timestamp, sizeof(timestamp), "%Y-%m-%d %H:%M:%S", &local);
        std::strftime(date, sizeof(date), "%Y-%m-%d", &local);

        std::string line;
        line.reserve(message.size() + 40);
        line += '[';
        line += timestamp;
        line += "] [";
        const std::string prefix = line;
        line += LevelWord(level);
        line += "] ";
        line += message;

        const std::string path = std::string("Tarrowind/logs") + "/Tarrowind_" + date + ".log";
        bool written = false;
        std::string notice;
        {
            std::ofstream file(path, std::ios::out | std::ios::app);
            if (file.is_open()) {
                if (unwrittenLines > 0) {
                    notice = "Could not write " + std::to_string(unwrittenLines) +
                             " log lines while Tarrowind/logs was missing or not writable";
                    file << prefix << "ERROR] " << notice << '\n';
                }
                file << line << '\n';
                file.flush();
                written = static_cast<bool>(file);
                file.close();
            }
        }
        unwrittenLines = written ? 0 : unwrittenLines + 1;
        if (activeObserver != nullptr) {
            if (!notice.empty()) {
                activeObserver(LogLevel::Error, notice, prefix + "ERROR] " + notice, written);
            }
            activeObserver(level, message, line, written);
        }
    } catch (...) {
        // The logger never raises: catch handlers all over the program log freely.
    }
}

void LogError(const std::string& message) noexcept {
    Log(LogLevel::Error, message);
}
