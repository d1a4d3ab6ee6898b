// Whole images, header included, straight into the archive unpacker.
#include <cstdint>
#include <cstdlib>

#include "lh5/lh5_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Big members only slow the search down; sizes past the limit still run.
    const uint32_t slowSize = 1u << 20;
    if (size >= 15) {
        uint32_t unpacked = uint32_t(data[11]) | uint32_t(data[12]) << 8 | uint32_t(data[13]) << 16 | uint32_t(data[14]) << 24;
        if (unpacked > slowSize && unpacked <= LH5_MAX_UNPACKED_SIZE) return 0;
    }
    uint8_t* result = reinterpret_cast<uint8_t*>(1);
    uint32_t resultSize = 0;
    Lh5Status status = lh5UnpackArchive(data, uint32_t(size), &result, &resultSize);
    if ((status == LH5_OK) != (result != nullptr)) std::abort();
    std::free(result);
    return 0;
}
