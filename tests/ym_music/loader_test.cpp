#include <gtest/gtest.h>

#include <cstring>

#include "tests/ym_music/music_test_support.h"

namespace {

std::vector<YmFrame16> numberedFrames(int count) {
    std::vector<YmFrame16> frames;
    for (int i = 0; i < count; i++) {
        YmFrame16 f;
        for (int r = 0; r < 16; r++) f[size_t(r)] = uint8_t(i * 16 + r);
        frames.push_back(f);
    }
    return frames;
}

YmTrackerSong oneVoiceTracker() {
    YmTrackerSong song;
    song.samples = {{{0, 128, 255}, 0}};
    song.lines = {0, 63, 0x01, 0x00, 255, 10, 0, 0};
    return song;
}

YmMixSong twoBlockMix() {
    YmMixSong song;
    song.sampleData = {0x00, 0xFF, 0x10, 0x20};
    song.blocks = {{0, 2, 31, 8000}, {2, 2, 32, 8000}};
    return song;
}

}  // namespace

TEST(YmLoader, OldRegisterFormatsGetDefaultsAndFrameOrder) {
    YmBytes image = {'Y', 'M', '2', '!'};
    for (int i = 0; i < 14 * 3; i++) image.push_back(uint8_t(100 + i));
    bool loaded = false;
    auto music = loadSong(image, &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    EXPECT_EQ(music->songKind, KIND_YM2);
    EXPECT_EQ(music->frameCount, 3);
    EXPECT_EQ(music->frameBytes, 14);
    EXPECT_EQ(music->playerRate, 50);
    EXPECT_EQ(music->chip.masterClock, 2000000u);
    EXPECT_EQ(music->attributes, 0u);
    EXPECT_STREQ(music->title, "Unknown");
    EXPECT_STREQ(music->comment, "Converted by Varnoli.");
    EXPECT_STREQ(music->formatLabel, "YM 2");
    EXPECT_STREQ(music->driverLabel, "YM-Chip driver");
    // Frame 1 is the bytes at offsets 5, 8, 11, ... of the image.
    for (int r = 0; r < 14; r++) EXPECT_EQ(music->frameData[14 + r], image[size_t(5 + 3 * r)]) << r;

    // The loop frame of "YM3b" is little-endian.
    music = loadSong(writeOldRegisterSong("YM3b", composeOldTune(20), 16), &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    EXPECT_EQ(music->songKind, KIND_YM3);
    EXPECT_EQ(music->frameCount, 20);
    EXPECT_EQ(music->loopFrame, 16);
    EXPECT_STREQ(music->comment, "");
    EXPECT_STREQ(music->formatLabel, "YM 3b (loop)");
}

TEST(YmLoader, TagAndCheckStringDecideTheFormat) {
    YmRegisterSong song;
    song.frames = numberedFrames(2);
    YmBytes image = writeRegisterSong(song);
    std::memcpy(&image[4], "VaRnOlI?", 8);
    EXPECT_EQ(refusal(image), "Not a valid YM format !");
    std::memcpy(&image[4], "VARNOLI!", 8);
    EXPECT_EQ(refusal(image), "Not a valid YM format !");
    std::memcpy(&image[0], "YMT1", 4);
    EXPECT_EQ(refusal(image), "Not a valid YM format !");
    std::memcpy(&image[0], "YM7!", 4);
    EXPECT_EQ(refusal(image), "Unknow YM format !");

    // "YM4!" is refused before anything else is looked at.
    EXPECT_EQ(refusal({'Y', 'M', '4', '!', 'x'}), "No more YM4! support. Use YM5! format.");
}

TEST(YmLoader, RegisterSongFramesAreBroughtIntoFrameOrder) {
    YmRegisterSong song;
    song.tag = "YM6!";
    song.frames = numberedFrames(5);
    song.attributes = 0;
    song.extraData = {1, 2, 3};
    song.masterClock = 1773400;
    song.playerRate = 60;
    song.loopFrame = 4;
    song.texts = {"Title", "Author", "Comment"};
    bool loaded = false;
    auto plain = loadSong(writeRegisterSong(song), &loaded);
    ASSERT_TRUE(loaded) << plain->lastError;
    EXPECT_EQ(plain->songKind, KIND_YM6);
    EXPECT_EQ(plain->chip.masterClock, 1773400u);
    EXPECT_EQ(plain->playerRate, 60);
    EXPECT_EQ(plain->loopFrame, 4);
    EXPECT_STREQ(plain->author, "Author");
    EXPECT_STREQ(plain->formatLabel, "YM 6");

    song.tag = "YM5!";
    song.attributes = ATTR_INTERLEAVED;
    auto interleaved = loadSong(writeRegisterSong(song), &loaded);
    ASSERT_TRUE(loaded) << interleaved->lastError;
    EXPECT_EQ(interleaved->songKind, KIND_YM5);
    EXPECT_EQ(std::memcmp(interleaved->frameData, plain->frameData, 5 * 16), 0);
    EXPECT_EQ(interleaved->frameData[3 * 16 + 7], 3 * 16 + 7);
}

TEST(YmLoader, DigidrumsAreCopiedAndFourBitLevelsConverted) {
    YmRegisterSong song;
    song.frames = numberedFrames(1);
    YmBytes levels;
    for (int i = 0; i < 16; i++) levels.push_back(uint8_t(0xF0 | i));  // high nibble ignored
    song.drums = {{1, 2, 3}, {}, levels};
    song.attributes = ATTR_4BIT_DRUMS | ATTR_INTERLEAVED;
    bool loaded = false;
    auto music = loadSong(writeRegisterSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    ASSERT_EQ(music->drumCount, 3);
    EXPECT_EQ(music->drums[1].size, 0u);
    EXPECT_EQ(music->drums[1].samples, nullptr);
    ASSERT_EQ(music->drums[2].size, 16u);
    const uint8_t expected[16] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 8, 11, 16, 24, 34, 55, 85};
    EXPECT_EQ(std::memcmp(music->drums[2].samples, expected, 16), 0);
    EXPECT_EQ(music->drums[0].samples[0], 0);  // converted as well: level 1 gives 0
    EXPECT_EQ(music->attributes & ATTR_4BIT_DRUMS, 0u);
    EXPECT_STREQ(music->title, "Test song");  // the empty drum skipped no bytes
}

TEST(YmLoader, TrackerSongsGetSamplesVolumeTableAndLineOrder) {
    YmTrackerSong song = oneVoiceTracker();
    song.samples = {{{1, 2, 3, 4}, 0}, {{5, 6}, 0}};
    bool loaded = false;
    auto music = loadSong(writeTrackerSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    EXPECT_EQ(music->songKind, KIND_TRACKER);
    EXPECT_EQ(music->drums[0].repeatLength, 4u);  // "YMT1": the whole sample
    EXPECT_STREQ(music->formatLabel, "YM-T1");
    EXPECT_STREQ(music->driverLabel, "Universal Tracker");
    EXPECT_EQ(music->trackerVolumeTable[63][0], -32256);
    EXPECT_EQ(music->trackerVolumeTable[63][255], 32004);
    EXPECT_EQ(music->trackerVolumeTable[63][128], 0);
    for (int s = 0; s < 256; s++) EXPECT_EQ(music->trackerVolumeTable[0][s], 0);

    // "YMT2": repeat lengths clamp, the top nibble is the frequency shift.
    song.tag = "YMT2";
    song.voiceCount = 2;
    song.samples = {{{1, 2, 3, 4}, 9}, {{5, 6}, 1}};
    song.lines = {0, 63, 1, 0, 1, 63, 2, 0, /* line 1 */ 255, 1, 3, 4, 1, 2, 5, 6};
    song.attributes = 0x30000001;
    music = loadSong(writeTrackerSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    EXPECT_EQ(music->trackerFrequencyShift, 3u);
    EXPECT_EQ(music->attributes, 0u);
    EXPECT_EQ(music->drums[0].repeatLength, 4u);
    EXPECT_EQ(music->drums[1].repeatLength, 1u);
    EXPECT_EQ(music->trackerVolumeTable[63][255], 16002);  // two voices share the range
    EXPECT_EQ(std::memcmp(music->frameData, song.lines.data(), song.lines.size()), 0);
}

TEST(YmLoader, MixSongsClampRepeatsAndStoreSignedSamples) {
    YmMixSong song = twoBlockMix();
    song.blocks.push_back({0, 4, 1000, 8000});
    bool loaded = false;
    auto music = loadSong(writeMixSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastError;
    EXPECT_EQ(music->songKind, KIND_MIX);
    ASSERT_EQ(music->mixBlockCount, 3);
    EXPECT_EQ(music->mixBlocks[0].repeatCount, 31);
    EXPECT_EQ(music->mixBlocks[1].repeatCount, 32);
    EXPECT_EQ(music->mixBlocks[2].repeatCount, 32);
    EXPECT_EQ(music->mixBlocks[2].replayFrequency, 8000);
    EXPECT_EQ(music->mixSamples[0], 0x80);
    EXPECT_EQ(music->mixSamples[1], 0x7F);
    EXPECT_EQ(music->attributes, uint32_t(ATTR_SIGNED_SAMPLES));
    EXPECT_EQ(music->currentMixBlock, -1);
    EXPECT_STREQ(music->driverLabel, "Digi-Mix driver");

    song.signedSamples = true;
    music = loadSong(writeMixSong(song), &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(music->mixSamples[1], 0xFF);
}

TEST(YmLoader, UnplayableSongsAreRefusedWithTheirReason) {
    auto ym5 = [](auto change) {
        YmRegisterSong song;
        song.frames = numberedFrames(3);
        change(song);
        return writeRegisterSong(song);
    };
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.frames.clear(); })), "Invalid frame count !");
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.playerRate = 0; })), "Invalid player rate !");
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.playerRate = 44101; })), "Invalid player rate !");
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.playerRate = 44100; })), "(loaded)");
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.loopFrame = 3; })), "Invalid loop frame !");
    EXPECT_EQ(refusal(ym5([](YmRegisterSong& s) { s.loopFrame = 0xFFFFFFFF; })), "Invalid loop frame !");
    EXPECT_EQ(refusal(writeOldRegisterSong("YM3b", composeOldTune(4), 4)), "Invalid loop frame !");
    EXPECT_EQ(refusal({'Y', 'M', '3', '!', 1, 2, 3}), "Invalid frame count !");
    EXPECT_EQ(refusal({}), "Truncated YM file !");

    auto tracker = [](auto change) {
        YmTrackerSong song = oneVoiceTracker();
        change(song);
        return writeTrackerSong(song);
    };
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) { s.voiceCount = 0; })), "Invalid tracker voice count !");
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) {
                  s.voiceCount = 9;
                  s.lines.assign(36, 0);
              })),
              "Invalid tracker voice count !");
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) { s.lines[0] = 1; })), "Invalid tracker sample !");
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) { s.samples.push_back({{}, 0}), s.lines[0] = 1; })),
              "Invalid tracker sample !");
    // A silent line may name anything; the loop line is never played from.
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) { s.lines[0] = 7, s.lines[2] = 0; })), "(loaded)");
    EXPECT_EQ(refusal(tracker([](YmTrackerSong& s) { s.loopFrame = 0xFFFFFFFF; })), "(loaded)");

    auto mix = [](auto change) {
        YmMixSong song = twoBlockMix();
        change(song);
        return writeMixSong(song);
    };
    EXPECT_EQ(refusal(mix([](YmMixSong& s) { s.blocks.clear(); })), "No digi-mix block !");
    EXPECT_EQ(refusal(mix([](YmMixSong& s) { s.blocks[1].frequency = 0; })), "Invalid digi-mix replay frequency !");
    EXPECT_EQ(refusal(mix([](YmMixSong& s) { s.blocks[1].length = 0; })), "Invalid digi-mix block !");
    EXPECT_EQ(refusal(mix([](YmMixSong& s) { s.blocks[1].length = 3; })), "Invalid digi-mix block !");
    EXPECT_EQ(refusal(mix([](YmMixSong& s) { s.blocks[1].start = 0xFFFFFFFF; })), "Invalid digi-mix block !");
    EXPECT_EQ(refusal(mix([](YmMixSong& s) {
                  s.sampleData.resize(1 << 20);
                  s.blocks[1].length = 1 << 20;
                  s.blocks[1].start = 0;
              })),
              "Invalid digi-mix block !");
}

// Every prefix of a valid song that lacks part of what its header promises is
// refused; run under the sanitizers this also proves no read leaves the image.
TEST(YmLoader, CutFilesAreRefusedAtEveryLength) {
    YmRegisterSong ym5;
    ym5.frames = numberedFrames(3);
    ym5.drums = {{1, 2, 3}};
    ym5.extraData = {9, 9};
    YmTrackerSong ymt = oneVoiceTracker();
    ymt.tag = "YMT2";
    const YmBytes songs[] = {writeRegisterSong(ym5), writeTrackerSong(ymt), writeMixSong(twoBlockMix())};
    const size_t trailer[] = {4, 0, 0};  // the "End!" mark is never read
    for (size_t k = 0; k < 3; k++) {
        const YmBytes& whole = songs[k];
        EXPECT_EQ(refusal(whole), "(loaded)") << k;
        for (size_t size = 0; size < whole.size() - trailer[k]; size++) {
            std::string text = refusal(YmBytes(whole.begin(), whole.begin() + long(size)));
            EXPECT_TRUE(text == "Truncated YM file !" || text == "Not a valid YM format !")
                << "song " << k << " cut to " << size << ": " << text;
        }
    }
}

// Releasing twice is safe (refusal() does it after every refusal); what the
// song held is gone, so it plays silence.
TEST(YmLoader, ReleasedSongIsSilent) {
    YmRegisterSong song;
    song.frames = composeTune(2);
    song.drums = {{1, 2}, {3}};
    auto music = loadedSong(writeRegisterSong(song));
    music->release();
    music->release();
    std::vector<int16_t> buffer(200, 7);
    music->renderAudio(buffer.data(), 100);
    EXPECT_EQ(buffer, std::vector<int16_t>(200, 0));
}
