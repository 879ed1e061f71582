// The six operations the script hook offers a plug-in. On Windows they come from
// ScriptHookRDR2.dll (an import library maps these plain names to the hook's exported names);
// elsewhere the stand-in host defines them.
#pragma once

#include <cstdint>

extern "C" {

using ScriptEntry = void (*)();

void scriptRegister(void* module, ScriptEntry entry);
void scriptUnregister(void* module);
// Suspends the script fiber for at least ms milliseconds; 0 yields for one frame.
void scriptWait(uint32_t ms);
void nativeInit(uint64_t hash);
void nativePush64(uint64_t value);
// Runs the native; the returned result slots are valid until the next native call.
uint64_t* nativeCall();
}
