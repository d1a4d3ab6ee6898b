// The decoder itself: three bytes of unpacked size (up to 256 KiB), then the
// packed stream, wrapped in a valid level-0 header.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ym/lh5_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    uint32_t unpacked = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2] & 3) << 16;
    size_t packed = size - 3;
    std::vector<uint8_t> image(24 + packed);
    image[0] = 22;
    std::memcpy(&image[2], "-lh5-", 5);
    for (int i = 0; i < 4; i++) {
        image[7 + i] = uint8_t(packed >> (8 * i));
        image[11 + i] = uint8_t(unpacked >> (8 * i));
    }
    if (packed) std::memcpy(&image[24], data + 3, packed);
    uint8_t* result = nullptr;
    uint32_t resultSize = 0;
    Lh5Status status = lh5UnpackArchive(image.data(), uint32_t(image.size()), &result, &resultSize);
    if (status == LH5_OK && resultSize != unpacked) std::abort();
    if (status != LH5_OK && status != LH5_BAD_DATA) std::abort();
    std::free(result);
    return 0;
}
