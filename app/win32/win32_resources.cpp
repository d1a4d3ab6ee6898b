// The content as resources of type "DATA" in the program's own module, by
// integer id. Resource memory is mapped with the image: read-only, never freed.
#include <windows.h>

#include "demo/resource.h"

ResourceData findResourceData(int id) {
    // An integer resource name is 16 bits wide; a larger id must not wrap onto another.
    if (id < 1 || id > 0xFFFF) return {nullptr, 0};
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "DATA");
    if (!info) return {nullptr, 0};
    HGLOBAL handle = LoadResource(module, info);
    if (!handle) return {nullptr, 0};
    DWORD size = SizeofResource(module, info);
    const void* bytes = LockResource(handle);
    if (!bytes || size == 0) return {nullptr, 0};
    return {static_cast<const unsigned char*>(bytes), size};
}
