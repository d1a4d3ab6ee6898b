#include "lh5/lha_crc16.h"

#include <array>

namespace {

const int SLICES = 16;
using CrcTables = std::array<std::array<uint16_t, 256>, SLICES>;

// Table k advances a byte's CRC over k further zero bytes, so sixteen bytes
// are folded in with sixteen independent lookups: the depacker checks every
// member it unpacks, and a bit or a byte at a time would cost as much as the
// unpacking.
constexpr CrcTables makeTables() {
    CrcTables t{};
    for (int i = 0; i < 256; i++) {
        uint16_t crc = uint16_t(i);
        for (int bit = 0; bit < 8; bit++) crc = uint16_t((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
        t[0][size_t(i)] = crc;
    }
    for (size_t k = 1; k < SLICES; k++) {
        for (size_t i = 0; i < 256; i++) t[k][i] = uint16_t((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    }
    return t;
}

constexpr CrcTables TABLES = makeTables();

}  // namespace

uint16_t lhaCrc16(const uint8_t* data, size_t size, uint16_t crc) {
    for (; size >= SLICES; size -= SLICES, data += SLICES) {
        uint32_t low = crc ^ (uint32_t(data[0]) | uint32_t(data[1]) << 8);
        uint32_t a = TABLES[15][low & 0xFF] ^ TABLES[14][low >> 8] ^ TABLES[13][data[2]] ^ TABLES[12][data[3]];
        uint32_t b = TABLES[11][data[4]] ^ TABLES[10][data[5]] ^ TABLES[9][data[6]] ^ TABLES[8][data[7]];
        uint32_t c = TABLES[7][data[8]] ^ TABLES[6][data[9]] ^ TABLES[5][data[10]] ^ TABLES[4][data[11]];
        uint32_t d = TABLES[3][data[12]] ^ TABLES[2][data[13]] ^ TABLES[1][data[14]] ^ TABLES[0][data[15]];
        crc = uint16_t(a ^ b ^ c ^ d);
    }
    for (; size > 0; size--, data++) crc = uint16_t((crc >> 8) ^ TABLES[0][(crc ^ *data) & 0xFF]);
    return crc;
}
