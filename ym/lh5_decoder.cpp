#include "ym/lh5_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ym/lha_crc16.h"

namespace {

const int HEADER_FIXED_SIZE = 22;  // up to and including the name length byte
const int HEADER_LEVEL_OFFSET = 20;
const int NAME_LENGTH_OFFSET = 21;
const int LONGEST_CODE = 16;

uint32_t readLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Working state of one unpacking run (about 26 KB, so it lives on the heap).
struct Lh5Decoder {
    static const int WINDOW_SIZE = 8192;
    static const int CHUNK_SIZE = 8192;
    static const int INPUT_REFILL = 4064;
    static const int CODE_SYMBOLS = 510;  // 256 literals + match lengths 3..256
    static const int POSITION_SYMBOLS = 14;
    static const int LENGTH_CODE_SYMBOLS = 19;
    static const int CODE_TABLE_BITS = 12;
    static const int AUX_TABLE_BITS = 8;

    const uint8_t* source;
    int32_t packedLeft;
    uint8_t* output;
    int32_t outputLeft;
    int32_t inputCount;
    uint8_t inputBuffer[4096];
    uint8_t window[WINDOW_SIZE];
    uint16_t left[2 * CODE_SYMBOLS - 1];
    uint16_t right[2 * CODE_SYMBOLS - 1];
    uint16_t bitBuffer;
    uint32_t subBitBuffer;
    int32_t bitCount;
    int32_t copyLeft;
    uint8_t codeLengths[CODE_SYMBOLS];
    uint8_t auxLengths[LENGTH_CODE_SYMBOLS];
    int32_t blockCodesLeft;
    uint16_t codeTable[1 << CODE_TABLE_BITS];
    uint16_t auxTable[1 << AUX_TABLE_BITS];
    int32_t failed;
    int32_t inputPos;
    int32_t copyPos;
    int32_t bytesPastEnd;  // zero bytes fetched after the last packed byte

    // Points the decoder at a packed stream and primes the bit buffer.
    void begin(const uint8_t* packed, int32_t packedSize, uint8_t* result, int32_t resultSize);
    void decodeChunk(int count, uint8_t* buffer);

private:
    void fillBits(int n);
    uint32_t getBits(int n);
    void buildTable(int symbolCount, const uint8_t* lengths, int width, uint16_t* table);
    void readAuxLengths(int symbolCount, int sizeBits, int specialIndex);
    void readCodeLengths();
    uint32_t fetchByte();
    int decodeSymbol(const uint16_t* table, int width, int symbolCount, const uint8_t* lengths);
    bool startBlock();
    void setSingleSymbol(int symbol, int symbolCount, uint8_t* lengths, uint16_t* table, int width);
    bool copyMatch(int& r, int count, uint8_t* buffer);
};

void Lh5Decoder::begin(const uint8_t* packed, int32_t packedSize, uint8_t* result, int32_t resultSize) {
    source = packed;
    packedLeft = packedSize;
    output = result;
    outputLeft = resultSize;
    inputCount = 0;
    inputPos = 0;
    failed = 0;
    bitBuffer = 0;
    subBitBuffer = 0;
    bitCount = 0;
    bytesPastEnd = 0;
    fillBits(16);
    blockCodesLeft = 0;
    copyLeft = 0;
    copyPos = 0;
}

// Past the last packed byte the stream reads as zero bits. bitBuffer looks
// 16 bits ahead of the last consumed bit, so a stream that ends in time
// fetches at most two such bytes; a third means a code took bits that the
// packed data does not hold: the data is damaged (the chunk loop stops on
// `failed`).
uint32_t Lh5Decoder::fetchByte() {
    if (inputCount == 0) {
        inputPos = 0;
        int32_t n = packedLeft < INPUT_REFILL ? packedLeft : INPUT_REFILL;
        if (n < 0) n = 0;
        std::memcpy(inputBuffer, source, size_t(n));
        source += n;
        packedLeft -= n;
        inputCount = n;
    }
    if (inputCount <= 0) {
        if (++bytesPastEnd > 2) failed = 1;
        return 0;
    }
    inputCount--;
    return inputBuffer[inputPos++];
}

void Lh5Decoder::fillBits(int n) {
    uint32_t bits = uint32_t(bitBuffer) << n;
    while (n > bitCount) {
        n -= bitCount;
        bits |= subBitBuffer << n;
        subBitBuffer = fetchByte();
        bitCount = 8;
    }
    bitCount -= n;
    bits |= subBitBuffer >> bitCount;
    bitBuffer = uint16_t(bits);
}

uint32_t Lh5Decoder::getBits(int n) {
    uint32_t value = uint32_t(bitBuffer) >> (16 - n);
    fillBits(n);
    return value;
}

// Canonical Huffman decoder: a width-bit lookup for short codes, and for the
// longer ones a binary tree hanging off the lookup slot, its nodes numbered
// from symbolCount upward in left/right. Only a code that fills the 16-bit
// code space exactly is accepted: that makes the tree complete, so every walk
// ends at a leaf within 16 - width steps and uses at most symbolCount - 1 nodes.
void Lh5Decoder::buildTable(int symbolCount, const uint8_t* lengths, int width, uint16_t* table) {
    uint32_t counts[LONGEST_CODE + 1] = {};
    for (int s = 0; s < symbolCount; s++) {
        if (lengths[s] > LONGEST_CODE) {
            failed = 1;
            return;
        }
        counts[lengths[s]]++;
    }
    // Counted in 32 bits so that an over-full code cannot wrap back to "full".
    uint32_t start[LONGEST_CODE + 2];
    start[1] = 0;
    for (int i = 1; i <= LONGEST_CODE; i++) start[i + 1] = start[i] + (counts[i] << (LONGEST_CODE - i));
    if (start[LONGEST_CODE + 1] != 0x10000) {
        failed = 1;
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
            for (uint32_t i = start[length]; i < next; i++) table[i] = uint16_t(s);
        } else {
            uint32_t k = start[length];
            uint16_t* slot = &table[k >> shift];
            for (int i = length - width; i > 0; i--) {
                if (*slot == 0) {
                    left[nextNode] = right[nextNode] = 0;
                    *slot = uint16_t(nextNode++);
                }
                slot = (k & mask) ? &right[*slot] : &left[*slot];
                k <<= 1;
            }
            *slot = uint16_t(s);
        }
        start[length] = next;
    }
}

// Walks below the lookup only for codes longer than width; buildTable
// guarantees those walks stay inside left/right.
int Lh5Decoder::decodeSymbol(const uint16_t* table, int width, int symbolCount, const uint8_t* lengths) {
    int s = table[bitBuffer >> (16 - width)];
    if (s >= symbolCount) {
        uint32_t mask = 1u << (15 - width);
        do {
            s = (bitBuffer & mask) ? right[s] : left[s];
            mask >>= 1;
        } while (s >= symbolCount);
    }
    fillBits(lengths[s]);
    return s;
}

// A description of count 0: every code is the one symbol, in zero bits.
void Lh5Decoder::setSingleSymbol(int symbol, int symbolCount, uint8_t* lengths, uint16_t* table, int width) {
    if (symbol >= symbolCount) {
        failed = 1;
        return;
    }
    std::memset(lengths, 0, size_t(symbolCount));
    for (int i = 0; i < (1 << width); i++) table[i] = uint16_t(symbol);
}

void Lh5Decoder::readAuxLengths(int symbolCount, int sizeBits, int specialIndex) {
    int n = int(getBits(sizeBits));
    if (n == 0) {
        setSingleSymbol(int(getBits(sizeBits)), symbolCount, auxLengths, auxTable, AUX_TABLE_BITS);
        return;
    }
    if (n > symbolCount) {
        failed = 1;
        return;
    }
    int i = 0;
    while (i < n) {
        int c = bitBuffer >> 13;
        if (c == 7) {
            for (uint32_t mask = 1u << 12; bitBuffer & mask; mask >>= 1) c++;
            if (c > LONGEST_CODE) {
                failed = 1;
                return;
            }
        }
        fillBits(c < 7 ? 3 : c - 3);
        auxLengths[i++] = uint8_t(c);
        if (i == specialIndex) {
            int zeros = int(getBits(2));
            if (i + zeros > symbolCount) {
                failed = 1;
                return;
            }
            while (zeros-- > 0) auxLengths[i++] = 0;
        }
    }
    while (i < symbolCount) auxLengths[i++] = 0;
    buildTable(symbolCount, auxLengths, AUX_TABLE_BITS, auxTable);
}

void Lh5Decoder::readCodeLengths() {
    int n = int(getBits(9));
    if (n == 0) {
        setSingleSymbol(int(getBits(9)), CODE_SYMBOLS, codeLengths, codeTable, CODE_TABLE_BITS);
        return;
    }
    if (n > CODE_SYMBOLS) {
        failed = 1;
        return;
    }
    int i = 0;
    while (i < n) {
        int c = decodeSymbol(auxTable, AUX_TABLE_BITS, LENGTH_CODE_SYMBOLS, auxLengths);
        if (c <= 2) {
            int zeros = c == 0 ? 1 : c == 1 ? int(getBits(4)) + 3 : int(getBits(9)) + 20;
            if (i + zeros > CODE_SYMBOLS) {
                failed = 1;
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

// Each description is checked before the next one decodes with its table.
bool Lh5Decoder::startBlock() {
    blockCodesLeft = int32_t(getBits(16));
    readAuxLengths(LENGTH_CODE_SYMBOLS, 5, 3);
    if (failed) return false;
    readCodeLengths();
    if (failed) return false;
    readAuxLengths(POSITION_SYMBOLS, 4, -1);
    return !failed;
}

// Copies n bytes from window position src to dst (dst + n stays inside the
// window) with the result of a byte-by-byte copy, in whole runs: register
// dumps unpack mostly from long matches, many of them one byte back.
void copyInWindow(uint8_t* window, int dst, int src, int n) {
    if (src < dst && dst - src < n) {
        // The match repeats its last dst - src bytes. The source stays put and
        // each pass copies all of the pattern written so far, doubling it.
        while (n > 0) {
            int run = std::min(n, dst - src);
            std::memcpy(window + dst, window + src, size_t(run));
            dst += run;
            n -= run;
        }
        return;
    }
    // No byte is written before it is read; only the window's end splits the source.
    int first = std::min(n, Lh5Decoder::WINDOW_SIZE - src);
    std::memmove(window + dst, window + src, size_t(first));
    if (first < n) copyInWindow(window, dst + first, 0, n - first);
}

// Copies the rest of the current match; true when the chunk filled up,
// leaving copyLeft at the bytes still owed to the next chunk.
bool Lh5Decoder::copyMatch(int& r, int count, uint8_t* buffer) {
    if (copyLeft <= 0) return false;
    int n = std::min(copyLeft, count - r);
    copyInWindow(buffer, r, copyPos, n);
    r += n;
    copyPos = (copyPos + n) & (WINDOW_SIZE - 1);
    copyLeft -= n;
    return r == count;
}

void Lh5Decoder::decodeChunk(int count, uint8_t* buffer) {
    int r = 0;
    if (copyMatch(r, count, buffer)) return;
    for (;;) {
        if (blockCodesLeft == 0 && !startBlock()) return;
        blockCodesLeft--;
        int c = decodeSymbol(codeTable, CODE_TABLE_BITS, CODE_SYMBOLS, codeLengths);
        if (c <= 255) {
            buffer[r++] = uint8_t(c);
            if (r == count) return;
            continue;
        }
        copyLeft = c - 253;
        uint32_t p = uint32_t(decodeSymbol(auxTable, AUX_TABLE_BITS, POSITION_SYMBOLS, auxLengths));
        if (p != 0) p = (1u << (p - 1)) + getBits(int(p - 1));
        copyPos = int32_t((uint32_t(r) - p - 1) & (WINDOW_SIZE - 1));
        if (copyMatch(r, count, buffer)) return;
    }
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
    decoder->begin(image + dataStart, int32_t(packedLeft), unpacked, int32_t(unpackedSize));
    uint16_t crc = 0;
    for (uint32_t remaining = unpackedSize; remaining != 0;) {
        int n = remaining < uint32_t(Lh5Decoder::CHUNK_SIZE) ? int(remaining) : Lh5Decoder::CHUNK_SIZE;
        decoder->decodeChunk(n, decoder->window);
        if (decoder->failed) break;
        int copy = n < decoder->outputLeft ? n : decoder->outputLeft;
        std::memcpy(decoder->output, decoder->window, size_t(copy));
        crc = lhaCrc16(decoder->window, size_t(copy), crc);
        decoder->output += copy;
        decoder->outputLeft -= copy;
        remaining -= uint32_t(n);
    }
    bool failed = decoder->failed != 0 || crc != expectedCrc;
    delete decoder;
    if (failed) {
        std::free(unpacked);
        return LH5_BAD_DATA;
    }
    *result = unpacked;
    *resultSize = unpackedSize;
    return LH5_OK;
}
