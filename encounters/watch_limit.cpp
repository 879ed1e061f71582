#include "encounters/watch_limit.h"

#include "core/logger.h"
#include "platform/platform.h"

WatchLimit::WatchLimit() : startMs_(platform::TickCount64()) {}

bool WatchLimit::Reached() const {
    return platform::TickCount64() - startMs_ >= kWatchLimitMs;
}

void LogWatchLimitReached(const std::string& what, const std::string& next) {
    Log(LogLevel::Debug, what, WatchLimitPhrase(), next);
}
