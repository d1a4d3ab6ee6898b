#pragma once
// Unpacking of a one-member level-0 LHA archive packed with "-lh5-": LZSS over
// an 8 KiB window with static Huffman codes sent at the head of every block.
// Everything works in memory; the archive's checksums are never looked at.
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
// The image is never freed or changed here.
Lh5Status lh5UnpackArchive(const uint8_t* image, uint32_t imageSize, uint8_t** result, uint32_t* resultSize);

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

    // Points the decoder at a packed stream and primes the bit buffer.
    void begin(const uint8_t* packed, int32_t packedSize, uint8_t* result, int32_t resultSize);

    void fillBits(int n);
    uint32_t getBits(int n);
    void buildTable(int symbolCount, const uint8_t* lengths, int width, uint16_t* table);
    void readAuxLengths(int symbolCount, int sizeBits, int specialIndex);
    void readCodeLengths();
    void decodeChunk(int count, uint8_t* buffer);

private:
    uint32_t fetchByte();
    int decodeSymbol(const uint16_t* table, int width, int symbolCount, const uint8_t* lengths);
    bool startBlock();
    void setSingleSymbol(int symbol, int symbolCount, uint8_t* lengths, uint16_t* table, int width);
    bool copyMatch(int& r, int count, uint8_t* buffer);
};
