// Checks, under Wine, the library entry of the real Tarrowind.asi with every reason the loader
// gives, and the version resource Windows shows for it:
//   tarrowind-dllmain-check BUILD
// where BUILD is the build's name as the log's version line gives it ("0.1.0 (a31eb1e)").
// Loading registers the script once with the plug-in's own module; thread attach and detach
// (from a real thread and called directly) do nothing and answer TRUE; unloading unregisters.
#include <windows.h>

#include <cstdio>
#include <string>

#include "windows/stand_in_hook/hook_control.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok) {
        ++failures;
    }
}

std::string Folder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

// The module's entry point as the loader calls it.
EntryPoint ModuleEntry(HMODULE module, size_t* imageSize) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    *imageSize = nt->OptionalHeader.SizeOfImage;
    return reinterpret_cast<EntryPoint>(
        reinterpret_cast<void*>(const_cast<BYTE*>(base) + nt->OptionalHeader.AddressOfEntryPoint));
}

DWORD WINAPI IdleThread(LPVOID) {
    return 0;
}

std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) {
        return "";
    }
    std::string data(size, '\0');
    if (!GetFileVersionInfoA(file.c_str(), 0, size, &data[0])) {
        return "";
    }
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(data.data(), query.c_str(), &value, &length) || length == 0) {
        return "";
    }
    return std::string(static_cast<const char*>(value));
}

void CheckVersionResource(const std::string& asi, const std::string& build) {
    Check(VersionString(asi, "ProductName") == "Tarrowind", "version resource names Tarrowind");
    Check(
        VersionString(asi, "ProductVersion") == build,
        "product version is " + build + " (found '" + VersionString(asi, "ProductVersion") + "')");
    Check(VersionString(asi, "FileVersion") == build, "file version is " + build);
    Check(!VersionString(asi, "FileDescription").empty(), "version resource has a description");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarrowind-dllmain-check BUILD\n");
        return 2;
    }
    const std::string folder = Folder();
    const std::string asi = folder + "\\Tarrowind.asi";
    CheckVersionResource(asi, argv[1]);

    HMODULE hook = LoadLibraryA((folder + "\\ScriptHookRDR2.dll").c_str());
    if (hook == nullptr) {
        std::printf("FAIL: cannot load the stand-in host\n");
        return 1;
    }
    auto start = reinterpret_cast<StandInStartFn>(
        reinterpret_cast<void*>(GetProcAddress(hook, "StandInStart")));
    auto status = reinterpret_cast<StandInStatusFn>(
        reinterpret_cast<void*>(GetProcAddress(hook, "StandInStatus")));
    char error[256] = {};
    if (start == nullptr || status == nullptr || !start(1, "", "", error, sizeof(error))) {
        std::printf("FAIL: cannot start the stand-in host %s\n", error);
        return 1;
    }

    // Reason 1, from the loader: the load only succeeds when the entry answers TRUE.
    HMODULE plugin = LoadLibraryA(asi.c_str());
    Check(plugin != nullptr, "reason 1: the loader accepts the plug-in");
    if (plugin == nullptr) {
        return 1;
    }
    size_t imageSize = 0;
    const EntryPoint entry = ModuleEntry(plugin, &imageSize);
    const auto* imageStart = reinterpret_cast<const BYTE*>(plugin);
    StandInStatusData s = {};
    status(&s);
    Check(s.registers == 1 && s.unregisters == 0, "reason 1: registers the script exactly once");
    Check(s.registeredModule == plugin, "reason 1: registers with the plug-in's own module");
    Check(s.clockImports == (kClockTickCount64 | kClockSleep | kClockCalendar | kClockLocalTime),
          "reason 1: the plug-in's GetTickCount64, Sleep, time and localtime now run on virtual "
          "time");
    const auto* scriptEntry = static_cast<const BYTE*>(s.registeredEntry);
    Check(scriptEntry >= imageStart && scriptEntry < imageStart + imageSize,
          "reason 1: the script entry lies inside the plug-in");

    // Reasons 2 and 3 from the loader, through a real thread.
    HANDLE thread = CreateThread(nullptr, 0, IdleThread, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    status(&s);
    Check(s.registers == 1 && s.unregisters == 0,
          "reasons 2 and 3 from a thread's start and end touch nothing");

    // Reasons 2 and 3 called directly, as any loader may.
    Check(entry(plugin, DLL_THREAD_ATTACH, nullptr) == TRUE, "reason 2 answers TRUE");
    Check(entry(plugin, DLL_THREAD_DETACH, nullptr) == TRUE, "reason 3 answers TRUE");
    status(&s);
    Check(s.registers == 1 && s.unregisters == 0, "reasons 2 and 3 called directly touch nothing");

    // Reason 0, from the loader.
    Check(FreeLibrary(plugin) != FALSE, "reason 0: the loader unloads the plug-in");
    status(&s);
    Check(s.unregisters == 1 && s.registers == 1 && s.scriptRegistered == 0,
          "reason 0: unregisters the script exactly once");
    Check(s.violations == 0, "the host saw no breach of the call contract");
    return failures == 0 ? 0 : 1;
}
