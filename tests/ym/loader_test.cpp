#include <gtest/gtest.h>

#include <cstring>

#include "tests/ym/music_test_support.h"

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
    ASSERT_TRUE(loaded) << music->lastErrorText();
    const YmSongInfo& info = music->info();
    EXPECT_EQ(info.kind, KIND_YM2);
    EXPECT_STREQ(info.tag, "YM2!");
    EXPECT_EQ(info.frameCount, 3);
    EXPECT_EQ(info.playerRate, 50);
    EXPECT_EQ(info.masterClock, 2000000u);
    EXPECT_EQ(info.length, 3 * FRAME_LENGTH);
    EXPECT_STREQ(info.title, "Unknown");
    EXPECT_STREQ(info.comment, "Converted by Varnoli.");
    EXPECT_STREQ(info.format, "YM 2");
    EXPECT_STREQ(info.driver, "YM-Chip driver");

    // Frame 1 is the bytes at offsets 5, 8, 11, ... of the image.
    std::memcpy(&image[0], "YM3!", 4);
    EXPECT_EQ(play(*loadedSong(image), 2 * FRAME_LENGTH), reference(2 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  uint8_t f[14];
                  for (int r = 0; r < 14; r++) f[r] = image[size_t(4 + n + 3 * r)];
                  writeFrame(chip, f);
              }));

    // The loop frame of "YM3b" is little-endian.
    music = loadSong(writeOldRegisterSong("YM3b", composeOldTune(20), 16), &loaded);
    ASSERT_TRUE(loaded) << music->lastErrorText();
    EXPECT_EQ(music->info().kind, KIND_YM3);
    EXPECT_EQ(music->info().frameCount, 20);
    EXPECT_EQ(music->info().loopFrame, 16);
    EXPECT_EQ(music->info().loopLength, 4 * FRAME_LENGTH);
    EXPECT_STREQ(music->info().comment, "");
    EXPECT_STREQ(music->info().format, "YM 3b (loop)");
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
    auto six = loadSong(writeRegisterSong(song), &loaded);
    ASSERT_TRUE(loaded) << six->lastErrorText();
    const YmSongInfo& info = six->info();
    EXPECT_EQ(info.kind, KIND_YM6);
    EXPECT_EQ(info.masterClock, 1773400u);
    EXPECT_EQ(info.playerRate, 60);
    EXPECT_EQ(info.loopFrame, 4);
    EXPECT_EQ(info.length, 5 * 735);
    EXPECT_EQ(info.loopLength, 735);
    EXPECT_STREQ(info.author, "Author");
    EXPECT_STREQ(info.format, "YM 6");

    // The same frames stored column by column sound the same.
    song.tag = "YM5!";
    auto plain = loadedSong(writeRegisterSong(song));
    song.attributes = ATTR_INTERLEAVED;
    auto interleaved = loadedSong(writeRegisterSong(song));
    EXPECT_EQ(interleaved->info().kind, KIND_YM5);
    EXPECT_EQ(play(*interleaved, 6 * 735), play(*plain, 6 * 735));
}

TEST(YmLoader, DigidrumsAreCopiedAndFourBitLevelsConverted) {
    // Drum 2 on voice C, then drum 0, each at t = 4 x 1.
    YmFrame16 drumTwo = frame16({{3, 0x30}, {8, 0x20}, {10, 0x02}, {13, 255}, {15, 1}});
    YmFrame16 drumZero = frame16({{3, 0x30}, {8, 0x20}, {10, 0x00}, {13, 255}, {15, 1}});
    YmRegisterSong song;
    song.frames = {drumTwo, drumZero};
    YmBytes levels;
    for (int i = 0; i < 16; i++) levels.push_back(uint8_t(0xF0 | i));  // high nibble ignored
    song.drums = {{1, 2, 3}, {}, levels};
    song.attributes = ATTR_4BIT_DRUMS | ATTR_INTERLEAVED;
    bool loaded = false;
    auto music = loadSong(writeRegisterSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastErrorText();
    EXPECT_EQ(music->info().drumCount, 3);
    EXPECT_STREQ(music->info().title, "Test song");  // the empty drum skipped no bytes
    const uint8_t expected[16] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 8, 11, 16, 24, 34, 55, 85};
    const uint8_t lowLevels[3] = {0, 0, 0};  // levels 1 to 3 are below one step of a drum byte
    EXPECT_EQ(play(*music, 2 * FRAME_LENGTH), reference(2 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  writeFrame(chip, song.frames[size_t(n)].data());
                  chip.startDigidrum(2, n == 0 ? expected : lowLevels, n == 0 ? 16 : 3, -30434);
              }));
}

TEST(YmLoader, TrackerSongsGetSamplesVolumeTableAndLineOrder) {
    // One byte a frame at volume 63 through bytes 0, 128, 255: the table's
    // ends. The last byte is held, then the voice ends; volume 0 is silent.
    YmTrackerSong song = oneVoiceTracker();
    song.lines = {0, 63, 0xAC, 0x44, 0, 0, 0xAC, 0x44};
    bool loaded = false;
    auto music = loadSong(writeTrackerSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastErrorText();
    EXPECT_EQ(music->info().kind, KIND_TRACKER);
    EXPECT_EQ(music->info().voiceCount, 1);
    EXPECT_STREQ(music->info().format, "YM-T1");
    EXPECT_STREQ(music->info().driver, "Universal Tracker");
    std::vector<int16_t> expected(2 * FRAME_LENGTH, 0);
    expected[0] = -32256;
    expected[2] = 32004;
    EXPECT_EQ(play(*music, 2 * FRAME_LENGTH), expected);

    // Two voices share the range: byte 255 at volume 63 is half as loud.
    song.voiceCount = 2;
    song.lines = {0, 63, 0xAC, 0x44, 0, 63, 0, 0};
    EXPECT_EQ(play(*loadedSong(writeTrackerSong(song)), 3)[2], 16002);

    // "YMT2": the top nibble is a frequency shift (3: eight times as fast),
    // the lines may be stored interleaved, and a repeat longer than its
    // sample is cut to the sample, so a looping voice goes round it all.
    YmTrackerSong fast;
    fast.tag = "YMT2";
    fast.voiceCount = 2;
    fast.samples = {{{1, 2, 3, 4, 200, 255, 9, 0}, 9}, {{5, 6}, 1}};
    fast.lines = {0, 63 | 0x40, 0x05, 0x00, 1, 63, 0, 0, /* line 1 */ 255, 50, 0x04, 0x00, 1, 40, 0x10, 0};
    fast.attributes = 0x30000001;
    YmTrackerSong slow = fast;
    slow.attributes = 0;
    slow.lines = {0, 63 | 0x40, 0x28, 0x00, 1, 63, 0, 0, 255, 50, 0x20, 0x00, 1, 40, 0x80, 0};
    std::vector<int16_t> out = play(*loadedSong(writeTrackerSong(fast)), 2 * FRAME_LENGTH);
    EXPECT_EQ(out, play(*loadedSong(writeTrackerSong(slow)), 2 * FRAME_LENGTH));
    EXPECT_NE(std::vector<int16_t>(out.begin() + 800, out.begin() + 880), std::vector<int16_t>(80, 0));
}

TEST(YmLoader, MixSongsClampRepeatsAndStoreSignedSamples) {
    YmMixSong song = twoBlockMix();
    song.blocks.push_back({0, 4, 1000, 8000});
    bool loaded = false;
    auto music = loadSong(writeMixSong(song), &loaded);
    ASSERT_TRUE(loaded) << music->lastErrorText();
    const YmSongInfo& info = music->info();
    EXPECT_EQ(info.kind, KIND_MIX);
    EXPECT_EQ(info.blockCount, 3);
    EXPECT_EQ(info.voiceCount, 1);
    EXPECT_STREQ(info.driver, "Digi-Mix driver");
    // 31 plays of 2 bytes, 32 of 2, and 1000 clamped to 32 plays of 4, at 8,000 Hz.
    EXPECT_EQ(info.length, 1401);  // 254 / 8000 s, rounded up to a frame
    // Unsigned bytes 0x00 and 0xFF are the lowest and highest values.
    std::vector<int16_t> out = play(*music, 3);
    EXPECT_EQ(out[0], -32768);
    EXPECT_GT(out[1], out[0]);

    // Signed: 0x00 is the middle and 0xFF just below it.
    song.signedSamples = true;
    out = play(*loadedSong(writeMixSong(song)), 3);
    EXPECT_EQ(out[0], 0);
    EXPECT_LT(out[1], 0);
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
    EXPECT_EQ(refusal(YmBytes(YM_MAX_FILE_BYTES + 1)), "YM file too large !");

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
