// Platform services on Windows: the kernel's own calls.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>

#include "platform/os_services.h"
#include "platform/platform.h"

namespace platform {
namespace {

// Both listings fill a buffer with strings that each end in '\0' and report size - 2 when it
// was too small; the buffer grows until the whole list fits (or a size no INI file reaches).
template <typename Fill>
std::vector<std::string> ReadList(Fill fill) {
    constexpr DWORD kLargest = 1u << 22;
    std::vector<char> buffer(4096);
    DWORD length = 0;
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        length = fill(buffer.data(), size);
        if (length + 2 < size || size >= kLargest) {
            break;
        }
        buffer.assign(buffer.size() * 4, '\0');
    }
    std::vector<std::string> items;
    size_t begin = 0;
    for (size_t i = 0; i < length; ++i) {
        if (buffer[i] == '\0') {
            items.emplace_back(buffer.data() + begin, i - begin);
            begin = i + 1;
        }
    }
    if (begin < length) {
        items.emplace_back(buffer.data() + begin, length - begin);
    }
    return items;
}

}  // namespace

const char* const kTextLineEnd = "\r\n";

FileHandle OpenFileForAppend(const char* path) {
    // Appending only: every write lands at the end, wherever others moved the file's end.
    const HANDLE file =
        CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

bool AppendToFile(FileHandle file, const char* bytes, size_t size, size_t* reached) {
    const HANDLE handle = reinterpret_cast<HANDLE>(file);
    const size_t whole = size;
    if (reached != nullptr) {
        *reached = 0;
    }
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        DWORD written = 0;
        const bool ok = WriteFile(handle, bytes, chunk, &written, nullptr) != 0;
        bytes += written;
        size -= written;
        if (reached != nullptr) {
            *reached = whole - size;
        }
        if (!ok || written == 0) {
            return false;
        }
    }
    return true;
}

void CloseFile(FileHandle file) {
    if (file != kNoFile) {
        CloseHandle(reinterpret_cast<HANDLE>(file));
    }
}

namespace os {

uint64_t TickCount64() {
    return GetTickCount64();
}

void SleepMs(uint32_t ms) {
    Sleep(ms);
}

// The system's clock itself, as the C runtime's time() reads it (whole seconds since 1970,
// UTC), without the time zone query that time() makes on every call: under Wine that query
// costs some 20 us, more than the rest of a log line and its write together.
std::time_t CalendarNow() {
    constexpr uint64_t kTicksPerSecond = 10000000;  // a FILETIME counts 100 ns since 1601
    constexpr uint64_t kSecondsFrom1601To1970 = 11644473600;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<std::time_t>(ticks / kTicksPerSecond - kSecondsFrom1601To1970);
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

std::vector<std::string> ListIniSections(const char* path) {
    return ReadList([path](char* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesA(buffer, size, path);
    });
}

std::vector<std::string> ListIniSectionEntries(const char* section, const char* path) {
    return ReadList([section, path](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section, buffer, size, path);
    });
}

}  // namespace os
}  // namespace platform

#endif  // _WIN32
