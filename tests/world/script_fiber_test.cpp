// The sanitizer build sees into the script's stack as it is: a frame suspended at the script's
// wait and resumed later keeps its guards, so an overrun after the wait is caught.
#include <gtest/gtest.h>

#include <cstdio>

#include "sim/host/script_fiber.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARROWIND_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARROWIND_TEST_ASAN 1
#endif
#endif

namespace {

#ifdef TARROWIND_TEST_ASAN
ScriptFiber* gFiber = nullptr;
volatile int gPastTheEnd = 8;

void OverrunAfterAWait() {
    char buffer[8] = {};
    char* write = buffer;  // through a pointer: the bounds check of UBSan does not see it
    gFiber->Yield();
    write[gPastTheEnd] = 1;
    std::printf("%d\n", buffer[0]);
}

void Script() {
    OverrunAfterAWait();
}

void RunTheScript() {
    ScriptFiber fiber(Script, 1 << 20);
    gFiber = &fiber;
    fiber.Resume();
    fiber.Resume();
}
#endif

TEST(ScriptFiberDeathTest, AnOverrunInAFrameResumedAfterAWaitIsCaught) {
#ifndef TARROWIND_TEST_ASAN
    GTEST_SKIP() << "only the sanitizer build guards the stack";
#else
    EXPECT_DEATH(RunTheScript(), "stack-buffer-overflow");
#endif
}

}  // namespace
