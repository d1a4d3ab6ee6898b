#include <gtest/gtest.h>

#include "tests/ym_music/music_test_support.h"

namespace {

void putLe32(YmBytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

// A level-0 "-lh5-" archive around a hand-made stream.
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

YmBytes shortSong() {
    YmRegisterSong song;
    song.frames = composeTune(200);
    return writeRegisterSong(song);
}

}  // namespace

TEST(YmDepack, PlainImagesPassThroughUntouched) {
    YmBytes image = shortSong();
    auto music = musicHolding(image);
    music->fileSize = 1234;  // whatever the caller said stays
    uint8_t* before = music->fileData;
    EXPECT_EQ(music->depack(uint32_t(image.size())), before);
    EXPECT_EQ(music->fileSize, 1234);
    EXPECT_STREQ(music->lastError, "");
}

TEST(YmDepack, ArchivesUnpackOrFailWithTheirReason) {
    YmBytes song = shortSong();
    YmBytes archive = packWithArchiver(song);
    if (archive.empty()) GTEST_SKIP() << "jlha is not available";
    ASSERT_LT(archive.size(), song.size());

    auto music = musicHolding(archive);
    music->fileData = music->depack(uint32_t(archive.size()));
    ASSERT_NE(music->fileData, nullptr) << music->lastError;
    ASSERT_EQ(music->fileSize, int32_t(song.size()));
    EXPECT_EQ(YmBytes(music->fileData, music->fileData + song.size()), song);
    EXPECT_EQ(music->parseFile(), 1) << music->lastError;

    YmBytes levelOne = archive;
    levelOne[20] = 1;
    music = musicHolding(levelOne);
    music->fileData = music->depack(uint32_t(levelOne.size()));
    EXPECT_EQ(music->fileData, nullptr);
    EXPECT_EQ(music->fileSize, -1);
    EXPECT_STREQ(music->lastError, "LHARC Header must be 0 !");

    // One length-code length of 1 leaves half the code space empty.
    YmBytes badTable = archiveAround({0x00, 0x01, 0x09, 0, 0, 0}, 100);
    music = musicHolding(badTable);
    music->fileData = music->depack(uint32_t(badTable.size()));
    EXPECT_EQ(music->fileData, nullptr);
    EXPECT_EQ(music->fileSize, 100);
    EXPECT_STREQ(music->lastError, "LH5 Depacking Error !");

    // An empty member unpacks to an empty image, which the loader refuses.
    EXPECT_EQ(refusal(archiveAround({}, 0)), "Truncated YM file !");
}
