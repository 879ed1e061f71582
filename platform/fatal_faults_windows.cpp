// The fault handler on Windows: a vectored exception handler, first in line, that acts only on
// the script's fiber and always passes the exception on.
#ifdef _WIN32

// GCC 12 takes the segment read inside GetCurrentFiber for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <windows.h>
#pragma GCC diagnostic pop

#include "platform/fatal_faults.h"

namespace platform {
namespace {

// Room the system keeps for the handler when the fiber's stack overflows.
constexpr ULONG kStackGuaranteeBytes = 32 * 1024;

PVOID handler = nullptr;
FatalFaultNote activeNote = nullptr;
PVOID scriptFiber = nullptr;
volatile LONG faultNoted = 0;  // once per process
uintptr_t moduleBase = 0;
uintptr_t moduleEnd = 0;

bool IsFatal(DWORD code) {
    return code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_ILLEGAL_INSTRUCTION ||
           code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
           code == EXCEPTION_PRIV_INSTRUCTION || code == EXCEPTION_IN_PAGE_ERROR;
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    // Another fiber's or thread's fault is not ours to note, even when it is fatal.
    if (!IsFatal(code) || GetCurrentFiber() != scriptFiber ||
        InterlockedExchange(&faultNoted, 1) != 0) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const uintptr_t at = reinterpret_cast<uintptr_t>(exception->ExceptionRecord->ExceptionAddress);
    FatalFault fault{static_cast<uint32_t>(code), at >= moduleBase && at < moduleEnd, 0};
    if (fault.inOurModule) {
        fault.moduleOffset = at - moduleBase;
    }
    if (activeNote != nullptr) {
        activeNote(fault);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// The plug-in's own image: its base and its size as its PE header gives it.
void FindOwnModule() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&OnException), &self)) {
        return;
    }
    const auto* image = reinterpret_cast<const unsigned char*>(self);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    moduleBase = reinterpret_cast<uintptr_t>(image);
    moduleEnd = moduleBase + nt->OptionalHeader.SizeOfImage;
}

}  // namespace

bool WatchFatalFaults(FatalFaultNote note) {
    if (handler != nullptr) {
        return true;
    }
    FindOwnModule();
    ULONG guarantee = kStackGuaranteeBytes;
    SetThreadStackGuarantee(&guarantee);
    scriptFiber = GetCurrentFiber();
    activeNote = note;
    handler = AddVectoredExceptionHandler(1, OnException);
    return handler != nullptr;
}

void StopWatchingFatalFaults() {
    if (handler != nullptr) {
        RemoveVectoredExceptionHandler(handler);
        handler = nullptr;
    }
    activeNote = nullptr;
}

bool WatchingFatalFaults() {
    return handler != nullptr;
}

}  // namespace platform

#endif  // _WIN32
