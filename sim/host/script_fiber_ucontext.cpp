// Script fibers on POSIX systems, with ucontext. AddressSanitizer is told about each switch
// so it follows the stacks.
#ifndef _WIN32

#include <ucontext.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim/host/script_fiber.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARROWIND_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARROWIND_ASAN 1
#endif
#endif

#ifdef TARROWIND_ASAN
#include <dlfcn.h>
#include <sanitizer/common_interface_defs.h>
#endif

struct ScriptFiber::Impl {
    Entry entry = nullptr;
    ucontext_t hostContext{};
    ucontext_t scriptContext{};
    char* stack = nullptr;
    size_t stackBytes = 0;
    bool started = false;
    bool finished = false;
    bool running = false;
#ifdef TARROWIND_ASAN
    void* hostFakeStack = nullptr;
    void* scriptFakeStack = nullptr;
    const void* hostStackBottom = nullptr;
    size_t hostStackSize = 0;
#endif
};

namespace {

// The C library's own swapcontext. AddressSanitizer's stand-in for it clears the shadow of the
// whole stack switched to, for code that does not say when it switches: a megabyte of shadow
// remapped on every frame, which made the sanitizer build's runs about 13 times slower. This
// code says so (StartSwitch, FinishSwitch), and a resumed stack keeps the poisoning of its
// live frames.
int SwitchContext(ucontext_t* from, const ucontext_t* to) {
#ifdef TARROWIND_ASAN
    using Swap = int (*)(ucontext_t*, const ucontext_t*);
    static const Swap libcSwap = [] {
        void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
        void* found = libc != nullptr ? dlsym(libc, "swapcontext") : nullptr;
        return found != nullptr ? reinterpret_cast<Swap>(found) : &swapcontext;
    }();
    return libcSwap(from, to);
#else
    return swapcontext(from, to);
#endif
}

// Stacks of abandoned fibers stay allocated (and reachable) for the life of the process:
// the real hook never unwinds them either, and whatever they point to must not look leaked.
std::vector<char*>& AbandonedStacks() {
    static std::vector<char*>* stacks = new std::vector<char*>();
    return *stacks;
}

void StartSwitch(ScriptFiber::Impl* impl, bool toScript) {
#ifdef TARROWIND_ASAN
    if (toScript) {
        __sanitizer_start_switch_fiber(&impl->hostFakeStack, impl->stack, impl->stackBytes);
    } else {
        __sanitizer_start_switch_fiber(impl->finished ? nullptr : &impl->scriptFakeStack,
                                       impl->hostStackBottom, impl->hostStackSize);
    }
#else
    (void)impl;
    (void)toScript;
#endif
}

void FinishSwitch(ScriptFiber::Impl* impl, bool onScript) {
#ifdef TARROWIND_ASAN
    if (onScript) {
        __sanitizer_finish_switch_fiber(impl->scriptFakeStack, &impl->hostStackBottom,
                                        &impl->hostStackSize);
    } else {
        __sanitizer_finish_switch_fiber(impl->hostFakeStack, nullptr, nullptr);
    }
#else
    (void)impl;
    (void)onScript;
#endif
}

void Trampoline(unsigned int high, unsigned int low) {
    auto* impl = reinterpret_cast<ScriptFiber::Impl*>((static_cast<uintptr_t>(high) << 32) |
                                                      static_cast<uintptr_t>(low));
    FinishSwitch(impl, true);
    impl->entry();
    impl->finished = true;
    impl->running = false;
    StartSwitch(impl, false);
    setcontext(&impl->hostContext);
}

// getcontext returns twice, so it lives in a function of its own where no local can be
// clobbered.
__attribute__((noinline)) void PrepareScriptContext(ScriptFiber::Impl* impl) {
    getcontext(&impl->scriptContext);
    impl->scriptContext.uc_stack.ss_sp = impl->stack;
    impl->scriptContext.uc_stack.ss_size = impl->stackBytes;
    impl->scriptContext.uc_link = nullptr;
    const uintptr_t address = reinterpret_cast<uintptr_t>(impl);
    makecontext(&impl->scriptContext, reinterpret_cast<void (*)()>(Trampoline), 2,
                static_cast<unsigned int>(address >> 32),
                static_cast<unsigned int>(address & 0xFFFFFFFFu));
}

}  // namespace

ScriptFiber::ScriptFiber(Entry entry, size_t stackBytes) : impl_(new Impl) {
    impl_->entry = entry;
    impl_->stackBytes = stackBytes;
    impl_->stack = static_cast<char*>(std::malloc(stackBytes));
    if (impl_->stack == nullptr) {
        std::abort();
    }
}

ScriptFiber::~ScriptFiber() {
    if (impl_->started && !impl_->finished) {
        AbandonedStacks().push_back(impl_->stack);
    } else {
        std::free(impl_->stack);
    }
}

void ScriptFiber::Resume() {
    Impl* impl = impl_.get();
    if (impl->finished || impl->running) {
        return;
    }
    if (!impl->started) {
        impl->started = true;
        PrepareScriptContext(impl);
    }
    impl->running = true;
    StartSwitch(impl, true);
    SwitchContext(&impl->hostContext, &impl->scriptContext);
    FinishSwitch(impl, false);
}

void ScriptFiber::Yield() {
    Impl* impl = impl_.get();
    impl->running = false;
    StartSwitch(impl, false);
    SwitchContext(&impl->scriptContext, &impl->hostContext);
    FinishSwitch(impl, true);
}

bool ScriptFiber::Finished() const {
    return impl_->finished;
}
bool ScriptFiber::Running() const {
    return impl_->running;
}

#endif  // !_WIN32
