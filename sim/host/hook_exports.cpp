// The hook's six operations, as a plug-in linked against the stand-in host sees them.
#include <cstdio>
#include <cstdlib>

#include "host/script_hook.h"
#include "sim/host/stand_in_host.h"

namespace {

StandInHost& Host() {
    StandInHost* host = ActiveStandInHost();
    if (host == nullptr) {
        std::fprintf(stderr, "stand-in host: a hook operation was called with no host running\n");
        std::abort();
    }
    return *host;
}

}  // namespace

extern "C" {

void scriptRegister(void* module, ScriptEntry entry) {
    Host().RegisterScript(module, entry);
}
void scriptUnregister(void* module) {
    Host().UnregisterScript(module);
}
void scriptWait(uint32_t ms) {
    Host().Wait(ms);
}
void nativeInit(uint64_t hash) {
    Host().NativeInit(hash);
}
void nativePush64(uint64_t value) {
    Host().NativePush(value);
}
uint64_t* nativeCall() {
    return Host().NativeCall();
}
}
