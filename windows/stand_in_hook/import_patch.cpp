#include "windows/stand_in_hook/import_patch.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

bool SameNameIgnoringCase(const char* a, const char* b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

bool WriteSlot(ULONGLONG* slot, void* value) {
    DWORD oldProtection = 0;
    if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &oldProtection)) {
        return false;
    }
    *slot = reinterpret_cast<ULONGLONG>(value);
    DWORD ignored = 0;
    VirtualProtect(slot, sizeof(*slot), oldProtection, &ignored);
    return true;
}

}  // namespace

unsigned PatchModuleImports(void* module, const char* dllName,
                            const ImportReplacement* replacements, size_t count) {
    auto* base = static_cast<uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (base == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) {
        return 0;
    }
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        return 0;
    }
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return 0;
    }

    unsigned patched = 0;
    for (auto* descriptor =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (!SameNameIgnoringCase(reinterpret_cast<const char*>(base + descriptor->Name),
                                  dllName)) {
            continue;
        }
        // The lookup table keeps the names; the address table holds what calls go through.
        const DWORD lookupRva = descriptor->OriginalFirstThunk != 0 ? descriptor->OriginalFirstThunk
                                                                    : descriptor->FirstThunk;
        const auto* lookup = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + lookupRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
        for (; lookup->u1.AddressOfData != 0; ++lookup, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(lookup->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData);
            for (size_t i = 0; i < count; ++i) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name),
                                replacements[i].function) == 0 &&
                    WriteSlot(&slots->u1.Function, replacements[i].replacement)) {
                    patched |= 1u << i;
                }
            }
        }
    }
    return patched;
}
