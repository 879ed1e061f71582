// Platform services for builds other than Windows: our own INI reader and a clock that the
// stand-in host can replace with its virtual one.
#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/ini_reader.h"
#include "platform/os_services.h"
#include "platform/platform.h"

namespace platform {
namespace {

const ClockSource* activeClock = nullptr;
AppendFileCounts appendFiles = {0, 0};

}  // namespace

const char* const kTextLineEnd = "\n";

FileHandle OpenFileForAppend(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return kNoFile;
    }
    ++appendFiles.opened;
    return fd;
}

bool AppendToFile(FileHandle file, const char* bytes, size_t size, size_t* reached) {
    const size_t whole = size;
    if (reached != nullptr) {
        *reached = 0;
    }
    while (size > 0) {
        const ssize_t written = ::write(static_cast<int>(file), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
        if (reached != nullptr) {
            *reached = whole - size;
        }
    }
    return true;
}

void CloseFile(FileHandle file) {
    if (file != kNoFile) {
        ::close(static_cast<int>(file));
        ++appendFiles.closed;
    }
}

AppendFileCounts CountAppendFiles() {
    return appendFiles;
}

void SetClockSource(const ClockSource* source) {
    activeClock = source;
}

namespace os {

uint64_t TickCount64() {
    if (activeClock != nullptr) {
        return activeClock->tickCount();
    }
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

void SleepMs(uint32_t ms) {
    if (activeClock != nullptr) {
        activeClock->sleep(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::time_t CalendarNow() {
    if (activeClock != nullptr) {
        return activeClock->calendarNow();
    }
    return std::time(nullptr);
}

bool ToLocalTime(std::time_t when, std::tm* out) {
    if (activeClock != nullptr) {
        return activeClock->toLocalTime(when, out);
    }
    return localtime_r(&when, out) != nullptr;
}

std::string ReadIniString(const char* section, const char* key, const char* defaultText,
                          const char* path) {
    return ini::ReadString(section, key, defaultText, path, 256);
}

int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path) {
    return ini::ReadInt(section, key, defaultValue, path);
}

std::vector<std::string> ListIniSections(const char* path) {
    return ini::ListSections(path);
}

std::vector<std::string> ListIniSectionEntries(const char* section, const char* path) {
    return ini::ListSectionEntries(section, path);
}

}  // namespace os
}  // namespace platform

#endif  // !_WIN32
