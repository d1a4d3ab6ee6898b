#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/ym/music_test_support.h"
#include "lh5/lh5_decoder.h"

namespace {

void putLe32(YmBytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

// A level-0 "-lh5-" archive around a hand-made stream (member CRC 0).
YmBytes archiveAround(const YmBytes& packed, uint32_t unpackedSize) {
    YmBytes out = {22, 0, '-', 'l', 'h', '5', '-'};
    putLe32(out, uint32_t(packed.size()));
    putLe32(out, unpackedSize);
    putLe32(out, 0);                   // time stamp
    out.insert(out.end(), {0x20, 0});  // attribute, header level
    out.insert(out.end(), {1, 'a', 0, 0});
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

}  // namespace

// Archives that load are checked with the shipped song below; these do not.
TEST(YmDepack, ArchivesThatDoNotUnpackAreRefusedWithTheirReason) {
    // One length-code length of 1 leaves half the code space empty.
    YmBytes broken = archiveAround({0x00, 0x01, 0x09, 0, 0, 0}, 100);
    EXPECT_EQ(refusal(broken), "LH5 Depacking Error !");
    broken[20] = 1;  // header level
    EXPECT_EQ(refusal(broken), "LHARC Header must be 0 !");
    // An empty member unpacks to an empty image, which the loader refuses.
    EXPECT_EQ(refusal(archiveAround({}, 0)), "Truncated YM file !");
}

// The song an archive holds: its unpacked member, or nothing.
YmBytes member(const YmBytes& archive) {
    uint8_t* unpacked = nullptr;
    uint32_t size = 0;
    if (lh5UnpackArchive(archive.data(), uint32_t(archive.size()), &unpacked, &size) != LH5_OK) return {};
    YmBytes bytes(unpacked, unpacked + size);
    std::free(unpacked);
    return bytes;
}

// The shipped archive damaged the way files get damaged. Every cut that loses
// a byte of the member fails, and a refused song stays silent. A flipped bit
// loads only where it leaves the song as it was: in header fields that nothing
// reads (header checksum, time stamp, attribute, name, end mark), in the
// padding of the last packed byte, or in counts and match distances that,
// changed, still describe the same bytes. The exception is the CRC-16's
// one-in-65,536 miss: one flip in this sample (bit 60336) makes a different
// member with the same CRC.
TEST(YmDepack, DamagedShippedArchiveDoesNotLoad) {
    std::ifstream in(SHIPPED_SONG, std::ios::binary);
    YmBytes archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (archive.empty()) GTEST_SKIP() << "no music resource";
    ASSERT_TRUE(loadedSong(archive)->isLoaded());
    const YmBytes original = member(archive);

    for (size_t size = 0; size < archive.size() - 1; size++) {
        bool loaded = true;
        auto music = loadSong(YmBytes(archive.begin(), archive.begin() + long(size)), &loaded);
        ASSERT_FALSE(loaded) << "cut to " << size;
        std::vector<int16_t> out(200, 7);
        music->renderAudio(out.data(), 100);
        ASSERT_EQ(out, std::vector<int16_t>(200, 0)) << "a refused song stays silent";
    }
    // Every bit of the header, then every 29th.
    size_t headerBits = 8u * (24u + archive[21]);
    int accepted = 0, changed = 0;
    for (size_t bit = 0; bit < 8 * archive.size(); bit += bit < headerBits ? 1 : 29) {
        YmBytes damaged = archive;
        damaged[bit / 8] ^= uint8_t(1u << (bit % 8));
        bool loaded = false;
        auto music = loadSong(damaged, &loaded);
        if (!loaded) continue;
        accepted++;
        if (member(damaged) != original) changed++;
    }
    EXPECT_LE(changed, 1);
    EXPECT_LT(accepted, 150);
}
