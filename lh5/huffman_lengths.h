#pragma once
// Code lengths of a length-limited Huffman code.
#include <cstdint>
#include <vector>

// Lengths for the given symbol frequencies, none above maxLength, 0 for the
// symbols that never occur. With two or more used symbols the code fills its
// code space exactly (the decoder accepts nothing else); with fewer, every
// length is 0 and the caller sends a one-symbol description instead.
std::vector<uint8_t> huffmanLengths(const std::vector<uint32_t>& frequencies, int maxLength);
