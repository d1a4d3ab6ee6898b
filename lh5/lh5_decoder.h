#pragma once
// Unpacking of a one-member level-0 LHA archive packed with "-lh5-": LZSS over
// an 8 KiB window with static Huffman codes sent at the head of every block.
// Everything works in memory. The member must come out with the CRC-16 that
// the header stores, from no more bits than the packed data holds; the
// header's own checksum is not read.
#include <cstdint>

enum Lh5Status { LH5_NOT_PACKED, LH5_OK, LH5_BAD_HEADER_LEVEL, LH5_NO_MEMORY, LH5_BAD_DATA };

// Largest unpacked size we agree to allocate; a bigger header is refused as
// LH5_NO_MEMORY rather than trusted.
const uint32_t LH5_MAX_UNPACKED_SIZE = 64u * 1024u * 1024u;

// Recognises a level-0 "-lh5-" archive at the start of image (first byte 0 or
// method not "-lh5-": LH5_NOT_PACKED, nothing touched) and unpacks its member
// into a new malloc'ed buffer of exactly the unpacked size (*result, *resultSize).
// LH5_OK always comes with a non-null buffer: an empty member gets a 1-byte
// allocation and *resultSize 0. On any status but LH5_OK, *result is null.
// A damaged member (a bad code table, a stream that ends too soon, a CRC that
// does not match) is LH5_BAD_DATA. The image is never freed or changed here.
Lh5Status lh5UnpackArchive(const uint8_t* image, uint32_t imageSize, uint8_t** result, uint32_t* resultSize);
