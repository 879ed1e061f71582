#include "core/logger.h"

#include <ctime>
#include <fstream>

#include "core/config.h"
#include "platform/platform.h"

namespace {

LogObserver activeObserver = nullptr;

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
        line += LevelWord(level);
        line += "] ";
        line += message;

        const std::string path = std::string("Tarrowind/logs") + "/Tarrowind_" + date + ".log";
        bool written = false;
        {
            std::ofstream file(path, std::ios::out | std::ios::app);
            if (file.is_open()) {
                file << line << '\n';
                file.flush();
                written = static_cast<bool>(file);
                file.close();
            }
        }
        if (activeObserver != nullptr) {
            activeObserver(level, message, line, written);
        }
    } catch (...) {
        // The logger never raises: catch handlers all over the program log freely.
    }
}

void LogError(const std::string& message) noexcept {
    Log(LogLevel::Error, message);
}
