// The few operating-system services the plug-in needs. On Windows these are the kernel's own
// calls; elsewhere (the stand-in host on Linux) they are our own, with a replaceable clock so
// the simulator can run the plug-in on virtual time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace platform {

// Milliseconds since system start (GetTickCount64).
uint64_t TickCount64();

// Blocks the calling thread (Sleep).
void SleepMs(uint32_t ms);

// Seconds since the epoch, and their local calendar form.
std::time_t CalendarNow();
bool ToLocalTime(std::time_t when, std::tm* out);

// GetPrivateProfileStringA with a 256-byte buffer: at most 255 characters come back.
std::string ReadIniString(const char* section, const char* key, const char* defaultText,
                          const char* path);

// GetPrivateProfileIntA.
int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path);

// GetPrivateProfileSectionNamesA: the file's section names in file order, repeats included.
std::vector<std::string> ListIniSections(const char* path);

// GetPrivateProfileSectionA: the lines of the first section of that name, "key=value" or
// "key", comment lines left out.
std::vector<std::string> ListIniSectionEntries(const char* section, const char* path);

// What is at a path: nothing, something that cannot be read as a file, or a file.
enum class FileState { Missing = 0, Unreadable = 1, Readable = 2 };
FileState ProbeFile(const char* path);

// The path made absolute against the working folder, in the system's own form (the path itself
// when it cannot be).
std::string FullPath(const char* path);

// Sees every answer the services above give (not the file writes below), for a session
// recording; members may not be null. Null: nothing watches, at the cost of one test a call.
struct KernelTap {
    void (*tickCount)(uint64_t answer);
    void (*sleep)(uint32_t ms);
    void (*calendarNow)(std::time_t answer);
    void (*toLocalTime)(std::time_t when, bool converted, const std::tm& answer);
    void (*readIniString)(const char* section, const char* key, const char* defaultText,
                          const char* path, const std::string& answer);
    void (*readIniInt)(const char* section, const char* key, int defaultValue, const char* path,
                       int answer);
    void (*listIniSections)(const char* path, const std::vector<std::string>& answer);
    void (*listIniSectionEntries)(const char* section, const char* path,
                                  const std::vector<std::string>& answer);
    void (*probeFile)(const char* path, FileState answer);
    void (*fullPath)(const char* path, const std::string& answer);
};
void SetKernelTap(const KernelTap* tap);

// A file opened to append to, with the operating system's own calls: nothing is buffered on
// our side, so each AppendToFile is one write that has reached the system when it returns.
using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

// Opens the file for appending, creating it when missing (never its folder); kNoFile when it
// cannot. Other programs may read, write, rename and delete it while it is open.
FileHandle OpenFileForAppend(const char* path);
// Writes the bytes at the end of the file; false when not all of them were written. reached,
// if given, gets how many were (a full disk may take the first part of a write).
bool AppendToFile(FileHandle file, const char* bytes, size_t size, size_t* reached = nullptr);
void CloseFile(FileHandle file);

// How a text file ends a line here: what the C runtime's text mode writes for '\n'.
extern const char* const kTextLineEnd;

#ifndef _WIN32
// Files opened with OpenFileForAppend so far, and closed so far: the stand-in host checks at
// every wait that the plug-in holds none.
struct AppendFileCounts {
    uint64_t opened;
    uint64_t closed;
};
AppendFileCounts CountAppendFiles();

// Replaces the clock behind TickCount64, SleepMs, CalendarNow and ToLocalTime; null restores
// the system's.
struct ClockSource {
    uint64_t (*tickCount)();
    void (*sleep)(uint32_t ms);
    std::time_t (*calendarNow)();
    bool (*toLocalTime)(std::time_t when, std::tm* out);
};
void SetClockSource(const ClockSource* source);

// Answers every service above instead of the system (a replay of a recorded session); members
// may not be null. Null: the system (or the clock source) answers.
struct KernelAnswers {
    uint64_t (*tickCount)();
    void (*sleep)(uint32_t ms);
    std::time_t (*calendarNow)();
    bool (*toLocalTime)(std::time_t when, std::tm* out);
    std::string (*readIniString)(const char* section, const char* key, const char* defaultText,
                                 const char* path);
    int (*readIniInt)(const char* section, const char* key, int defaultValue, const char* path);
    std::vector<std::string> (*listIniSections)(const char* path);
    std::vector<std::string> (*listIniSectionEntries)(const char* section, const char* path);
    FileState (*probeFile)(const char* path);
    std::string (*fullPath)(const char* path);
};
void SetKernelAnswers(const KernelAnswers* answers);
#endif

}  // namespace platform
