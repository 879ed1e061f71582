// The fault handler on POSIX systems: a signal handler for SIGSEGV, SIGBUS, SIGILL and SIGFPE
// on an alternate stack of its own, so a stack overflow can still be noted.
#ifndef _WIN32

#include <link.h>
#include <pthread.h>
#include <signal.h>
#include <ucontext.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/fatal_faults.h"

namespace platform {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr size_t kSignalCount = sizeof(kFaultSignals) / sizeof(kFaultSignals[0]);

struct sigaction previousActions[kSignalCount];
stack_t previousAltStack;
// Static, not allocated: the handler runs here when the script's own stack is used up.
alignas(64) char altStack[64 * 1024];

FatalFaultNote activeNote = nullptr;
bool watching = false;
pthread_t watchedThread;
std::atomic<bool> faultNoted{false};  // once per process
uintptr_t moduleStart = 0;
uintptr_t moduleEnd = 0;
uintptr_t moduleBase = 0;

void RestorePreviousActions() {
    for (size_t i = 0; i < kSignalCount; ++i) {
        sigaction(kFaultSignals[i], &previousActions[i], nullptr);
    }
}

uint32_t CodeOf(int signal, const siginfo_t* info) {
    if (signal == SIGILL) {
        return kIllegalInstruction;
    }
    if (signal == SIGFPE) {
        return info->si_code == FPE_INTDIV ? kIntegerDivideByZero : kIllegalInstruction;
    }
    return kAccessViolation;
}

uintptr_t FaultingInstruction(const void* context) {
#if defined(__x86_64__)
    return static_cast<uintptr_t>(
        static_cast<const ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(static_cast<const ucontext_t*>(context)->uc_mcontext.pc);
#else
    (void)context;
    return 0;
#endif
}

void OnFaultSignal(int signal, siginfo_t* info, void* context) {
    // Whatever happens below, the fault goes on to what handled it before: restored first,
    // and the faulting instruction runs again when this returns.
    RestorePreviousActions();
    const bool sentByAProcess = info->si_code <= 0;  // kill(), raise(): not a fault here
    if (sentByAProcess || !pthread_equal(pthread_self(), watchedThread) ||
        faultNoted.exchange(true)) {
        if (sentByAProcess) {
            raise(signal);
        }
        return;
    }
    const uintptr_t at = FaultingInstruction(context);
    FatalFault fault{CodeOf(signal, info), at >= moduleStart && at < moduleEnd, 0};
    if (fault.inOurModule) {
        fault.moduleOffset = at - moduleBase;
    }
    if (activeNote != nullptr) {
        activeNote(fault);
    }
}

// The loaded object that holds this code, as its program headers give it.
int FindOwnModule(dl_phdr_info* info, size_t, void*) {
    const uintptr_t self = reinterpret_cast<uintptr_t>(&OnFaultSignal);
    uintptr_t start = UINTPTR_MAX;
    uintptr_t end = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD) {
            continue;
        }
        const uintptr_t from = info->dlpi_addr + segment.p_vaddr;
        start = from < start ? from : start;
        end = from + segment.p_memsz > end ? from + segment.p_memsz : end;
    }
    if (self < start || self >= end) {
        return 0;
    }
    moduleStart = start;
    moduleEnd = end;
    moduleBase = info->dlpi_addr;
    return 1;
}

}  // namespace

bool WatchFatalFaults(FatalFaultNote note) {
    if (watching) {
        return true;
    }
    dl_iterate_phdr(FindOwnModule, nullptr);
    stack_t own{};
    own.ss_sp = altStack;
    own.ss_size = sizeof(altStack);
    if (sigaltstack(&own, &previousAltStack) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_sigaction = OnFaultSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kSignalCount; ++i) {
        sigaction(kFaultSignals[i], &action, &previousActions[i]);
    }
    activeNote = note;
    watchedThread = pthread_self();
    watching = true;
    return true;
}

void StopWatchingFatalFaults() {
    if (!watching) {
        return;
    }
    RestorePreviousActions();
    sigaltstack(&previousAltStack, nullptr);
    activeNote = nullptr;
    watching = false;
}

bool WatchingFatalFaults() {
    return watching;
}

}  // namespace platform

#endif  // _WIN32
