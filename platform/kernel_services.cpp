// The kernel services the plug-in calls: the system's answer (os_services.h), shown to a
// session recording when one watches. In the simulator a replay may give the answers instead.
#include "platform/os_services.h"
#include "platform/platform.h"

namespace platform {
namespace {

const KernelTap* tap = nullptr;
#ifndef _WIN32
const KernelAnswers* replayed = nullptr;
#define TARROWIND_ANSWER(member, call) (replayed != nullptr ? replayed->member : call)
#else
#define TARROWIND_ANSWER(member, call) (call)
#endif

}  // namespace

void SetKernelTap(const KernelTap* newTap) {
    tap = newTap;
}

#ifndef _WIN32
void SetKernelAnswers(const KernelAnswers* answers) {
    replayed = answers;
}
#endif

uint64_t TickCount64() {
    const uint64_t answer = TARROWIND_ANSWER(tickCount(), os::TickCount64());
    if (tap != nullptr) {
        tap->tickCount(answer);
    }
    return answer;
}

void SleepMs(uint32_t ms) {
    if (tap != nullptr) {
        tap->sleep(ms);
    }
    TARROWIND_ANSWER(sleep(ms), os::SleepMs(ms));
}

std::time_t CalendarNow() {
    const std::time_t answer = TARROWIND_ANSWER(calendarNow(), os::CalendarNow());
    if (tap != nullptr) {
        tap->calendarNow(answer);
    }
    return answer;
}

bool ToLocalTime(std::time_t when, std::tm* out) {
    const bool converted = TARROWIND_ANSWER(toLocalTime(when, out), os::ToLocalTime(when, out));
    if (tap != nullptr) {
        tap->toLocalTime(when, converted, *out);
    }
    return converted;
}

std::string ReadIniString(const char* section, const char* key, const char* defaultText,
                          const char* path) {
    std::string answer = TARROWIND_ANSWER(readIniString(section, key, defaultText, path),
                                          os::ReadIniString(section, key, defaultText, path));
    if (tap != nullptr) {
        tap->readIniString(section, key, defaultText, path, answer);
    }
    return answer;
}

int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path) {
    const int answer = TARROWIND_ANSWER(readIniInt(section, key, defaultValue, path),
                                        os::ReadIniInt(section, key, defaultValue, path));
    if (tap != nullptr) {
        tap->readIniInt(section, key, defaultValue, path, answer);
    }
    return answer;
}

std::vector<std::string> ListIniSections(const char* path) {
    std::vector<std::string> answer =
        TARROWIND_ANSWER(listIniSections(path), os::ListIniSections(path));
    if (tap != nullptr) {
        tap->listIniSections(path, answer);
    }
    return answer;
}

std::vector<std::string> ListIniSectionEntries(const char* section, const char* path) {
    std::vector<std::string> answer = TARROWIND_ANSWER(listIniSectionEntries(section, path),
                                                       os::ListIniSectionEntries(section, path));
    if (tap != nullptr) {
        tap->listIniSectionEntries(section, path, answer);
    }
    return answer;
}

FileState ProbeFile(const char* path) {
    const FileState answer = TARROWIND_ANSWER(probeFile(path), os::ProbeFile(path));
    if (tap != nullptr) {
        tap->probeFile(path, answer);
    }
    return answer;
}

std::string FullPath(const char* path) {
    std::string answer = TARROWIND_ANSWER(fullPath(path), os::FullPath(path));
    if (tap != nullptr) {
        tap->fullPath(path, answer);
    }
    return answer;
}

#undef TARROWIND_ANSWER

}  // namespace platform
