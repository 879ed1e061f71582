// Redirects one loaded module's imports of named functions by rewriting its import address
// table. The stand-in host uses it to put a plug-in on virtual time.
#pragma once

#include <cstddef>

struct ImportReplacement {
    const char* function;  // the imported name, e.g. "GetTickCount64"
    void* replacement;
};

// Points every import of the listed functions from dllName (compared without regard to case)
// in module at the replacements. Returns a bit per replacement that was found and patched.
unsigned PatchModuleImports(void* module, const char* dllName,
                            const ImportReplacement* replacements, size_t count);
