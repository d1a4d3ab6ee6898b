#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

#include "tests/lh5/lh5_test_support.h"
#include "tools/lh5/huffman_lengths.h"
#include "tools/lh5/lh5_encoder.h"
#include "ym/lh5_decoder.h"

namespace {

struct Input {
    const char* name;
    Bytes data;
};

std::vector<Input> variedInputs() {
    Bytes farRepeat = randomBytes(8191, 11);  // repeats exactly at the longest distance
    Bytes twice = farRepeat;
    twice.insert(twice.end(), farRepeat.begin(), farRepeat.end());
    return {
        {"empty", {}},
        {"one byte", {'A'}},
        {"one byte repeated", Bytes(100000, 0x55)},
        {"text", textLike(30000, 5)},
        {"repetitive", repetitive(300000)},
        {"random", randomBytes(100000, 6)},
        {"register dump", ymLike(13000, 7)},
        {"repeat at the window's edge", twice},
    };
}

uint32_t little32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(Lh5Packer, WritesALevel0ArchiveThatOurDecoderUnpacks) {
    for (const Input& input : variedInputs()) {
        SCOPED_TRACE(input.name);
        Bytes archive = lh5PackArchive(input.data, "song.ym");
        ASSERT_GE(archive.size(), 32u);
        EXPECT_EQ(29, archive[0]);
        uint8_t sum = 0;
        for (size_t i = 2; i < 31; i++) sum = uint8_t(sum + archive[i]);
        EXPECT_EQ(sum, archive[1]);
        EXPECT_EQ(0, std::memcmp(archive.data() + 2, "-lh5-", 5));
        EXPECT_EQ(archive.size() - 32, little32(archive, 7));
        EXPECT_EQ(input.data.size(), little32(archive, 11));
        EXPECT_EQ(0x20, archive[19]);
        EXPECT_EQ(0, archive[20]);
        EXPECT_EQ(0, std::memcmp(archive.data() + 22, "song.ym", 7));
        EXPECT_EQ(0, archive.back());
        Unpacked out = unpack(archive);
        ASSERT_EQ(LH5_OK, out.status);
        EXPECT_TRUE(out.data == input.data);
        EXPECT_TRUE(lh5PackArchive(input.data, "song.ym") == archive) << "same input, same bytes";
    }
}

TEST(Lh5Packer, LhasaListsTestsAndExtractsWhatItWrites) {
    std::string dir = scratchDir();
    ASSERT_FALSE(dir.empty());
    for (const Input& input : variedInputs()) {
        SCOPED_TRACE(input.name);
        ASSERT_TRUE(writeFile(dir + "/a.lzh", lh5PackArchive(input.data, "member.bin")));
        EXPECT_TRUE(runCommand("cd " + dir + " && lhasa l a.lzh | grep -q member.bin"));
        EXPECT_TRUE(runCommand("cd " + dir + " && lhasa tq a.lzh"));
        ASSERT_TRUE(runCommand("cd " + dir + " && lhasa pq a.lzh > out.bin"));
        EXPECT_TRUE(readFile(dir + "/out.bin") == input.data);
    }
    runCommand("rm -rf " + dir);
}

TEST(Lh5Packer, CompressesWithinFivePercentOfJlha) {
    const Input inputs[] = {
        {"text", textLike(60000, 8)},
        {"repetitive", repetitive(200000)},
        {"random", randomBytes(50000, 9)},
        {"few letters", randomLetters(80000, 10, 20)},
        {"register dump", ymLike(13000, 12)},
    };
    for (const Input& input : inputs) {
        SCOPED_TRACE(input.name);
        size_t ours = lh5PackArchive(input.data, "member.bin").size();
        size_t theirs = packWithJlha(input.data, "member.bin").size();
        ASSERT_GT(theirs, 0u);
        std::cout << "  " << input.name << ": " << input.data.size() << " bytes, ours " << ours << ", jlha " << theirs
                  << "\n";
        EXPECT_LE(ours * 100, theirs * 105);
    }
}

// The decoder takes only codes of at most 16 bits that fill the code space.
TEST(Lh5Packer, HuffmanLengthsAreLimitedAndFillTheCodeSpace) {
    std::vector<uint32_t> fibonacci(30);
    fibonacci[0] = fibonacci[1] = 1;
    for (size_t i = 2; i < fibonacci.size(); i++) fibonacci[i] = fibonacci[i - 1] + fibonacci[i - 2];
    std::vector<uint32_t> sparse(510, 0);
    for (size_t i = 0; i < sparse.size(); i += 7) sparse[i] = uint32_t(1 + (i * i) % 1000);
    for (const auto& frequencies : {fibonacci, sparse, std::vector<uint32_t>{5, 0, 1}}) {
        std::vector<uint8_t> lengths = huffmanLengths(frequencies, 16);
        uint64_t space = 0;
        for (size_t s = 0; s < lengths.size(); s++) {
            EXPECT_EQ(frequencies[s] == 0, lengths[s] == 0);
            EXPECT_LE(lengths[s], 16);
            if (lengths[s]) space += 1u << (16 - lengths[s]);
        }
        EXPECT_EQ(65536u, space);
    }
    std::vector<uint8_t> single = huffmanLengths({0, 0, 9, 0}, 16);
    EXPECT_TRUE(single == std::vector<uint8_t>(4, 0)) << "one used symbol goes out as a count-0 description";
}

TEST(Lh5Packer, CrcIsTheLhaOne) {
    const char* check = "123456789";
    EXPECT_EQ(0xBB3D, lhaCrc16(reinterpret_cast<const uint8_t*>(check), 9));
}
