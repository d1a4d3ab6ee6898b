#pragma once
// The "-lh5-" packer: LZSS over an 8 KiB window with static Huffman blocks,
// wrapped in a one-member level-0 LHA archive. Same input, same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The packed stream alone, as it follows the archive header.
std::vector<uint8_t> lh5PackStream(const std::vector<uint8_t>& data);

// A level-0 header's size is one byte, 22 of them fixed: the longest name.
const size_t LH5_MAX_MEMBER_NAME = 255 - 22;

// A complete archive: level-0 header, packed stream and the end-mark byte.
// name must be at most LH5_MAX_MEMBER_NAME bytes (a longer one aborts: the
// caller refuses it first).
std::vector<uint8_t> lh5PackArchive(const std::vector<uint8_t>& data, const std::string& name);
