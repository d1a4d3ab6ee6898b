#pragma once
// Shared helpers of the LH5 tests: input generators, a bit writer for
// hand-made streams, level-0 wrapping, and the black-box archivers.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes randomBytes(size_t size, uint32_t seed);
Bytes textLike(size_t size, uint32_t seed);
Bytes repetitive(size_t size);
Bytes ymLike(size_t frames, uint32_t seed);  // 16 register columns, one after another

// Most significant bit first, as the decoder reads.
struct BitWriter {
    Bytes bytes;
    int used = 8;
    void put(uint32_t value, int bits);
};

// A level-0 "-lh5-" archive around a packed stream, with the size fields and
// the member's CRC-16 given, and its end-mark byte.
Bytes wrapLevel0(const Bytes& packed, uint32_t unpackedSize, uint32_t packedSizeField, uint16_t crc = 0);
// The archive of a stream that unpacks to `member`: true sizes and CRC.
Bytes archiveOf(const Bytes& packed, const Bytes& member);
// The archive with `extension` after the member's CRC, counted in the header
// size and the header checksum, as Unix LHA archivers write level 0.
Bytes withExtension(const Bytes& archive, const Bytes& extension);

// Runs `commands` in a fresh directory holding `files` (name, bytes); returns
// the bytes of `result` there, or nothing when a command fails.
Bytes runInScratch(const std::vector<std::pair<std::string, Bytes>>& files, const std::string& commands,
                   const std::string& result);

// jlha's level-0 "-lh5-" archive of data (it stores what it cannot shrink as "-lh0-").
Bytes packWithJlha(const Bytes& data);

// The archive with its packed stream damaged in one of four ways, picked and
// placed by the seed: one bit flipped anywhere, one bit flipped among the
// first 64 bytes (the first block's code descriptions), the stream cut short
// (packed size field and bytes), 16 bytes zeroed. The header CRC is `crc`.
Bytes damagedArchive(const Bytes& archive, uint32_t seed, uint16_t crc);

struct Unpacked {
    int status;
    Bytes data;
};
Unpacked unpack(const Bytes& archive);
