#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/lh5/lh5_test_support.h"
#include "lh5/lh5_encoder.h"
#include "lh5/lha_crc16.h"
#include "lh5/lh5_decoder.h"

namespace {

void expectLevel0Lh5(const Bytes& archive) {
    ASSERT_GT(archive.size(), 24u);
    EXPECT_EQ(0, std::memcmp(archive.data() + 2, "-lh5-", 5));
    EXPECT_EQ(0, archive[20]) << "header level";
}

// A description of count 0: the one symbol, coded in no bits.
void countZero(BitWriter& w, int sizeBits, uint32_t symbol) {
    w.put(0, sizeBits);
    w.put(symbol, sizeBits);
}

// A length-code (5-bit count, two bits of zero run after the third length)
// or position (4-bit count) description.
void auxDescription(BitWriter& w, int sizeBits, const std::vector<int>& lengths) {
    w.put(uint32_t(lengths.size()), sizeBits);
    for (size_t i = 0; i < lengths.size(); i++) {
        if (lengths[i] < 7) {
            w.put(uint32_t(lengths[i]), 3);
        } else {
            w.put(7, 3);
            for (int k = 7; k < lengths[i]; k++) w.put(1, 1);
            w.put(0, 1);
        }
        if (sizeBits == 5 && i == 2) w.put(0, 2);
    }
}

}  // namespace

TEST(Lh5Decoder, UnpacksJlhaArchivesOfEveryKind) {
    Bytes repeated = randomBytes(8000, 7);
    repeated.insert(repeated.end(), repeated.begin(), repeated.end());
    const std::pair<const char*, Bytes> inputs[] = {
        {"tiny", repetitive(64)},
        {"text", textLike(5000, 1)},
        {"repetitive", repetitive(100000)},
        {"text over 64 KiB", textLike(70000, 2)},
        {"register dump", ymLike(20000, 3)},
        {"matches across chunks", repeated},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.first);
        Bytes archive = packWithJlha(input.second);
        expectLevel0Lh5(archive);
        Unpacked out = unpack(archive);
        ASSERT_EQ(LH5_OK, out.status);
        EXPECT_TRUE(out.data == input.second);
    }
}

TEST(Lh5Decoder, LeavesImagesThatAreNotPackedAlone) {
    Bytes plain(40, 'Y');
    Bytes zeroFirst = wrapLevel0({1, 2, 3}, 3, 3);
    zeroFirst[0] = 0;
    Bytes otherMethod = wrapLevel0({1, 2, 3}, 3, 3);
    otherMethod[5] = '0';
    for (const Bytes& image : {plain, zeroFirst, otherMethod, Bytes{0x1b, 0, '-', 'l'}, Bytes()}) {
        uint8_t* result = plain.data();
        uint32_t size = 12345;
        EXPECT_EQ(LH5_NOT_PACKED, lh5UnpackArchive(image.data(), uint32_t(image.size()), &result, &size));
        EXPECT_EQ(nullptr, result);
        EXPECT_EQ(12345u, size);
    }
}

TEST(Lh5Decoder, RefusesHeadersItCannotTrust) {
    Bytes valid = wrapLevel0({}, 10, 0);
    Bytes level1 = valid, level2 = valid, nameBeyondImage = valid;
    level1[20] = 1;
    level2[20] = 2;
    nameBeyondImage[21] = 200;
    EXPECT_EQ(LH5_BAD_HEADER_LEVEL, unpack(level1).status);
    EXPECT_EQ(LH5_BAD_HEADER_LEVEL, unpack(level2).status);
    EXPECT_EQ(LH5_BAD_DATA, unpack(Bytes(valid.begin(), valid.begin() + 21)).status);
    // The level byte is the 21st: an image that ends right after it is judged by it.
    EXPECT_EQ(LH5_BAD_HEADER_LEVEL, unpack(Bytes(level1.begin(), level1.begin() + 21)).status);
    EXPECT_EQ(LH5_BAD_DATA, unpack(Bytes(level1.begin(), level1.begin() + 20)).status);
    EXPECT_EQ(LH5_BAD_DATA, unpack(nameBeyondImage).status);
    EXPECT_EQ(LH5_NO_MEMORY, unpack(wrapLevel0({}, LH5_MAX_UNPACKED_SIZE + 1, 0)).status);
    EXPECT_EQ(LH5_NO_MEMORY, unpack(wrapLevel0({}, 0xffffffffu, 0)).status);

    Bytes empty = wrapLevel0({}, 0, 0);
    uint8_t* result = nullptr;
    uint32_t size = 99;
    EXPECT_EQ(LH5_OK, lh5UnpackArchive(empty.data(), uint32_t(empty.size()), &result, &size));
    EXPECT_NE(nullptr, result);
    EXPECT_EQ(0u, size);
    std::free(result);
}

// A member that cannot be the one its header describes is refused: cut
// anywhere, missing bytes that its packed size leaves out, its stream's tail
// zeroed (the bits past the end would read as zeros), a CRC or a bit changed.
TEST(Lh5Decoder, RefusesDamagedMembers) {
    Bytes text = textLike(20000, 4);
    Bytes archive = packWithJlha(text);
    expectLevel0Lh5(archive);
    ASSERT_EQ(LH5_OK, unpack(archive).status);
    EXPECT_TRUE(unpack(Bytes(archive.begin(), archive.end() - 1)).data == text) << "the end mark is not needed";
    for (size_t size = 7; size < archive.size() - 1; size++) {
        ASSERT_EQ(LH5_BAD_DATA, unpack(Bytes(archive.begin(), archive.begin() + long(size))).status) << size;
    }

    size_t start = 24u + archive[21];
    size_t packed = archive.size() - 1 - start;
    Bytes shortField = archive;
    for (int i = 0; i < 4; i++) shortField[7 + i] = uint8_t((packed - 1) >> (8 * i));
    Bytes zeroTail = archive;
    std::fill(zeroTail.begin() + long(start + packed / 2), zeroTail.end(), 0);
    Bytes wrongCrc = archive;
    wrongCrc[start - 1] ^= 0x01;
    Bytes flipped = archive;
    flipped[start + packed / 3] ^= 0x10;
    for (const Bytes& damaged : {shortField, zeroTail, wrongCrc, flipped}) {
        EXPECT_EQ(LH5_BAD_DATA, unpack(damaged).status);
    }
    EXPECT_EQ(LH5_BAD_DATA, unpack(wrapLevel0({}, 10, 500)).status) << "no packed byte at all";
}

// Unix archivers write level-0 headers with extension bytes after the CRC,
// counted in the header size: the packed data starts behind them.
TEST(Lh5Decoder, SkipsLevel0HeaderExtensions) {
    Bytes text = textLike(5000, 3);
    Bytes archive = packWithJlha(text);
    expectLevel0Lh5(archive);
    // System 'U', version, time stamp, mode, user and group.
    const Bytes unixExtension = {'U', 0, 0x10, 0x20, 0x30, 0x40, 0xA4, 0x81, 0xE8, 0x03, 0xE8, 0x03};
    Bytes unixArchive = withExtension(archive, unixExtension);
    EXPECT_TRUE(runInScratch({{"a.lzh", unixArchive}}, "lhasa pq a.lzh > out", "out") == text)
        << "lhasa reads the archive as written";
    for (const Bytes& extension : {unixExtension, Bytes{'M'}, Bytes(200, 0xEE)}) {
        SCOPED_TRACE(extension.size());
        Unpacked out = unpack(withExtension(archive, extension));
        ASSERT_EQ(LH5_OK, out.status);
        EXPECT_TRUE(out.data == text);
    }
    // A header size that ends before the CRC or past the image is not followed.
    Bytes tooSmall = archive;
    tooSmall[0] = 5;
    EXPECT_TRUE(unpack(tooSmall).data == text);
    Bytes empty = wrapLevel0({}, 0, 0);
    empty[0] = 255;
    EXPECT_EQ(LH5_OK, unpack(empty).status);
}

TEST(Lh5Decoder, CountZeroDescriptionsConsumeNoBitsPerSymbol) {
    BitWriter w;
    for (uint32_t symbol : {'Z', 'Y'}) {  // the second block header follows the first at once
        w.put(symbol == 'Z' ? 3 : 50002, 16);
        countZero(w, 5, 0);
        countZero(w, 9, symbol);
        countZero(w, 4, 0);
    }
    Bytes expected(3, 'Z');
    expected.insert(expected.end(), 50002, 'Y');
    Unpacked out = unpack(archiveOf(w.bytes, expected));
    ASSERT_EQ(LH5_OK, out.status);
    EXPECT_TRUE(out.data == expected);

    // The two blocks fill 13 bytes exactly, so the look-ahead runs 16 bits
    // past the end. The last byte (the position description) is all zeros:
    // without it the zeros read past the end give the same member, but the
    // stream has then consumed bits it does not hold.
    ASSERT_EQ(13u, w.bytes.size());
    ASSERT_EQ(0, w.bytes.back());
    EXPECT_EQ(LH5_BAD_DATA, unpack(archiveOf(Bytes(w.bytes.begin(), w.bytes.end() - 1), expected)).status);
}

// Literals take 1 + 8 bits, a 256-byte match 8000 back 1 + 12 bits; the first
// match starts at 8000 and so runs across the end of the first chunk.
TEST(Lh5Decoder, ContinuesAMatchAcrossTheChunkBoundary) {
    Bytes expected = randomBytes(8000, 9);
    const int matches = 3;
    BitWriter w;
    w.put(uint32_t(expected.size() + matches), 16);
    // Length code: 2 (20+ zeros) is "0", 3 (length 1) "10", 11 (length 9) "11".
    auxDescription(w, 5, {0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 2});
    // Literals of length 9, then 233 + 20 zeros, then match symbol 509 (length 256) of length 1.
    w.put(510, 9);
    for (int i = 0; i < 256; i++) w.put(3, 2);
    w.put(0, 1);
    w.put(233, 9);
    w.put(2, 2);
    countZero(w, 4, 13);
    for (uint8_t b : expected) w.put(0x100 | b, 9);
    for (int i = 0; i < matches; i++) w.put(7999 - 4096, 13);
    for (int i = 0; i < matches * 256; i++) expected.push_back(expected[expected.size() - 8000]);
    Unpacked out = unpack(archiveOf(w.bytes, expected));
    ASSERT_EQ(LH5_OK, out.status);
    EXPECT_TRUE(out.data == expected);
}

TEST(Lh5Decoder, RefusesCodeDescriptionsThatDoNotMakeACode) {
    auto goodLengthCode = [](BitWriter& w) { countZero(w, 5, 2); };
    auto goodCodes = [](BitWriter& w) {
        countZero(w, 5, 2);
        countZero(w, 9, 'A');
    };
    const std::pair<const char*, std::function<void(BitWriter&)>> cases[] = {
        {"length code count above 19", [](BitWriter& w) { w.put(20, 5); }},
        {"length code symbol outside", [](BitWriter& w) { countZero(w, 5, 19); }},
        {"over-full by the whole code space", [](BitWriter& w) { auxDescription(w, 5, {1, 1, 1, 1}); }},
        {"all lengths zero", [](BitWriter& w) { auxDescription(w, 5, {0, 0, 0, 0}); }},
        {"length above 16", [](BitWriter& w) { auxDescription(w, 5, {17}); }},
        {"code count above 510", [&](BitWriter& w) { goodLengthCode(w), w.put(511, 9); }},
        {"code symbol outside", [&](BitWriter& w) { goodLengthCode(w), countZero(w, 9, 510); }},
        {"zero run past the end", [&](BitWriter& w) { goodLengthCode(w), w.put(510, 9), w.put(491, 9); }},
        {"position count above 14", [&](BitWriter& w) { goodCodes(w), w.put(15, 4); }},
        {"position symbol outside", [&](BitWriter& w) { goodCodes(w), countZero(w, 4, 14); }},
        {"under-full position code", [&](BitWriter& w) { goodCodes(w), auxDescription(w, 4, {1, 0}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        BitWriter w;
        w.put(100, 16);
        c.second(w);
        EXPECT_EQ(LH5_BAD_DATA, unpack(wrapLevel0(w.bytes, 100, uint32_t(w.bytes.size()))).status);
    }
}

// Damaged streams decode to what they always have: bit flips, cut streams and
// zeroed runs in one archive of our packer's, with the CRC of what the
// decoder made of each (with the check of the header's CRC left out) when it
// did not refuse it, -1 where it did. Where the archive's CRC is stamped with
// the pinned value, the member must come out with exactly that CRC; the
// others must stay refused. This holds every rewrite of the decoder to the
// bytes, the failures and the zero bits past the end of the one before.
TEST(Lh5Decoder, DamagedStreamsDecodeAsTheyAlwaysHave) {
    static const int PINNED[128] = {
        0xd1c0, -1, -1, -1,     0x94a6, -1, -1,     -1,     0x172d, -1, -1, -1,  //
        0x0401, -1, -1, -1,     -1,     -1, -1,     -1,     0xf2fb, -1, -1, -1,  //
        0xe4ee, -1, -1, -1,     0x1244, -1, -1,     0xbfa5, 0xaa62, -1, -1, -1,  //
        -1,     -1, -1, -1,     0x24f6, -1, -1,     -1,     0x1383, -1, -1, -1,  //
        0x5b53, -1, -1, -1,     0x61f3, -1, -1,     -1,     -1,     -1, -1, -1,  //
        -1,     -1, -1, -1,     0x3f71, -1, -1,     -1,     0x124a, -1, -1, -1,  //
        0x8836, -1, -1, -1,     0xa8dd, -1, -1,     0x5bb5, 0x9702, 0x8fef, -1, -1,  //
        0xdae6, -1, -1, -1,     0x73f3, -1, -1,     -1,     0xad5b, -1, -1, -1,  //
        -1,     -1, -1, 0x14cb, 0x85b2, -1, -1,     0x35cc, 0xb1cf, -1, -1, -1,  //
        0x85f2, -1, -1, 0x3647, -1,     -1, -1,     -1,     -1,     -1, -1, -1,  //
        0x00ca, -1, -1, -1,     0x7627, -1, -1,     -1};
    Bytes content = textLike(6000, 11);
    for (const Bytes& part : {ymLike(400, 12), randomBytes(1500, 13), repetitive(3000)}) {
        content.insert(content.end(), part.begin(), part.end());
    }
    Bytes archive = lh5PackArchive(content, "odd.bin");
    ASSERT_TRUE(unpack(archive).data == content);
    // The pins belong to this archive: a packer that writes another one needs
    // them taken again, from a decoder known to be right.
    ASSERT_EQ(4244u, archive.size());
    ASSERT_EQ(0xb5f2, lhaCrc16(archive.data(), archive.size()));
    for (uint32_t seed = 0; seed < 128; seed++) {
        const int pinned = PINNED[seed];
        Bytes damaged = damagedArchive(archive, seed, uint16_t(pinned < 0 ? 0 : pinned));
        EXPECT_EQ(pinned < 0 ? LH5_BAD_DATA : LH5_OK, unpack(damaged).status) << "seed " << seed;
    }
}

// The sliced CRC against its bit-at-a-time definition, at every length around
// the slice width and fed in two pieces split anywhere.
TEST(LhaCrc16, EqualsTheBitwiseDefinitionAtEveryLengthAndSplit) {
    auto bitwise = [](const Bytes& data) {
        uint16_t crc = 0;
        for (uint8_t b : data) {
            crc ^= b;
            for (int bit = 0; bit < 8; bit++) crc = uint16_t((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
        }
        return crc;
    };
    EXPECT_EQ(0xBB3D, lhaCrc16(reinterpret_cast<const uint8_t*>("123456789"), 9)) << "the catalogued check value";
    Bytes data = randomBytes(70, 21);
    for (size_t size = 0; size <= data.size(); size++) {
        Bytes part(data.begin(), data.begin() + long(size));
        const uint16_t expected = bitwise(part);
        ASSERT_EQ(expected, lhaCrc16(part.data(), size)) << size;
        for (size_t split = 0; split <= size; split++) {
            ASSERT_EQ(expected, lhaCrc16(part.data() + split, size - split, lhaCrc16(part.data(), split))) << size;
        }
    }
}
