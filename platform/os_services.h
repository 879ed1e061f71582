// The kernel services as the operating system gives them, before kernel_services.cpp lets a
// session recording see the answers (or, in the simulator, a replay give them). The recorder
// reads the calendar through these so that its own calls are never part of what it records.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {
namespace os {

uint64_t TickCount64();
void SleepMs(uint32_t ms);
std::time_t CalendarNow();
bool ToLocalTime(std::time_t when, std::tm* out);
std::string ReadIniString(const char* section, const char* key, const char* defaultText,
                          const char* path);
int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path);
std::vector<std::string> ListIniSections(const char* path);
std::vector<std::string> ListIniSectionEntries(const char* section, const char* path);
FileState ProbeFile(const char* path);
std::string FullPath(const char* path);

}  // namespace os
}  // namespace platform
