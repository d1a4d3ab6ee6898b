#pragma once
// Shared helpers of the LH5 tests: input generators, a bit writer for
// hand-made streams, level-0 header wrapping and black-box archivers.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Deterministic inputs of the kinds music and text give.
Bytes randomBytes(size_t size, uint32_t seed);
Bytes randomLetters(size_t size, uint32_t seed, int alphabet);
Bytes textLike(size_t size, uint32_t seed);
Bytes repetitive(size_t size);
Bytes ymLike(size_t frames, uint32_t seed);  // 16 register streams, one after another

// Most significant bit first, as the decoder reads.
struct BitWriter {
    Bytes bytes;
    int used = 8;
    void put(uint32_t value, int bits);
};

// A level-0 "-lh5-" archive around a packed stream; the size fields are given
// so that tests can lie in them.
Bytes wrapLevel0(const Bytes& packed, uint32_t unpackedSize, uint32_t packedSizeField, const std::string& name = "song.ym");

// Runs a command line in a shell; true when it exits with 0.
bool runCommand(const std::string& commandLine);
std::string scratchDir();  // a fresh, empty directory
bool writeFile(const std::string& path, const Bytes& data);
Bytes readFile(const std::string& path);

// Packs data with jlha into a level-0 "-lh5-" archive (empty on failure).
Bytes packWithJlha(const Bytes& data, const std::string& name = "member.bin");

// Unpacks with our decoder; the status plus the bytes (empty unless LH5_OK).
struct Unpacked {
    int status;
    Bytes data;
};
Unpacked unpack(const Bytes& archive);
