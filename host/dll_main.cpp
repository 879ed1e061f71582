// The library entry the Windows loader calls.
#ifdef _WIN32

#include <windows.h>

#include "host/script_main.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    return PluginEntry(module, reason);
}

#endif  // _WIN32
