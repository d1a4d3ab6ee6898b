#pragma once
// The "-lh5-" packer: LZSS over an 8 KiB window with static Huffman blocks,
// wrapped in a one-member level-0 LHA archive. Same input, same bytes.
#include <cstdint>
#include <string>
#include <vector>

// The packed stream alone, as it follows the archive header.
std::vector<uint8_t> lh5PackStream(const std::vector<uint8_t>& data);

// A complete archive: level-0 header, packed stream and the end-mark byte.
// name must be at most 255 bytes.
std::vector<uint8_t> lh5PackArchive(const std::vector<uint8_t>& data, const std::string& name);
