#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/ym/music_test_support.h"
#include "ym/drum_set.h"

namespace {

std::unique_ptr<YmMusic> ym5Song(const char* tag, std::vector<YmFrame16> frames, std::vector<YmBytes> drums = {}) {
    YmRegisterSong song;
    song.tag = tag;
    song.frames = std::move(frames);
    song.drums = std::move(drums);
    return loadedSong(writeRegisterSong(song));
}

YmFrame16 withoutEffectCodes(YmFrame16 f) {
    f[1] &= 0x0F;
    f[3] &= 0x0F;
    return f;
}

YmBytes ramp(size_t size) {
    YmBytes bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = uint8_t(i * 3);
    return bytes;
}

}  // namespace

// Each tick falls at the start of the chunk in which its frame boundary lies:
// the song must sound exactly like a chip fed at those output frames.
TEST(YmPlayer, FramesTickAtTheStartOfTheirChunk) {
    std::vector<YmFrame14> frames = composeOldTune(12);
    auto music = loadedSong(writeOldRegisterSong("YM3!", frames));
    const std::set<int> ticks = {0, 882, 2205, 2646, 3528, 4410, 5292, 6615, 7056, 7938};
    Ym2149 reference;
    size_t next = 0;
    for (int request = 0; request < 4; request++) {
        std::vector<int16_t> out = play(*music, 2205, 2205);
        for (int i = 0; i < 2205; i++) {
            int position = request * 2205 + i;
            if (ticks.count(position)) writeFrame(reference, frames[next++].data());
            ASSERT_EQ(out[size_t(i)], reference.renderSample()) << "output frame " << position;
        }
    }
}

TEST(YmPlayer, Ym5FramesStartGatesAndDrums) {
    // Gate on voice A, level 11 from byte 8, t = 4 x 1; drum 1 on voice C at t = 4 x 1.
    YmFrame16 gateAndDrum =
        frame16({{0, 40}, {1, 0x10}, {3, 0x30}, {6, 0x20}, {8, 0x2B}, {10, 0x01}, {13, 255}, {14, 1}, {15, 1}});
    // Drum 1 on voice C at t = 4 x 100: 6,144 bytes a second, longer than a frame.
    YmFrame16 slowDrum = frame16({{0, 40}, {3, 0x30}, {8, 0x2F}, {10, 0x01}, {13, 255}, {15, 100}});
    YmFrame16 idle = frame16({{0, 40}, {8, 15}, {13, 255}});
    const YmBytes drum = ramp(2000);
    auto music = ym5Song("YM5!", {gateAndDrum, idle, slowDrum, idle}, {{1, 2, 3}, drum});
    const YmFrame16* order[] = {&gateAndDrum, &idle, &slowDrum, &idle};
    // The gate stops at the next tick; a drum plays on to its end.
    EXPECT_EQ(play(*music, 4 * FRAME_LENGTH), reference(4 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  writeFrame(chip, order[n]->data());
                  if (n == 0) {
                      chip.startVolumeGate(0, 11, 146563072);  // -48,695 x 614,400, wrapped to 32 bits
                      chip.startDigidrum(2, drum.data(), 2000, -30434);  // the shift wraps before the division
                  }
                  if (n == 2) chip.startDigidrum(2, drum.data(), 2000, 4565);
              }));

    // A missing drum or one without bytes, or a stopped timer, starts nothing.
    YmFrame16 noDrum = frame16({{0, 40}, {3, 0x30}, {8, 0x20}, {10, 0x02}, {15, 1}});
    YmFrame16 emptyDrum = frame16({{0, 40}, {3, 0x30}, {8, 0x20}, {10, 0x01}, {15, 1}});
    YmFrame16 noTimer = frame16({{0, 40}, {1, 0x10}, {3, 0x30}, {8, 0x0B}, {10, 0x00}, {14, 1}, {15, 1}});
    for (const YmFrame16& g : {noDrum, emptyDrum, noTimer}) {
        EXPECT_EQ(play(*ym5Song("YM5!", {g}, {{1}, {}}), 2 * FRAME_LENGTH),
                  play(*ym5Song("YM5!", {withoutEffectCodes(g)}, {{1}, {}}), 2 * FRAME_LENGTH));
    }
}

TEST(YmPlayer, Ym6EffectSlotsDecodeVoiceAndType) {
    // Slot 1: gate on voice A, t = 200 x 255. Slot 2: retrigger from voice B's byte, t = 64 x 200.
    YmFrame16 f = frame16({{0, 40}, {1, 0x10}, {3, 0xE0}, {6, 0xE0}, {8, 0xA5}, {9, 0x0C}, {14, 255}, {15, 200}});
    // Slot 1: type 2 does nothing. Slot 2: voice bits 0 do nothing, whatever the type.
    YmFrame16 idle = frame16({{0, 40}, {1, 0x90}, {3, 0xC0}, {6, 0xE0}, {8, 0xB5}, {14, 255}, {15, 200}});
    // Slot 2: drum 1 on voice B, t = 64 x 200.
    YmFrame16 drum = frame16({{0, 40}, {3, 0x60}, {8, 0xA0}, {9, 0x01}, {15, 200}});
    const YmBytes drumBytes = ramp(300);
    auto music = ym5Song("YM6!", {f, idle, drum}, {{9}, drumBytes});
    const YmFrame16* order[] = {&f, &idle, &drum};
    EXPECT_EQ(play(*music, 3 * FRAME_LENGTH), reference(3 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  writeFrame(chip, order[n]->data());
                  if (n == 0) {
                      chip.startVolumeGate(0, 5, -2337360);
                      chip.startEnvelopeRetrigger(12, -9349440);
                  }
                  if (n == 2) chip.startDigidrum(1, drumBytes.data(), 300, 142);
              }));
}

TEST(YmPlayer, Ym2FramesUseShapeTenAndTheBuiltInDrums) {
    // Voice A follows the envelope, so every envelope write is heard.
    auto frame = [](uint8_t mixer, uint8_t drumByte, uint8_t count, uint8_t shape) {
        YmFrame14 f{};
        f[0] = 90;
        f[7] = mixer;
        f[8] = 0x10;
        f[10] = drumByte;
        f[11] = 0x33;
        f[12] = count;
        f[13] = shape;
        return f;
    };
    std::vector<YmFrame14> frames = {
        frame(0x00, 0x80 | 45, 100, 0),   // drum number too high: mixer change only
        frame(0x01, 0x80 | 5, 0, 255),    // timer count 0: no drum; 255 leaves the envelope alone
        frame(0x02, 0x05, 100, 255),      // bit 7 clear: nothing at all
        frame(0x00, 0x80 | 5, 100, 7),    // drum 5 at 2,457,600 / 100 Hz; shape 10 again
    };
    auto music = loadedSong(writeOldRegisterSong("YM2!", frames));
    EXPECT_EQ(play(*music, 4 * FRAME_LENGTH), reference(4 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  const YmFrame14& f = frames[size_t(n)];
                  for (int r = 0; r <= 10; r++) chip.setRegister(r, f[size_t(r)]);
                  chip.clearFrameEffects();
                  if (f[13] != 255) {
                      chip.setRegister(11, 0x33);
                      chip.setRegister(12, 0);  // byte 12 is the drum timer, never the envelope period
                      chip.setRegister(13, 10);
                  }
                  if (f[10] & 0x80) chip.setRegister(7, f[7] | 0x24);
                  if (n == 3) chip.startDigidrum(2, builtInDrumSet[5].samples, 505, 18260);
              }));
}

TEST(YmPlayer, SongsLoopAtTheirLoopFrameOrFinish) {
    YmRegisterSong song;
    for (int i = 0; i < 3; i++) song.frames.push_back(frame16({{0, uint8_t(10 + 7 * i)}, {7, 0x3E}, {8, 15}, {13, 255}}));
    song.loopFrame = 1;
    auto music = loadedSong(writeRegisterSong(song));
    const int played[6] = {0, 1, 2, 1, 2, 1};
    EXPECT_EQ(play(*music, 6 * FRAME_LENGTH), reference(6 * FRAME_LENGTH, [&](Ym2149& chip, int n) {
                  writeFrame(chip, song.frames[size_t(played[n])].data());
              }));

    music = loadedSong(writeRegisterSong(song));
    music->setLoop(false);
    std::vector<int16_t> buffer(2 * 4000, 99);
    EXPECT_TRUE(music->renderAudio(buffer.data(), 4 * 882 + 10));  // the end comes inside this request
    EXPECT_TRUE(music->isFinished());
    EXPECT_FALSE(music->renderAudio(buffer.data(), 4000));
    for (int16_t s : buffer) ASSERT_EQ(s, 0);
}

// Paused requests are silent and take no time from the song: it goes on
// where it stopped.
TEST(YmPlayer, PauseKeepsThePlace) {
    const YmBytes image = writeOldRegisterSong("YM3!", composeOldTune(20));
    const std::vector<int16_t> straight = play(*loadedSong(image), 6 * 2205, 2205);
    auto music = loadedSong(image);
    std::vector<int16_t> heard = play(*music, 2 * 2205, 2205);
    music->setPaused(true);
    EXPECT_EQ(play(*music, 3 * 2205, 2205), std::vector<int16_t>(3 * 2205, 0));
    EXPECT_EQ(music->position(), 2 * 2205);
    music->setPaused(false);
    std::vector<int16_t> rest = play(*music, 4 * 2205, 2205);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(heard, straight);
}
