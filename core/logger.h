// The diagnostic log: one line per message, appended to a file named after the local day
// under Tarrowind/logs. The folder is never created here; without it lines are dropped.
// Each line is written to the system as it is logged. The file stays open from a frame's first
// line until the script yields (CloseLogFile), so while the game runs no handle is held.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/config.h"

enum class LogLevel { Info = 0, Debug = 1, Error = 2 };

// Never raises. Debug lines are written only while EnableDebugLogging is on.
void Log(LogLevel level, const std::string& message) noexcept;
void LogError(std::string_view message) noexcept;

// The level as a line names it: "INFO", "DEBUG", "ERROR".
const char* LevelWord(LogLevel level);

// Closes the day's file if a line opened it. Called before every wait of the script (see
// host/script_wait.h) and when the library is unloaded.
void CloseLogFile() noexcept;

// Lines that could not be written since the last one that could (reported in the file with
// the next line that gets there).
uint64_t UnwrittenLogLines();
// Forgets them, as a freshly loaded library would.
void ResetUnwrittenLogLines();

// Lets the simulator and tests see each line as it is written (the file stays the record).
// `line` is the full line as written; `written` says whether it reached the day's file. Both
// texts are the logger's own buffers, valid only during the call.
using LogObserver = void (*)(LogLevel level, std::string_view message, std::string_view line,
                             bool written);
void SetLogObserver(LogObserver observer);

namespace log_text {
void AppendSigned(std::string& text, long long value);
void AppendUnsigned(std::string& text, unsigned long long value);
void AppendFixed(std::string& text, double value);  // "%f": six decimals

// Texts as they are; integers in decimal, signed or unsigned as their type is; floats with
// six decimals. The same text as concatenating std::to_string of each number.
template <typename Part>
void Append(std::string& text, const Part& part) {
    static_assert(!std::is_same_v<Part, bool> && !std::is_same_v<Part, char>,
                  "write flags and characters as text");
    if constexpr (std::is_floating_point_v<Part>) {
        AppendFixed(text, static_cast<double>(part));
    } else if constexpr (std::is_integral_v<Part> && std::is_signed_v<Part>) {
        AppendSigned(text, static_cast<long long>(part));
    } else if constexpr (std::is_integral_v<Part>) {
        AppendUnsigned(text, static_cast<unsigned long long>(part));
    } else {
        text += part;
    }
}

// Stamps the message and writes the line, whatever the level.
void WriteLine(LogLevel level, std::string_view message) noexcept;

// The text a message's parts are joined in: one buffer reused from line to line, so that once
// it has grown to the longest message, joining allocates nothing. A line joined while another
// is (a part that logs as it becomes text) gets a string of its own.
class MessageBuffer {
  public:
    MessageBuffer() noexcept;
    ~MessageBuffer();
    MessageBuffer(const MessageBuffer&) = delete;
    MessageBuffer& operator=(const MessageBuffer&) = delete;

    std::string& Text() { return *text_; }

  private:
    std::string own_;
    std::string* text_;
};

// Joins the parts and writes the line.
template <typename... Parts>
void Write(LogLevel level, const Parts&... parts) noexcept {
    try {
        MessageBuffer message;
        (Append(message.Text(), parts), ...);
        WriteLine(level, message.Text());
    } catch (...) {
        // As Log itself: a line that cannot be formed is dropped.
    }
}
}  // namespace log_text

// The message given in parts, joined only when the line is going to be written: a Debug line
// while Debug lines are off costs this one test and nothing else. Never raises.
template <typename... Parts>
inline void Log(LogLevel level, const Parts&... parts) noexcept {
    if (level == LogLevel::Debug && !Config.EnableDebugLogging) {
        return;
    }
    log_text::Write(level, parts...);
}
