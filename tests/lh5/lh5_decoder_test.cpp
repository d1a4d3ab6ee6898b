#include <gtest/gtest.h>

#include <cstring>

#include "tests/lh5/lh5_test_support.h"
#include "ym/lh5_decoder.h"

namespace {

void expectLevel0Lh5(const Bytes& archive) {
    ASSERT_GT(archive.size(), 24u);
    EXPECT_EQ(0, std::memcmp(archive.data() + 2, "-lh5-", 5));
    EXPECT_EQ(0, archive[20]) << "header level";
}

size_t packedStart(const Bytes& archive) { return 24u + archive[21]; }

void lengthCodeCountZero(BitWriter& w, uint32_t symbol) {
    w.put(0, 5);
    w.put(symbol, 5);
}
void codeCountZero(BitWriter& w, uint32_t symbol) {
    w.put(0, 9);
    w.put(symbol, 9);
}
void positionCountZero(BitWriter& w, uint32_t symbol) {
    w.put(0, 4);
    w.put(symbol, 4);
}
// A length of the length-code or position description: 3 bits, or 7 and a unary tail.
void auxLength(BitWriter& w, int length) {
    if (length < 7) return w.put(uint32_t(length), 3);
    w.put(7, 3);
    for (int i = 7; i < length; i++) w.put(1, 1);
    w.put(0, 1);
}

}  // namespace

TEST(Lh5Decoder, UnpacksJlhaArchivesOfEveryKind) {
    Bytes repeatedRandom = randomBytes(8000, 7);
    Bytes twice = repeatedRandom;
    twice.insert(twice.end(), repeatedRandom.begin(), repeatedRandom.end());
    twice.insert(twice.end(), repeatedRandom.begin(), repeatedRandom.begin() + 3000);
    const struct {
        const char* name;
        Bytes data;
    } inputs[] = {
        {"tiny", repetitive(64)},
        {"text", textLike(5000, 1)},
        {"repetitive", repetitive(100000)},
        {"few letters over 64 KiB", randomLetters(70000, 2, 12)},
        {"register dump", ymLike(20000, 3)},
        {"matches across chunks", twice},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        Bytes archive = packWithJlha(input.data);
        expectLevel0Lh5(archive);
        Unpacked out = unpack(archive);
        ASSERT_EQ(LH5_OK, out.status);
        EXPECT_TRUE(out.data == input.data);
    }
}

TEST(Lh5Decoder, LeavesImagesThatAreNotPackedAlone) {
    Bytes plain = {'Y', 'M', '5', '!', 'L', 'e', 'O', 'n', 'A', 'r', 'D', '!', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bytes zeroFirst = wrapLevel0({1, 2, 3}, 3, 3);
    zeroFirst[0] = 0;
    Bytes otherMethod = wrapLevel0({1, 2, 3}, 3, 3);
    otherMethod[5] = '0';
    for (const Bytes& image : {plain, zeroFirst, otherMethod, Bytes{0x1b, 0, '-', 'l'}, Bytes()}) {
        uint8_t* result = reinterpret_cast<uint8_t*>(&plain);
        uint32_t size = 12345;
        EXPECT_EQ(LH5_NOT_PACKED, lh5UnpackArchive(image.data(), uint32_t(image.size()), &result, &size));
        EXPECT_EQ(nullptr, result);
        EXPECT_EQ(12345u, size);
    }
}

TEST(Lh5Decoder, RefusesHeadersItCannotTrust) {
    Bytes valid = wrapLevel0({}, 10, 0);
    Bytes level1 = valid, level2 = valid;
    level1[20] = 1;
    level2[20] = 2;
    EXPECT_EQ(LH5_BAD_HEADER_LEVEL, unpack(level1).status);
    EXPECT_EQ(LH5_BAD_HEADER_LEVEL, unpack(level2).status);

    Bytes shortHeader(valid.begin(), valid.begin() + 21);
    EXPECT_EQ(LH5_BAD_DATA, unpack(shortHeader).status);
    Bytes nameBeyondImage = valid;
    nameBeyondImage[21] = 200;
    EXPECT_EQ(LH5_BAD_DATA, unpack(nameBeyondImage).status);

    EXPECT_EQ(LH5_NO_MEMORY, unpack(wrapLevel0({}, LH5_MAX_UNPACKED_SIZE + 1, 0)).status);
    EXPECT_EQ(LH5_NO_MEMORY, unpack(wrapLevel0({}, 0xffffffffu, 0)).status);

    uint8_t* result = nullptr;
    uint32_t size = 99;
    Bytes empty = wrapLevel0({}, 0, 0);
    EXPECT_EQ(LH5_OK, lh5UnpackArchive(empty.data(), uint32_t(empty.size()), &result, &size));
    EXPECT_NE(nullptr, result);
    EXPECT_EQ(0u, size);
    std::free(result);
}

// The stream is min(packed size, bytes present) long and reads as zero bits after.
TEST(Lh5Decoder, ReadsMissingPackedBytesAsZeroBits) {
    Bytes text = textLike(20000, 4);
    Bytes archive = packWithJlha(text);
    expectLevel0Lh5(archive);
    size_t start = packedStart(archive);
    size_t packedSize = archive.size() - 1 - start;
    size_t kept = packedSize / 2;

    Bytes cut(archive.begin(), archive.begin() + long(start + kept));
    Bytes zeroFilled = archive;
    std::fill(zeroFilled.begin() + long(start + kept), zeroFilled.end(), 0);
    Bytes shortField = archive;  // packed size field says less than is there
    for (int i = 0; i < 4; i++) shortField[7 + i] = uint8_t(kept >> (8 * i));

    Unpacked fromCut = unpack(cut);
    ASSERT_EQ(LH5_OK, fromCut.status);
    ASSERT_EQ(text.size(), fromCut.data.size());
    EXPECT_TRUE(std::equal(text.begin(), text.begin() + 2000, fromCut.data.begin()));
    EXPECT_TRUE(fromCut.data != text);
    EXPECT_TRUE(unpack(zeroFilled).data == fromCut.data);
    EXPECT_TRUE(unpack(shortField).data == fromCut.data);

    // No packed byte at all: every description is a one-symbol code of symbol 0.
    Unpacked nothing = unpack(wrapLevel0({}, 10, 500));
    ASSERT_EQ(LH5_OK, nothing.status);
    EXPECT_TRUE(nothing.data == Bytes(10, 0));
}

TEST(Lh5Decoder, CountZeroDescriptionsConsumeNoBitsPerSymbol) {
    BitWriter w;
    w.put(3, 16);
    lengthCodeCountZero(w, 0);
    codeCountZero(w, 'Z');
    positionCountZero(w, 0);
    w.put(50002, 16);  // the next block header follows at once
    lengthCodeCountZero(w, 5);
    codeCountZero(w, 'Y');
    positionCountZero(w, 0);
    Unpacked out = unpack(wrapLevel0(w.bytes, 50005, uint32_t(w.bytes.size())));
    ASSERT_EQ(LH5_OK, out.status);
    Bytes expected(3, 'Z');
    expected.insert(expected.end(), 50002, 'Y');
    EXPECT_TRUE(out.data == expected);
}

// Literals cost 1 + 8 bits, a 256-byte match 8000 back costs 1 + 12 bits; the
// first match starts at 8000 and so runs across the first chunk's end.
TEST(Lh5Decoder, ContinuesAMatchAcrossTheChunkBoundary) {
    Bytes literals = randomBytes(8000, 9);
    const int matches = 3;
    BitWriter w;
    w.put(uint32_t(literals.size() + matches), 16);
    // Length code: symbol 2 (long zero run) "0", symbol 3 (length 1) "10", symbol 11 (length 9) "11".
    w.put(12, 5);
    auxLength(w, 0);
    auxLength(w, 0);
    auxLength(w, 1);
    w.put(0, 2);
    auxLength(w, 2);
    for (int i = 4; i < 11; i++) auxLength(w, 0);
    auxLength(w, 2);
    // Literal/length code: literals 0..255 of length 9, match symbol 509 (length 256) of length 1.
    w.put(510, 9);
    for (int i = 0; i < 256; i++) w.put(3, 2);
    w.put(0, 1);
    w.put(253 - 20, 9);
    w.put(2, 2);
    positionCountZero(w, 13);
    for (uint8_t b : literals) {
        w.put(1, 1);
        w.put(b, 8);
    }
    for (int i = 0; i < matches; i++) {
        w.put(0, 1);
        w.put(7999 - 4096, 12);
    }
    Bytes expected = literals;
    for (int i = 0; i < matches * 256; i++) expected.push_back(expected[expected.size() - 8000]);
    Unpacked out = unpack(wrapLevel0(w.bytes, uint32_t(expected.size()), uint32_t(w.bytes.size())));
    ASSERT_EQ(LH5_OK, out.status);
    EXPECT_TRUE(out.data == expected);
}

TEST(Lh5Decoder, RefusesCodeDescriptionsThatDoNotMakeACode) {
    auto validLengthCode = [](BitWriter& w) { lengthCodeCountZero(w, 2); };
    auto validCode = [](BitWriter& w) { codeCountZero(w, 'A'); };
    const struct {
        const char* name;
        void (*lengthCode)(BitWriter&);
        void (*code)(BitWriter&);
        void (*position)(BitWriter&);
    } cases[] = {
        {"length code count above 19", [](BitWriter& w) { w.put(20, 5); }, nullptr, nullptr},
        {"length code symbol outside", [](BitWriter& w) { lengthCodeCountZero(w, 19); }, nullptr, nullptr},
        {"over-full by the whole code space",
         [](BitWriter& w) {
             w.put(4, 5);
             for (int i = 0; i < 3; i++) auxLength(w, 1);
             w.put(0, 2);
             auxLength(w, 1);
         },
         nullptr, nullptr},
        {"all lengths zero",
         [](BitWriter& w) {
             w.put(4, 5);
             for (int i = 0; i < 3; i++) auxLength(w, 0);
             w.put(0, 2);
             auxLength(w, 0);
         },
         nullptr, nullptr},
        {"length above 16",
         [](BitWriter& w) {
             w.put(1, 5);
             auxLength(w, 17);
         },
         nullptr, nullptr},
        {"code count above 510", validLengthCode, [](BitWriter& w) { w.put(511, 9); }, nullptr},
        {"code symbol outside", validLengthCode, [](BitWriter& w) { codeCountZero(w, 510); }, nullptr},
        {"zero run past the end", validLengthCode, [](BitWriter& w) {
             w.put(510, 9);
             w.put(491, 9);
         },
         nullptr},
        {"position count above 14", validLengthCode, validCode, [](BitWriter& w) { w.put(15, 4); }},
        {"position symbol outside", validLengthCode, validCode, [](BitWriter& w) { positionCountZero(w, 14); }},
        {"under-full position code", validLengthCode, validCode,
         [](BitWriter& w) {
             w.put(2, 4);
             auxLength(w, 1);
             auxLength(w, 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BitWriter w;
        w.put(100, 16);
        c.lengthCode(w);
        if (c.code) c.code(w);
        if (c.position) c.position(w);
        EXPECT_EQ(LH5_BAD_DATA, unpack(wrapLevel0(w.bytes, 100, uint32_t(w.bytes.size()))).status);
    }
}
