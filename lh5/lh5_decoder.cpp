#include "lh5/lh5_decoder.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "lh5/lha_crc16.h"

namespace {

const int HEADER_FIXED_SIZE = 22;  // up to and including the name length byte
const int HEADER_LEVEL_OFFSET = 20;
const int NAME_LENGTH_OFFSET = 21;
const int LONGEST_CODE = 16;

uint32_t readLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint64_t readBig64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap64(v);
#else
    uint64_t r = 0;
    for (int i = 0; i < 8; i++) r = r << 8 | p[i];
    return r;
#endif
}

// The packed stream, most significant bit first, in a 64-bit window whose top
// bit is the next one. A refill tops it up to at least 56 bits with one load,
// enough for a whole match (a 16-bit code, a 16-bit position code and 12
// extra bits). Past the last packed byte the stream reads as zero bits.
struct BitReader {
    const uint8_t* data;
    size_t size;
    size_t next;    // next byte to load; may run past size (those read as 0)
    uint64_t bits;  // bits below `count` already hold the next stream bits or 0
    unsigned count; // bits of `bits` not yet consumed

    void begin(const uint8_t* packed, size_t packedSize) {
        data = packed;
        size = packedSize;
        next = 0;
        bits = 0;
        count = 0;
    }

    void refill() {
        if (next + 8 <= size) {
            bits |= readBig64(data + next) >> count;
        } else {
            uint64_t tail = 0;
            for (size_t i = 0; i < 8; i++) tail = tail << 8 | (next + i < size ? data[next + i] : 0);
            bits |= tail >> count;
        }
        next += (63 - count) >> 3;
        count |= 56;
    }

    // n from 1 to 32, at most `count`.
    uint32_t peek(unsigned n) const { return uint32_t(bits >> (64 - n)); }
    void consume(unsigned n) {
        bits <<= n;
        count -= n;
    }
    // n from 0 to 16.
    uint32_t take(unsigned n) {
        if (count < 16) refill();
        uint32_t v = uint32_t((bits >> 1) >> (63 - n));
        consume(n);
        return v;
    }
    // More bits taken than the packed data holds: the member cannot be the
    // one its header describes, even where the zeros happen to decode.
    bool overrun() const { return uint64_t(next) * 8 - count > uint64_t(size) * 8; }
};

// Working state of one unpacking run (about 13 KB, so it lives on the heap).
// The output buffer is the dictionary (matches reach at most 8 KiB back): a
// match reads the bytes it already holds, and a position before its start
// reads as 0, as an empty window would.
struct Lh5Decoder {
    static const int CODE_SYMBOLS = 510;  // 256 literals + match lengths 3..256
    static const int POSITION_SYMBOLS = 14;
    static const int LENGTH_CODE_SYMBOLS = 19;
    static const int CODE_TABLE_BITS = 12;
    static const int AUX_TABLE_BITS = 8;
    // Table entries hold the code length in their low 6 bits, so that the
    // shift that consumes it needs no masking on the way from the lookup,
    // and the symbol above it (at or above the alphabet size: the tree node
    // that a longer code continues from, with length 0).
    static const unsigned ENTRY_LENGTH_BITS = 6;
    static const unsigned ENTRY_LENGTH_MASK = (1u << ENTRY_LENGTH_BITS) - 1;

    BitReader in;
    bool failed;
    uint32_t blockCodesLeft;
    uint16_t left[2 * CODE_SYMBOLS - 1];
    uint16_t right[2 * CODE_SYMBOLS - 1];
    uint8_t codeLengths[CODE_SYMBOLS];
    uint8_t auxLengths[LENGTH_CODE_SYMBOLS];
    uint16_t codeTable[1 << CODE_TABLE_BITS];
    uint16_t auxTable[1 << AUX_TABLE_BITS];

    // Decodes the whole member into [begin, end); false when the data is damaged.
    bool unpack(uint8_t* begin, uint8_t* end, uint16_t* crc);

private:
    void buildTable(int symbolCount, const uint8_t* lengths, int width, uint16_t* table);
    void setSingleSymbol(uint32_t symbol, int symbolCount, uint8_t* lengths, uint16_t* table, int width);
    void readAuxLengths(int symbolCount, int sizeBits, int specialIndex);
    void readCodeLengths();
    bool startBlock();
    uint32_t walkTree(uint32_t node, int width, uint32_t symbolCount, const uint8_t* lengths);
    uint32_t decodeSymbol(const uint16_t* table, int width, uint32_t symbolCount, const uint8_t* lengths);
    uint32_t decodeCode();
    uint8_t* decodeMatch(uint32_t c, uint8_t* out, uint8_t* begin, uint8_t* end);
    uint8_t* decodeUntil(uint8_t* out, uint8_t* limit, uint8_t* begin, uint8_t* end);
};

// Canonical Huffman decoder: a width-bit lookup for short codes, and for the
// longer ones a binary tree hanging off the lookup slot, its nodes numbered
// from symbolCount upward in left/right. Only a code that fills the 16-bit
// code space exactly is accepted: that makes the tree complete, so every walk
// ends at a leaf within 16 - width steps and uses at most symbolCount - 1 nodes.
void Lh5Decoder::buildTable(int symbolCount, const uint8_t* lengths, int width, uint16_t* table) {
    uint32_t counts[LONGEST_CODE + 1] = {};
    for (int s = 0; s < symbolCount; s++) {
        if (lengths[s] > LONGEST_CODE) {
            failed = true;
            return;
        }
        counts[lengths[s]]++;
    }
    // Counted in 32 bits so that an over-full code cannot wrap back to "full".
    uint32_t start[LONGEST_CODE + 2];
    start[1] = 0;
    for (int i = 1; i <= LONGEST_CODE; i++) start[i + 1] = start[i] + (counts[i] << (LONGEST_CODE - i));
    if (start[LONGEST_CODE + 1] != 0x10000) {
        failed = true;
        return;
    }

    int shift = LONGEST_CODE - width;
    uint32_t weight[LONGEST_CODE + 1];
    for (int i = 1; i <= width; i++) {
        start[i] >>= shift;
        weight[i] = 1u << (width - i);
    }
    for (int i = width + 1; i <= LONGEST_CODE; i++) weight[i] = 1u << (LONGEST_CODE - i);

    uint32_t tableSize = 1u << width;
    for (uint32_t i = start[width + 1] >> shift; i < tableSize; i++) table[i] = 0;

    uint32_t nextNode = uint32_t(symbolCount);
    uint32_t mask = 1u << (15 - width);
    for (int s = 0; s < symbolCount; s++) {
        int length = lengths[s];
        if (length == 0) continue;
        uint32_t next = start[length] + weight[length];
        if (length <= width) {
            uint16_t entry = uint16_t(s << ENTRY_LENGTH_BITS | length);
            for (uint32_t i = start[length]; i < next; i++) table[i] = entry;
        } else {
            uint32_t k = start[length];
            uint16_t& entry = table[k >> shift];
            if (entry == 0) {
                left[nextNode] = right[nextNode] = 0;
                entry = uint16_t(nextNode++ << ENTRY_LENGTH_BITS);
            }
            uint16_t* slot = (k & mask) ? &right[entry >> ENTRY_LENGTH_BITS] : &left[entry >> ENTRY_LENGTH_BITS];
            for (int i = length - width - 1; i > 0; i--) {
                k <<= 1;
                if (*slot == 0) {
                    left[nextNode] = right[nextNode] = 0;
                    *slot = uint16_t(nextNode++);
                }
                slot = (k & mask) ? &right[*slot] : &left[*slot];
            }
            *slot = uint16_t(s);
        }
        start[length] = next;
    }
}

// A description of count 0: every code is the one symbol, in zero bits.
void Lh5Decoder::setSingleSymbol(uint32_t symbol, int symbolCount, uint8_t* lengths, uint16_t* table, int width) {
    if (symbol >= uint32_t(symbolCount)) {
        failed = true;
        return;
    }
    std::memset(lengths, 0, size_t(symbolCount));
    for (int i = 0; i < (1 << width); i++) table[i] = uint16_t(symbol << ENTRY_LENGTH_BITS);
}

// Below the lookup, for codes longer than width; buildTable guarantees the
// walk stays inside left/right and within the 16 bits after a refill.
uint32_t Lh5Decoder::walkTree(uint32_t node, int width, uint32_t symbolCount, const uint8_t* lengths) {
    uint64_t mask = uint64_t(1) << (63 - width);
    do {
        node = (in.bits & mask) ? right[node] : left[node];
        mask >>= 1;
    } while (node >= symbolCount);
    in.consume(lengths[node]);
    return node;
}

uint32_t Lh5Decoder::decodeSymbol(const uint16_t* table, int width, uint32_t symbolCount, const uint8_t* lengths) {
    if (in.count < LONGEST_CODE) in.refill();
    uint32_t entry = table[in.peek(unsigned(width))];
    uint32_t s = entry >> ENTRY_LENGTH_BITS;
    if (s >= symbolCount) return walkTree(s, width, symbolCount, lengths);
    in.consume(entry & ENTRY_LENGTH_MASK);
    return s;
}

void Lh5Decoder::readAuxLengths(int symbolCount, int sizeBits, int specialIndex) {
    int n = int(in.take(unsigned(sizeBits)));
    if (n == 0) {
        setSingleSymbol(in.take(unsigned(sizeBits)), symbolCount, auxLengths, auxTable, AUX_TABLE_BITS);
        return;
    }
    if (n > symbolCount) {
        failed = true;
        return;
    }
    int i = 0;
    while (i < n) {
        if (in.count < LONGEST_CODE) in.refill();
        uint32_t window = in.peek(16);
        int c = int(window >> 13);
        if (c == 7) {
            for (uint32_t mask = 1u << 12; window & mask; mask >>= 1) c++;
            if (c > LONGEST_CODE) {
                failed = true;
                return;
            }
        }
        in.consume(unsigned(c < 7 ? 3 : c - 3));
        auxLengths[i++] = uint8_t(c);
        if (i == specialIndex) {
            int zeros = int(in.take(2));
            if (i + zeros > symbolCount) {
                failed = true;
                return;
            }
            while (zeros-- > 0) auxLengths[i++] = 0;
        }
    }
    while (i < symbolCount) auxLengths[i++] = 0;
    buildTable(symbolCount, auxLengths, AUX_TABLE_BITS, auxTable);
}

void Lh5Decoder::readCodeLengths() {
    int n = int(in.take(9));
    if (n == 0) {
        setSingleSymbol(in.take(9), CODE_SYMBOLS, codeLengths, codeTable, CODE_TABLE_BITS);
        return;
    }
    if (n > CODE_SYMBOLS) {
        failed = true;
        return;
    }
    int i = 0;
    while (i < n) {
        int c = int(decodeSymbol(auxTable, AUX_TABLE_BITS, LENGTH_CODE_SYMBOLS, auxLengths));
        if (c <= 2) {
            int zeros = c == 0 ? 1 : c == 1 ? int(in.take(4)) + 3 : int(in.take(9)) + 20;
            if (i + zeros > CODE_SYMBOLS) {
                failed = true;
                return;
            }
            std::memset(codeLengths + i, 0, size_t(zeros));
            i += zeros;
        } else {
            codeLengths[i++] = uint8_t(c - 2);
        }
    }
    std::memset(codeLengths + i, 0, size_t(CODE_SYMBOLS - i));
    buildTable(CODE_SYMBOLS, codeLengths, CODE_TABLE_BITS, codeTable);
}

// Each description is checked before the next one decodes with its table. A
// block count of 0 never runs out (the count only goes down from there).
bool Lh5Decoder::startBlock() {
    blockCodesLeft = in.take(16);
    if (blockCodesLeft == 0) blockCodesLeft = UINT32_MAX;
    readAuxLengths(LENGTH_CODE_SYMBOLS, 5, 3);
    if (!failed) readCodeLengths();
    if (!failed) readAuxLengths(POSITION_SYMBOLS, 4, -1);
    if (in.overrun()) failed = true;
    return !failed;
}

// Copies a match of n bytes from dist back with the result of a byte-by-byte
// copy. `room` is what the buffer holds from out on: with 16 bytes to spare
// the copy moves whole words and may write past the match, which later
// output overwrites.
inline uint8_t* copyMatch(uint8_t* out, uint32_t n, uint32_t dist, size_t room) {
    const uint8_t* src = out - dist;
    if (room >= n + 16) {
        uint8_t* stop = out + n;
        if (dist >= 16) {
            do {
                std::memcpy(out, src, 16);
                out += 16;
                src += 16;
            } while (out < stop);
        } else if (dist >= 8) {
            do {
                std::memcpy(out, src, 8);
                out += 8;
                src += 8;
            } while (out < stop);
        } else if (dist == 1) {
            std::memset(out, *src, n);
        } else {
            while (out < stop) *out++ = *src++;
        }
        return stop;
    }
    if (n > room) n = uint32_t(room);
    for (uint32_t i = 0; i < n; i++) out[i] = src[i];
    return out + n;
}

// One literal/length code; the window must hold 16 bits.
inline uint32_t Lh5Decoder::decodeCode() {
    uint32_t entry = codeTable[in.peek(CODE_TABLE_BITS)];
    uint32_t c = entry >> ENTRY_LENGTH_BITS;
    if (c >= CODE_SYMBOLS) return walkTree(c, CODE_TABLE_BITS, CODE_SYMBOLS, codeLengths);
    in.consume(entry & ENTRY_LENGTH_MASK);
    return c;
}

// The match of length symbol c: position code and extra bits, then the copy.
inline uint8_t* Lh5Decoder::decodeMatch(uint32_t c, uint8_t* out, uint8_t* begin, uint8_t* end) {
    if (in.count < 2 * LONGEST_CODE - 4) in.refill();  // a 16-bit position code and 12 extra bits
    uint32_t length = c - 253;
    uint32_t entry = auxTable[in.peek(AUX_TABLE_BITS)];
    uint32_t p = entry >> ENTRY_LENGTH_BITS;
    if (p < POSITION_SYMBOLS) {
        in.consume(entry & ENTRY_LENGTH_MASK);
    } else {
        p = walkTree(p, AUX_TABLE_BITS, POSITION_SYMBOLS, auxLengths);
    }
    uint32_t dist = 1;
    if (p != 0) {
        unsigned extra = p - 1;
        dist += (1u << extra) + uint32_t((in.bits >> 1) >> (63 - extra));
        in.consume(extra);
    }
    if (size_t(out - begin) >= dist) return copyMatch(out, length, dist, size_t(end - out));
    // Before the first byte: what an empty window holds.
    size_t n = length < size_t(end - out) ? length : size_t(end - out);
    for (size_t i = 0; i < n; i++, out++) {
        size_t at = size_t(out - begin);
        *out = at >= dist ? out[-ptrdiff_t(dist)] : 0;
    }
    return out;
}

// Decodes symbols until out reaches limit (a match may run past it, up to
// end). One refill serves three codes of up to 16 bits: most of the time goes
// into literals, and each refill's load waits for the codes before it.
uint8_t* Lh5Decoder::decodeUntil(uint8_t* out, uint8_t* limit, uint8_t* begin, uint8_t* end) {
    while (out < limit) {
        uint32_t c;
        if (blockCodesLeft >= 3 && limit - out >= 3) {
            in.refill();
            blockCodesLeft--;
            c = decodeCode();
            if (c <= 255) {
                *out++ = uint8_t(c);
                blockCodesLeft--;
                c = decodeCode();
                if (c <= 255) {
                    *out++ = uint8_t(c);
                    blockCodesLeft--;
                    c = decodeCode();
                }
            }
        } else {
            if (blockCodesLeft == 0 && !startBlock()) return out;
            blockCodesLeft--;
            in.refill();
            c = decodeCode();
        }
        if (c <= 255) {
            *out++ = uint8_t(c);
            continue;
        }
        out = decodeMatch(c, out, begin, end);
    }
    return out;
}

bool Lh5Decoder::unpack(uint8_t* begin, uint8_t* end, uint16_t* crc) {
    // Checked in pieces that are still in the cache.
    const size_t CRC_PIECE = 16384;
    uint8_t* out = begin;
    while (out < end) {
        uint8_t* limit = size_t(end - out) > CRC_PIECE ? out + CRC_PIECE : end;
        uint8_t* done = decodeUntil(out, limit, begin, end);
        if (failed || in.overrun()) return false;
        *crc = lhaCrc16(out, size_t(done - out), *crc);
        out = done;
    }
    return true;
}

}  // namespace

Lh5Status lh5UnpackArchive(const uint8_t* image, uint32_t imageSize, uint8_t** result, uint32_t* resultSize) {
    *result = nullptr;
    if (imageSize < 7 || image[0] == 0 || std::memcmp(image + 2, "-lh5-", 5) != 0) return LH5_NOT_PACKED;
    *resultSize = 0;
    if (imageSize <= uint32_t(HEADER_LEVEL_OFFSET)) return LH5_BAD_DATA;
    if (image[HEADER_LEVEL_OFFSET] != 0) return LH5_BAD_HEADER_LEVEL;
    if (imageSize < uint32_t(HEADER_FIXED_SIZE)) return LH5_BAD_DATA;

    uint32_t unpackedSize = readLittle32(image + 11);
    if (unpackedSize > LH5_MAX_UNPACKED_SIZE) return LH5_NO_MEMORY;
    uint32_t crcOffset = uint32_t(HEADER_FIXED_SIZE) + image[NAME_LENGTH_OFFSET];
    if (crcOffset + 2 > imageSize) return LH5_BAD_DATA;
    uint16_t expectedCrc = uint16_t(image[crcOffset] | image[crcOffset + 1] << 8);
    // Archivers on some systems put extension bytes after the CRC and count
    // them in the header size; without them both offsets are the same.
    uint32_t dataStart = crcOffset + 2;
    uint32_t headerEnd = image[0] + 2u;
    if (headerEnd > dataStart && headerEnd <= imageSize) dataStart = headerEnd;
    uint32_t packedSize = readLittle32(image + 7);
    uint32_t present = imageSize - dataStart;
    uint32_t packedLeft = packedSize < present ? packedSize : present;
    if (packedLeft > 0x7fffffffu) packedLeft = 0x7fffffffu;

    uint8_t* unpacked = static_cast<uint8_t*>(std::malloc(unpackedSize ? unpackedSize : 1));
    Lh5Decoder* decoder = new (std::nothrow) Lh5Decoder();
    if (!unpacked || !decoder) {
        std::free(unpacked);
        delete decoder;
        return LH5_NO_MEMORY;
    }
    decoder->in.begin(image + dataStart, packedLeft);
    uint16_t crc = 0;
    bool ok = decoder->unpack(unpacked, unpacked + unpackedSize, &crc) && crc == expectedCrc;
    delete decoder;
    if (!ok) {
        std::free(unpacked);
        return LH5_BAD_DATA;
    }
    *result = unpacked;
    *resultSize = unpackedSize;
    return LH5_OK;
}
