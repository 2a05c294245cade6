#include "import_patch.h"

#include <cstring>

void* patchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), library) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                DWORD protection;
                VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
                void* previous = reinterpret_cast<void*>(addresses->u1.Function);
                addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
                VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
                return previous;
            }
        }
    }
    return nullptr;
}
