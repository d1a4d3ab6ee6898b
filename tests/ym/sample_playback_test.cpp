#include <gtest/gtest.h>

#include "tests/ym/music_test_support.h"

namespace {

// Left channel of `frames` rendered frames; checks right equals left.
std::vector<int> render(YmMusic& music, int32_t frames, bool* result = nullptr) {
    std::vector<int16_t> buffer(size_t(2 * frames), 12345);
    bool r = music.renderAudio(buffer.data(), frames);
    if (result) *result = r;
    std::vector<int> left;
    for (int32_t i = 0; i < frames; i++) {
        EXPECT_EQ(buffer[size_t(2 * i)], buffer[size_t(2 * i + 1)]) << i;
        left.push_back(buffer[size_t(2 * i)]);
    }
    return left;
}

std::vector<int> repeated(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> out;
    for (const auto& run : runs) out.insert(out.end(), size_t(run.second), run.first);
    return out;
}

// Block 0: four bytes of 10 played three times; block 1: two bytes of -20
// with repeat count 0, played once. One byte per output frame.
YmMixSong countedMix() {
    YmMixSong song;
    song.signedSamples = true;
    song.sampleData = {10, 10, 10, 10, uint8_t(-20), uint8_t(-20)};
    song.blocks = {{0, 4, 3, 44100}, {4, 2, 0, 44100}};
    return song;
}

YmBytes rampSample(size_t size) {
    YmBytes bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = uint8_t(i * 7);
    return bytes;
}

// The tracker's mixing table: sample byte s (128 the centre) at volume v of 64,
// scaled so that `voices` voices at full volume fit 16 bits.
int volumeTable(int v, int s, int voices = 1) { return ((s - 128) * v * (256 / voices)) / 64; }

void putLine(YmBytes& lines, uint8_t sample, uint8_t volume, uint16_t frequency) {
    lines.insert(lines.end(), {sample, volume, uint8_t(frequency >> 8), uint8_t(frequency)});
}

}  // namespace

TEST(YmDigiMix, BlocksPlayTheirRepeatCountsAndLoop) {
    auto music = loadedSong(writeMixSong(countedMix()));
    EXPECT_EQ(render(*music, 30), repeated({{2560, 12}, {-5120, 2}, {2560, 12}, {-5120, 2}, {2560, 2}}));

    // Rewinding starts again at block 0.
    music->stopAndRewind();
    music->setPaused(false);
    EXPECT_EQ(render(*music, 13), repeated({{2560, 12}, {-5120, 1}}));

    // Without looping the song ends after its last block; the rest is silence.
    music = loadedSong(writeMixSong(countedMix()));
    music->setLoop(false);
    bool result = false;
    EXPECT_EQ(render(*music, 20, &result), repeated({{2560, 12}, {-5120, 2}, {0, 6}}));
    EXPECT_TRUE(result);
    EXPECT_EQ(render(*music, 5, &result), repeated({{0, 5}}));
    EXPECT_FALSE(result);
}

TEST(YmDigiMix, InterpolatesBetweenNeighbourBytes) {
    YmMixSong song;
    song.signedSamples = true;
    song.sampleData = {0, 64};
    song.blocks = {{0, 2, 1, 22050}};  // half a byte per output frame
    auto music = loadedSong(writeMixSong(song));
    // The last byte of a block has no right neighbour and is held.
    EXPECT_EQ(render(*music, 6), (std::vector<int>{0, 8192, 16384, 16384, 0, 8192}));
}

TEST(YmTracker, LinesSetSampleVolumeAndFrequency) {
    YmTrackerSong song;
    song.samples = {{rampSample(2000), 0}};
    putLine(song.lines, 0, 63, 44100);   // one byte per output frame
    putLine(song.lines, 255, 32, 22050);  // same sample goes on, half speed, softer
    putLine(song.lines, 0, 63, 0);        // silence
    song.loopFrame = 2;
    auto music = loadedSong(writeTrackerSong(song));
    const YmBytes ramp = rampSample(2000);

    std::vector<int> out = render(*music, 4 * 882);
    EXPECT_EQ(out[0], volumeTable(63, ramp[0]));
    EXPECT_EQ(out[881], volumeTable(63, ramp[881]));
    EXPECT_EQ(out[882], volumeTable(32, ramp[882]));
    EXPECT_EQ(out[884], volumeTable(32, ramp[883]));
    for (int i = 2 * 882; i < 3 * 882; i++) ASSERT_EQ(out[size_t(i)], 0) << i;
    // After the last line comes line 0, not the loop line, and then line 1.
    EXPECT_EQ(out[3 * 882], volumeTable(63, ramp[0]));
    EXPECT_EQ(render(*music, 1)[0], volumeTable(32, ramp[882]));
}

TEST(YmTracker, VoicesEndOrLoopWithinTheirSample) {
    YmTrackerSong song;
    song.tag = "YMT2";
    song.voiceCount = 2;
    song.samples = {{rampSample(8), 4}, {rampSample(3), 0}};
    // Voice 0 loops its last 4 bytes at 0.75 byte per frame; voice 1 loops
    // with a repeat length of 0 and so ends like a plain voice.
    putLine(song.lines, 0, 63 | 0x40, 33075);
    putLine(song.lines, 1, 63 | 0x40, 44100);
    auto music = loadedSong(writeTrackerSong(song));
    std::vector<int> out = render(*music, 14);
    const YmBytes eight = rampSample(8), three = rampSample(3);
    // Frame 11 is at 8.25 bytes, back by 4 to 4.25: the fraction is kept.
    auto voice0 = [&](int at, int quarter) {
        int a = volumeTable(63, eight[size_t(at)], 2), b = at < 7 ? volumeTable(63, eight[size_t(at + 1)], 2) : a;
        return a + (((b - a) * quarter * 16384) >> 16);
    };
    EXPECT_EQ(out[11], voice0(4, 1));
    EXPECT_EQ(out[13], voice0(5, 3));
    // Voice 1 played its three bytes at one a frame, and nothing after.
    EXPECT_EQ(out[2], voice0(1, 2) + volumeTable(63, three[2], 2));
    EXPECT_EQ(out[3], voice0(2, 1));

    // Non-looping end: the last line sounds, then silence and false.
    YmTrackerSong once;
    once.samples = {{rampSample(2000), 0}};
    putLine(once.lines, 0, 63, 44100);
    putLine(once.lines, 255, 63, 44100);
    music = loadedSong(writeTrackerSong(once));
    music->setLoop(false);
    bool result = false;
    out = render(*music, 2 * 882 + 50, &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(out[1763], volumeTable(63, rampSample(2000)[1763]));
    for (size_t i = 1764; i < out.size(); i++) ASSERT_EQ(out[i], 0) << i;
    EXPECT_TRUE(music->isFinished());
    render(*music, 10, &result);
    EXPECT_FALSE(result);
}
