// Platform services on Windows: the kernel's own calls.
#ifdef _WIN32

#include <windows.h>

#include "platform/platform.h"

namespace platform {

uint64_t TickCount64() {
    return GetTickCount64();
}

void SleepMs(uint32_t ms) {
    Sleep(ms);
}

std::time_t CalendarNow() {
    return std::time(nullptr);
}

bool ToLocalTime(std::time_t when, std::tm* out) {
    return localtime_s(out, &when) == 0;
}

std::string ReadIniString(const char* section, const char* key, const char* defaultText,
                          const char* path) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section, key, defaultText, buffer, sizeof(buffer), path);
    return std::string(buffer);
}

int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

}  // namespace platform

#endif  // _WIN32
