#pragma once
// The CRC-16 that an LHA header stores for its member: reflected polynomial
// 0xA001 (x^16 + x^15 + x^2 + 1), starting from 0, no final inversion.
#include <cstddef>
#include <cstdint>

// Continues `crc` over `size` bytes; with the default start it is the CRC of
// those bytes alone, and feeding a block in pieces gives the same result.
uint16_t lhaCrc16(const uint8_t* data, size_t size, uint16_t crc = 0);
