// Glue between the music object and the LH5 archive decoder: the packed image
// in fileData is swapped for its unpacked member, or for null on failure.
#include <cstdlib>

#include "ym/lh5_decoder.h"
#include "ym/ym_music.h"

namespace {

const uint32_t UNPACKED_SIZE_OFFSET = 11;

}  // namespace

uint8_t* YmMusic::depack(uint32_t resourceSize) {
    uint8_t* unpacked = nullptr;
    uint32_t unpackedSize = 0;
    Lh5Status status = lh5UnpackArchive(fileData, fileData ? resourceSize : 0, &unpacked, &unpackedSize);
    if (status == LH5_NOT_PACKED) return fileData;  // a plain image; fileSize stays

    // From here on the image is an archive: fileSize follows its header.
    fileSize = -1;
    if (status != LH5_BAD_HEADER_LEVEL && resourceSize >= UNPACKED_SIZE_OFFSET + 4) {
        const uint8_t* p = fileData + UNPACKED_SIZE_OFFSET;
        fileSize = int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                           (uint32_t(p[3]) << 24));
    }
    switch (status) {
        case LH5_OK:
            fileSize = int32_t(unpackedSize);
            break;
        case LH5_BAD_HEADER_LEVEL:
            lastError = "LHARC Header must be 0 !";
            break;
        case LH5_NO_MEMORY:
            lastError = "MALLOC Failed !";
            break;
        default:
            lastError = "LH5 Depacking Error !";
            break;
    }
    std::free(fileData);
    fileData = nullptr;
    return unpacked;
}
