#include <gtest/gtest.h>

#include <iostream>

#include "tests/lh5/lh5_test_support.h"
#include "lh5/huffman_lengths.h"
#include "lh5/lh5_encoder.h"
#include "lh5/lh5_decoder.h"

namespace {

std::vector<std::pair<const char*, Bytes>> variedInputs() {
    Bytes farRepeat = randomBytes(8191, 11);  // repeats at the longest distance
    farRepeat.insert(farRepeat.end(), farRepeat.begin(), farRepeat.end());
    return {{"empty", {}},
            {"one byte", {'A'}},
            {"one byte repeated", Bytes(100000, 0x55)},
            {"text", textLike(30000, 5)},
            {"repetitive", repetitive(300000)},
            {"random", randomBytes(100000, 6)},
            {"register dump", ymLike(13000, 7)},
            {"repeat at the window's edge", farRepeat}};
}

}  // namespace

// lhasa reads the header and checks the member's CRC; our decoder unpacks it too.
TEST(Lh5Packer, WritesDeterministicArchivesThatLhasaAndOurDecoderUnpack) {
    for (const auto& input : variedInputs()) {
        SCOPED_TRACE(input.first);
        const Bytes archive = lh5PackArchive(input.second, "member.bin");
        EXPECT_TRUE(lh5PackArchive(input.second, "member.bin") == archive) << "same input, same bytes";
        Bytes extracted = runInScratch({{"a.lzh", archive}},
                                       "lhasa l a.lzh | grep -q member.bin && lhasa tq a.lzh && lhasa pq a.lzh > out",
                                       "out");
        EXPECT_TRUE(extracted == input.second);
        Unpacked out = unpack(archive);
        ASSERT_EQ(LH5_OK, out.status);
        EXPECT_TRUE(out.data == input.second);
    }
}

TEST(Lh5Packer, CompressesWithinFivePercentOfJlha) {
    const std::pair<const char*, Bytes> inputs[] = {{"text", textLike(60000, 8)},
                                                    {"repetitive", repetitive(200000)},
                                                    {"random", randomBytes(50000, 9)},
                                                    {"register dump", ymLike(13000, 12)}};
    for (const auto& input : inputs) {
        size_t ours = lh5PackArchive(input.second, "member.bin").size();
        size_t theirs = packWithJlha(input.second).size();
        std::cout << "  " << input.first << ": " << input.second.size() << " bytes, ours " << ours << ", jlha "
                  << theirs << "\n";
        ASSERT_GT(theirs, 0u);
        EXPECT_LE(ours * 100, theirs * 105) << input.first;
    }
}

// The decoder takes only codes of at most 16 bits that fill the code space.
TEST(Lh5Packer, HuffmanLengthsAreLimitedAndFillTheCodeSpace) {
    std::vector<uint32_t> fibonacci = {1, 1};
    while (fibonacci.size() < 30) fibonacci.push_back(fibonacci.end()[-1] + fibonacci.end()[-2]);
    std::vector<uint32_t> sparse(510, 0);
    for (size_t i = 0; i < sparse.size(); i += 7) sparse[i] = uint32_t(1 + (i * i) % 1000);
    for (const auto& frequencies : {fibonacci, sparse, std::vector<uint32_t>{5, 0, 1}}) {
        std::vector<uint8_t> lengths = huffmanLengths(frequencies, 16);
        uint32_t space = 0;
        for (size_t s = 0; s < lengths.size(); s++) {
            EXPECT_EQ(frequencies[s] == 0, lengths[s] == 0);
            EXPECT_LE(lengths[s], 16);
            if (lengths[s]) space += 1u << (16 - lengths[s]);
        }
        EXPECT_EQ(65536u, space);
    }
    EXPECT_TRUE(huffmanLengths({0, 0, 9, 0}, 16) == std::vector<uint8_t>(4, 0)) << "one symbol: a count-0 description";
}
