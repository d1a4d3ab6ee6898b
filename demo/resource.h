#pragma once
// Embedded content, addressed by integer id. The bytes are compiled into the
// program, read-only, and live for the whole run; nobody frees them.
#include <cstdint>

struct ResourceData {
    const unsigned char* bytes;  // null when there is no such resource
    uint32_t size;               // 0 when there is no such resource
};

// The bytes and size of resource `id`, or {null, 0}.
ResourceData findResourceData(int id);
