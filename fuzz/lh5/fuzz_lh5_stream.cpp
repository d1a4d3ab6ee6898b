// The decoder itself: three bytes of unpacked size (up to 256 KiB), the two
// bytes of the member's CRC, then the packed stream, wrapped in a valid
// level-0 header.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "lh5/lh5_decoder.h"
#include "lh5/lha_crc16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    uint32_t unpacked = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2] & 3) << 16;
    uint16_t crc = uint16_t(data[3] | data[4] << 8);
    size_t packed = size - 5;
    std::vector<uint8_t> image(24 + packed);
    image[0] = 22;
    std::memcpy(&image[2], "-lh5-", 5);
    for (int i = 0; i < 4; i++) {
        image[7 + i] = uint8_t(packed >> (8 * i));
        image[11 + i] = uint8_t(unpacked >> (8 * i));
    }
    image[22] = data[3];
    image[23] = data[4];
    if (packed) std::memcpy(&image[24], data + 5, packed);
    uint8_t* result = nullptr;
    uint32_t resultSize = 0;
    Lh5Status status = lh5UnpackArchive(image.data(), uint32_t(image.size()), &result, &resultSize);
    if (status == LH5_OK && (resultSize != unpacked || lhaCrc16(result, resultSize) != crc)) std::abort();
    if (status != LH5_OK && status != LH5_BAD_DATA) std::abort();
    std::free(result);
    return 0;
}
