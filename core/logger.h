// The diagnostic log: one line per message, appended to a file named after the local day
// under Tarrowind/logs. The folder is never created here; without it lines are dropped.
#pragma once

#include <cstdint>
#include <string>

enum class LogLevel { Info = 0, Debug = 1, Error = 2 };

// Never raises. Debug lines are written only while EnableDebugLogging is on.
void Log(LogLevel level, const std::string& message) noexcept;
void LogError(const std::string& message) noexcept;

// Lines that could not be written since the last one that could (reported in the file with
// the next line that gets there).
uint64_t UnwrittenLogLines();
// Forgets them, as a freshly loaded library would.
void ResetUnwrittenLogLines();

// Lets the simulator and tests see each line as it is written (the file stays the record).
// `line` is the full line as written; `written` says whether it reached the day's file.
using LogObserver = void (*)(LogLevel level, const std::string& message, const std::string& line,
                             bool written);
void SetLogObserver(LogObserver observer);
