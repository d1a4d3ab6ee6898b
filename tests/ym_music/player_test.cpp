#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/ym_music/music_test_support.h"
#include "ym/drum_set.h"

namespace {

std::unique_ptr<YmMusic> ym5Song(const char* tag, std::vector<YmFrame16> frames, std::vector<YmBytes> drums = {}) {
    YmRegisterSong song;
    song.tag = tag;
    song.frames = std::move(frames);
    song.drums = std::move(drums);
    return loadedSong(writeRegisterSong(song));
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
    std::vector<int16_t> buffer(2 * 2205);
    const int32_t afterRequest[4] = {2, 5, 7, 10};
    for (int request = 0; request < 4; request++) {
        ASSERT_TRUE(music->renderAudio(buffer.data(), 2205));
        EXPECT_EQ(music->nextFrame, afterRequest[request]);
        for (int i = 0; i < 2205; i++) {
            int position = request * 2205 + i;
            if (ticks.count(position)) {
                const YmFrame14& f = frames[next++];
                for (int r = 0; r <= 10; r++) reference.setRegister(r, f[size_t(r)]);
                reference.clearFrameEffects();
                reference.setRegister(11, f[11]);
                reference.setRegister(12, f[12]);
                if (f[13] != 255) reference.setRegister(13, f[13]);
            }
            int16_t expected = reference.renderSample();
            ASSERT_EQ(buffer[size_t(2 * i)], expected) << "output frame " << position;
            ASSERT_EQ(buffer[size_t(2 * i + 1)], expected) << "output frame " << position;
        }
    }
}

TEST(YmPlayer, Ym5FramesStartGatesAndDrums) {
    // Gate on voice A at t = 4 x 1, level from byte 8; drum 1 on voice C at t = 4 x 1.
    YmFrame16 f = frame16({{1, 0x10}, {3, 0x30}, {6, 0x20}, {8, 0x2B}, {10, 0x01}, {13, 255}, {14, 1}, {15, 1}});
    auto music = ym5Song("YM5!", {f, frame16({{13, 255}}), f}, {{1, 2, 3}, {4, 5, 6, 7}});
    music->advanceFrame();
    const Ym2149::VoiceEffect* fx = music->chip.voiceEffects;
    EXPECT_TRUE(fx[0].gateActive);
    EXPECT_EQ(fx[0].gateLevel, 11);
    EXPECT_EQ(fx[0].gateStep, 146563072);  // -48,695 x 614,400, wrapped to 32 bits
    EXPECT_TRUE(fx[2].drumActive);
    EXPECT_EQ(fx[2].drumData, music->drums[1].samples);
    EXPECT_EQ(fx[2].drumLength, 4u);
    EXPECT_EQ(fx[2].drumStep, -30434);  // the shift wraps before the signed division

    // The next frame asks for nothing: the gate stops, the drum plays on.
    music->advanceFrame();
    EXPECT_FALSE(fx[0].gateActive);
    EXPECT_TRUE(fx[2].drumActive);

    // A missing drum or one without bytes, or a stopped timer, starts nothing.
    YmFrame16 noDrum = frame16({{3, 0x30}, {8, 0x20}, {10, 0x05}, {15, 1}});
    YmFrame16 emptyDrum = frame16({{3, 0x30}, {8, 0x20}, {10, 0x01}, {15, 1}});
    YmFrame16 noTimer = frame16({{1, 0x10}, {3, 0x30}, {8, 0x0B}, {10, 0x00}, {14, 1}, {15, 1}});
    for (const YmFrame16& g : {noDrum, emptyDrum, noTimer}) {
        music = ym5Song("YM5!", {g}, {{1}, {}});
        music->advanceFrame();
        EXPECT_FALSE(music->chip.voiceEffects[2].drumActive);
        EXPECT_FALSE(music->chip.voiceEffects[0].gateActive);
    }
}

TEST(YmPlayer, Ym6EffectSlotsDecodeVoiceAndType) {
    // Slot 1: gate on voice A, t = 200 x 255. Slot 2: retrigger from voice B's byte, t = 64 x 200.
    YmFrame16 f = frame16({{1, 0x10}, {3, 0xE0}, {6, 0xE0}, {8, 0xA5}, {9, 0x0C}, {14, 255}, {15, 200}});
    // Slot 1: type 2 does nothing. Slot 2: voice bits 0 do nothing, whatever the type.
    YmFrame16 idle = frame16({{1, 0x90}, {3, 0xC0}, {6, 0xE0}, {8, 0xA5}, {14, 255}, {15, 200}});
    // Slot 2: drum 1 on voice B, t = 64 x 200.
    YmFrame16 drum = frame16({{3, 0x60}, {8, 0xA0}, {9, 0x01}, {15, 200}});
    auto music = ym5Song("YM6!", {f, idle, drum}, {{9}, {1, 2, 3}});
    music->advanceFrame();
    const Ym2149& chip = music->chip;
    EXPECT_TRUE(chip.voiceEffects[0].gateActive);
    EXPECT_EQ(chip.voiceEffects[0].gateLevel, 5);
    EXPECT_EQ(chip.voiceEffects[0].gateStep, -2337360);
    EXPECT_EQ(chip.retriggerIncrement, -9349440);
    EXPECT_EQ(chip.envelopeShape, 12);
    EXPECT_FALSE(chip.voiceEffects[1].gateActive);

    music->advanceFrame();
    for (const auto& fx : chip.voiceEffects) EXPECT_FALSE(fx.gateActive || fx.drumActive);
    EXPECT_EQ(chip.retriggerIncrement, 0);

    music->advanceFrame();
    EXPECT_TRUE(chip.voiceEffects[1].drumActive);
    EXPECT_EQ(chip.voiceEffects[1].drumData, music->drums[1].samples);
    EXPECT_EQ(chip.voiceEffects[1].drumStep, 142);
}

TEST(YmPlayer, Ym2FramesUseShapeTenAndTheBuiltInDrums) {
    auto frame = [](uint8_t mixer, uint8_t drumByte, uint8_t count, uint8_t shape) {
        YmFrame14 f{};
        f[7] = mixer;
        f[10] = drumByte;
        f[11] = 0x33;
        f[12] = count;
        f[13] = shape;
        return f;
    };
    std::vector<YmFrame14> frames = {
        frame(0x00, 0x80 | 45, 100, 0),    // drum number too high: mixer change only
        frame(0x01, 0x80 | 5, 0, 255),     // timer count 0: no drum
        frame(0x02, 0x05, 100, 255),       // bit 7 clear: nothing at all
        frame(0x00, 0x80 | 5, 100, 255),   // drum 5 at 2,457,600 / 100 Hz
    };
    auto music = loadedSong(writeOldRegisterSong("YM2!", frames));
    Ym2149& chip = music->chip;
    music->advanceFrame();
    EXPECT_EQ(chip.regs[7], 0x24);
    EXPECT_EQ(chip.regs[11], 0x33);
    EXPECT_EQ(chip.regs[12], 0);  // byte 12 is the drum timer, never the envelope period
    EXPECT_EQ(chip.regs[13], 10);
    EXPECT_FALSE(chip.voiceEffects[2].drumActive);

    chip.setRegister(11, 0x77);
    music->advanceFrame();
    EXPECT_EQ(chip.regs[7], 0x25);
    EXPECT_EQ(chip.regs[11], 0x77);  // 255 leaves the envelope alone
    EXPECT_FALSE(chip.voiceEffects[2].drumActive);

    music->advanceFrame();
    EXPECT_EQ(chip.regs[7], 0x02);
    EXPECT_FALSE(chip.voiceEffects[2].drumActive);

    music->advanceFrame();
    EXPECT_EQ(chip.regs[7], 0x24);
    ASSERT_TRUE(chip.voiceEffects[2].drumActive);
    EXPECT_EQ(chip.voiceEffects[2].drumData, builtInDrumSet[5].samples);
    EXPECT_EQ(chip.voiceEffects[2].drumLength, 505u);
    EXPECT_EQ(chip.voiceEffects[2].drumStep, 18260);
}

TEST(YmPlayer, SongsLoopAtTheirLoopFrameOrFinish) {
    YmRegisterSong song;
    for (uint8_t i = 0; i < 3; i++) song.frames.push_back(frame16({{0, uint8_t(10 + i)}, {13, 255}}));
    song.loopFrame = 1;
    auto music = loadedSong(writeRegisterSong(song));
    const uint8_t played[6] = {10, 11, 12, 11, 12, 11};
    for (uint8_t expected : played) {
        music->advanceFrame();
        EXPECT_EQ(music->chip.regs[0], expected);
    }

    music = loadedSong(writeRegisterSong(song));
    music->loopEnabled = false;
    std::vector<int16_t> buffer(2 * 4000, 99);
    EXPECT_TRUE(music->renderAudio(buffer.data(), 4 * 882 + 10));  // the end comes inside this request
    EXPECT_EQ(music->finished, 1);
    EXPECT_EQ(music->nextFrame, 3);
    EXPECT_FALSE(music->renderAudio(buffer.data(), 4000));
    for (int16_t s : buffer) ASSERT_EQ(s, 0);
}

TEST(YmPlayer, SilentWhenNotReadyOrPaused) {
    auto music = ym5Song("YM5!", composeTune(4));
    std::vector<int16_t> buffer(200, 7);
    music->paused = 1;
    EXPECT_TRUE(music->renderAudio(buffer.data(), 100));
    for (int16_t s : buffer) ASSERT_EQ(s, 0);
    EXPECT_EQ(music->nextFrame, 0);

    YmMusic fresh;  // never loaded
    buffer.assign(200, 7);
    EXPECT_TRUE(fresh.renderAudio(buffer.data(), 100));
    for (int16_t s : buffer) ASSERT_EQ(s, 0);

}

TEST(YmDrumSet, HasFortyDrumsOfTheFormatLengths) {
    const uint32_t lengths[40] = {631, 631, 490, 490, 699, 505, 727,  480, 2108, 4231, 378, 1527, 258, 258,
                                  451, 1795, 271, 633, 1379, 147, 139, 85,  150,  507,  230, 120,  271, 293,
                                  391, 391, 391, 407, 407, 407, 317, 407, 311,  459,  329, 656};
    uint32_t total = 0;
    for (uint32_t d = 0; d < BUILT_IN_DRUM_COUNT; d++) {
        EXPECT_EQ(builtInDrumSet[d].size, lengths[d]) << d;
        ASSERT_NE(builtInDrumSet[d].samples, nullptr);
        total += builtInDrumSet[d].size;
    }
    EXPECT_EQ(total, 24757u);
}

TEST(YmPlayer, ShippedSongLoadsAndSounds) {
    std::ifstream in(SHIPPED_SONG, std::ios::binary);
    if (!in) GTEST_SKIP() << "no music resource";
    YmBytes packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto music = loadedSong(packed);
    EXPECT_EQ(music->songKind, KIND_YM5);
    EXPECT_EQ(music->frameBytes, 16);
    std::vector<int16_t> buffer(2 * 2205);
    int loudest = 0;
    for (int request = 0; request < 200; request++) {  // ten seconds
        ASSERT_TRUE(music->renderAudio(buffer.data(), 2205));
        for (int16_t s : buffer) loudest = std::max(loudest, std::abs(int(s)));
    }
    EXPECT_GT(loudest, 1000);
}
