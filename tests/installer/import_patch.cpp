#include "import_patch.h"

#include <cstring>

namespace {

void write_slot(void** slot, void* value)
{
    DWORD old_protection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old_protection);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old_protection, &old_protection);
}

} // namespace

import_patch::import_patch(const char* dll, const char* function, void* replacement)
{
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        const DWORD names_at = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + names_at);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0)
                continue;
            slot = reinterpret_cast<void**>(&addresses->u1.Function);
            saved = *slot;
            write_slot(slot, replacement);
            return;
        }
    }
}

import_patch::~import_patch()
{
    if (slot)
        write_slot(slot, saved);
}
