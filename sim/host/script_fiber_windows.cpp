// Script fibers on Windows, with the kernel's own fibers as the real hook uses them. The
// thread that resumes a script becomes a fiber itself the first time.
#ifdef _WIN32

// GCC 12 takes the segment read inside GetCurrentFiber for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <windows.h>
#pragma GCC diagnostic pop
#undef Yield  // an old Win16 macro that would swallow ScriptFiber::Yield

#include <cstdio>
#include <cstdlib>

#include "sim/host/script_fiber.h"

struct ScriptFiber::Impl {
    Entry entry = nullptr;
    size_t stackBytes = 0;
    void* scriptFiber = nullptr;
    void* hostFiber = nullptr;
    bool started = false;
    bool finished = false;
    bool running = false;
};

namespace {

constexpr SIZE_T kCommittedStackBytes = 64 * 1024;

void WINAPI FiberProc(void* parameter) {
    auto* impl = static_cast<ScriptFiber::Impl*>(parameter);
    impl->entry();
    impl->finished = true;
    impl->running = false;
    // A fiber procedure that returns ends the whole thread, so this one parks for good.
    for (;;) {
        SwitchToFiber(impl->hostFiber);
    }
}

void* CurrentThreadAsFiber() {
    if (IsThreadAFiber()) {
        return GetCurrentFiber();
    }
    void* fiber = ConvertThreadToFiber(nullptr);
    if (fiber == nullptr) {
        std::fprintf(stderr, "stand-in host: ConvertThreadToFiber failed (%lu)\n", GetLastError());
        std::abort();
    }
    return fiber;
}

}  // namespace

ScriptFiber::ScriptFiber(Entry entry, size_t stackBytes) : impl_(new Impl) {
    impl_->entry = entry;
    impl_->stackBytes = stackBytes;
}

ScriptFiber::~ScriptFiber() {
    // A script that never finished is abandoned where it stands, stack and all, as the real
    // hook abandons it; only a finished one gives its stack back.
    if (impl_->scriptFiber != nullptr && impl_->finished) {
        DeleteFiber(impl_->scriptFiber);
    } else if (impl_->scriptFiber != nullptr) {
        impl_.release();  // the parked fiber still points at this record
    }
}

void ScriptFiber::Resume() {
    Impl* impl = impl_.get();
    if (impl->finished || impl->running) {
        return;
    }
    impl->hostFiber = CurrentThreadAsFiber();
    if (!impl->started) {
        impl->started = true;
        const SIZE_T commit =
            impl->stackBytes < kCommittedStackBytes ? impl->stackBytes : kCommittedStackBytes;
        impl->scriptFiber =
            CreateFiberEx(commit, impl->stackBytes, FIBER_FLAG_FLOAT_SWITCH, FiberProc, impl);
        if (impl->scriptFiber == nullptr) {
            std::fprintf(stderr, "stand-in host: CreateFiberEx failed (%lu)\n", GetLastError());
            std::abort();
        }
    }
    impl->running = true;
    SwitchToFiber(impl->scriptFiber);
}

void ScriptFiber::Yield() {
    Impl* impl = impl_.get();
    impl->running = false;
    SwitchToFiber(impl->hostFiber);
}

bool ScriptFiber::Finished() const {
    return impl_->finished;
}
bool ScriptFiber::Running() const {
    return impl_->running;
}

#endif  // _WIN32
