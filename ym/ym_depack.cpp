// Loading a song from the bytes of a file or resource: the object's own copy,
// swapped for its unpacked member when it is an LH5 archive, then parsed.
#include <cstdlib>
#include <cstring>

#include "lh5/lh5_decoder.h"
#include "ym/ym_music.h"

namespace {

const uint32_t UNPACKED_SIZE_OFFSET = 11;
static_assert(YM_MAX_FILE_BYTES <= LH5_MAX_UNPACKED_SIZE, "the depacker must take every member load accepts");

}  // namespace

bool YmMusic::load(const uint8_t* bytes, uint32_t size) {
    release();
    // A song starts from a fresh chip and player, whatever played before.
    static_cast<YmPlayState&>(*this) = YmPlayState();
    lastError = "";
    if (size > YM_MAX_FILE_BYTES) return fail("YM file too large !");
    fileSize = int32_t(size);
    fileData = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (!fileData) return fail("MALLOC Error");
    if (size) std::memcpy(fileData, bytes, size);
    if (!depack(size)) return false;
    if (!parseFile()) {
        std::free(fileData);
        fileData = nullptr;
        songInfo = YmSongInfo();
        return false;
    }
    chip.resetChip();
    describeSong();
    startSnapshots();
    musicReady = 1;
    paused = 0;
    publish(nullptr, 0, false);
    return true;
}

bool YmMusic::depack(uint32_t resourceSize) {
    uint8_t* unpacked = nullptr;
    uint32_t unpackedSize = 0;
    Lh5Status status = lh5UnpackArchive(fileData, resourceSize, &unpacked, &unpackedSize);
    if (status == LH5_NOT_PACKED) return true;  // a plain image; fileSize stays

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
    fileData = unpacked;
    return unpacked != nullptr;
}
