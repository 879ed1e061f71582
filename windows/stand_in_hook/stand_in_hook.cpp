// ScriptHookRDR2.dll as the launcher and the Wine tests use it: the stand-in host and its
// world behind the hook's exports, a plug-in put on virtual time when it registers, and the
// control functions of hook_control.h.
#include <windows.h>
#undef Yield  // an old Win16 macro that would swallow ScriptFiber::Yield

#include <cstdio>
#include <memory>
#include <string>

#include "host/script_hook.h"
#include "sim/host/run_setup.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/world.h"
#include "windows/stand_in_hook/hook_control.h"
#include "windows/stand_in_hook/import_patch.h"

namespace {

std::unique_ptr<World> world;
std::unique_ptr<StandInHost> host;
StandInStatusData record = {};

// The plug-in reads the kernel's clock directly; these answer from the host's virtual one.
ULONGLONG WINAPI VirtualGetTickCount64() {
    StandInHost* active = ActiveStandInHost();
    return active != nullptr ? active->TickCount() : GetTickCount64();
}

VOID WINAPI VirtualSleep(DWORD ms) {
    StandInHost* active = ActiveStandInHost();
    if (active != nullptr) {
        active->SleepFromScript(ms);
    } else {
        Sleep(ms);
    }
}

unsigned UseVirtualClock(void* module) {
    const ImportReplacement replacements[] = {
        {"GetTickCount64", reinterpret_cast<void*>(&VirtualGetTickCount64)},
        {"Sleep", reinterpret_cast<void*>(&VirtualSleep)},
    };
    return PatchModuleImports(module, "KERNEL32.dll", replacements, 2);
}

}  // namespace

extern "C" {

void StandInScriptRegister(void* module, ScriptEntry entry) {
    ++record.registers;
    record.registeredModule = module;
    record.registeredEntry = reinterpret_cast<void*>(entry);
    record.clockImports = UseVirtualClock(module);
    scriptRegister(module, entry);
}

void StandInScriptUnregister(void* module) {
    ++record.unregisters;
    scriptUnregister(module);
}

int StandInStart(uint64_t seed, const char* scenarioPath, char* error, uint32_t errorBytes) {
    host.reset();
    world.reset(new World(seed));
    std::string message;
    if (!BuildWorldForRun(*world, scenarioPath != nullptr ? scenarioPath : "", &message)) {
        world.reset();
        if (error != nullptr && errorBytes > 0) {
            std::snprintf(error, errorBytes, "%s", message.c_str());
        }
        return 0;
    }
    const HostOptions options = HostOptionsForSeed(seed);
    host.reset(new StandInHost(*world, options));
    record = StandInStatusData();
    record.frameMs = options.frameMs;
    return 1;
}

int StandInRun(uint64_t ms) {
    return host != nullptr && host->RunFor(ms) ? 1 : 0;
}

void StandInStatus(StandInStatusData* status) {
    *status = record;
    if (host != nullptr) {
        status->nowMs = host->NowMs();
        status->frames = host->Stats().frames;
        status->nativesCalled = host->Stats().nativesCalled;
        status->violations = static_cast<uint32_t>(host->Violations().size());
        status->scriptRegistered = host->ScriptRegistered() ? 1 : 0;
    }
}

const char* StandInViolation(uint32_t index) {
    if (host == nullptr || index >= host->Violations().size()) {
        return nullptr;
    }
    return host->Violations()[index].c_str();
}

void StandInFinish() {
    host.reset();
    world.reset();
}
}
