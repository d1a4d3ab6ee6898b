#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ym/ym2149.h"

namespace {

const int32_t IN_USE[16] = {20,  53,   88,   125,  193,  258,  385,  525,
                            753, 1029, 1523, 2077, 3110, 4395, 7073, 10922};

std::vector<int> render(Ym2149& chip, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(chip.renderSample());
    return out;
}

// The envelope's 4-bit level per sample as hex digits.
std::string envelopeSteps(Ym2149& chip, int count) {
    std::string steps;
    for (int i = 0; i < count; ++i) {
        chip.renderSample();
        int level = 0;
        while (level < 15 && IN_USE[level] != chip.envelopeLevel) ++level;
        steps += "0123456789ABCDEF"[level];
    }
    return steps;
}

// This clock makes envelope (and noise) period 3 advance one step per sample.
Ym2149 envelopeChip(int shape) {
    Ym2149 chip;
    chip.masterClock = 16 * 3 * 44100;
    chip.setRegister(11, 3);
    chip.setRegister(13, shape);
    return chip;
}

}  // namespace

// Chips made and played on two threads at once share nothing that either
// writes, and each sounds as one played alone. The first chips of the process
// are the two made at once (CTest runs each test in a process of its own), so
// ThreadSanitizer runs would also see a table set up by the first chip made.
TEST(YmChip, ChipsOnTwoThreadsSoundAsOnOne) {
    auto play = [](int voiceLevel) {
        Ym2149 chip;
        chip.setRegister(0, 200);
        chip.setRegister(6, 5);
        chip.setRegister(7, 0x30);
        chip.setRegister(8, voiceLevel);
        chip.setRegister(9, 0x10);
        chip.setRegister(11, 90);
        chip.setRegister(13, 14);
        return render(chip, 20000);
    };
    std::vector<std::vector<int>> rounds[2];
    for (int round = 0; round < 10; ++round) {
        std::thread second([&] { rounds[1].push_back(play(9)); });
        rounds[0].push_back(play(15));
        second.join();
    }
    const std::vector<int> alone[2] = {play(15), play(9)};
    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(rounds[0][size_t(round)], alone[0]) << round;
        ASSERT_EQ(rounds[1][size_t(round)], alone[1]) << round;
    }
    EXPECT_NE(alone[0], alone[1]);
}

TEST(YmChip, SilentGeneratorsSoundLikeDisabledOnes) {
    // Tone periods 0 to 5 and noise period 2, enabled, must equal both disabled.
    for (int period = 0; period <= 5; ++period) {
        Ym2149 enabled, disabled;
        for (Ym2149* chip : {&enabled, &disabled}) {
            chip->setLowPass(false);
            chip->setRegister(0, 100);  // let both generators run first
            chip->setRegister(6, 3);
            render(*chip, 7 + period);
            chip->setRegister(1, 0x10);  // coarse keeps only its low nibble
            chip->setRegister(0, period);
            chip->setRegister(6, 2);
            chip->setRegister(8, 15);
        }
        enabled.setRegister(7, 0x36);
        disabled.setRegister(7, 0x3F);
        EXPECT_EQ(render(enabled, 600), render(disabled, 600)) << period;
    }
}

TEST(YmChip, NoiseFlipsWhenTheShiftRegisterFeedsAZero) {
    Ym2149 chip = envelopeChip(0);  // with noise period 3 this clock steps once per sample
    chip.setRegister(6, 3);
    std::string levels;
    for (int i = 0; i < 19; ++i) {
        chip.renderSample();  // the first call only advances the phase
        levels += chip.noiseLevel ? '1' : '0';
    }
    EXPECT_EQ(levels, "1101010101010101100");
}

TEST(YmChip, EnvelopeShapesFollowTheirSegments) {
    const std::string down = "FEDCBA9876543210", up = "0123456789ABCDEF";
    const std::string low(80, '0'), high(80, 'F');
    const std::pair<int, std::string> cases[] = {
        {0, down + low}, {1, down + low}, {2, down + low}, {3, down + low}, {9, down + low},
        {4, up + low},   {5, up + low},   {6, up + low},   {7, up + low},   {15, up + low},
        {11, down + high}};
    for (const auto& [shape, expected] : cases) {
        Ym2149 chip = envelopeChip(shape);
        EXPECT_EQ(envelopeSteps(chip, 96), expected) << shape;
    }
    Ym2149 chip = envelopeChip(10);
    EXPECT_EQ(envelopeSteps(chip, 128), down + up + down + up + down + up + down + up);

    // Rewriting the same shape restarts it; the retrigger restarts it at its own rate.
    envelopeSteps(chip, 40);
    chip.setRegister(13, 10);
    EXPECT_EQ(envelopeSteps(chip, 16), down);
    // Shape 8 restarted after 11, 22 and 32 samples: the phase keeps its remainder.
    chip.startEnvelopeRetrigger(8 | 0x10, 0x0C000000);
    EXPECT_EQ(envelopeSteps(chip, 33), "FEDCBA98765FEDCBA98765FEDCBA9876F");
    chip.clearFrameEffects();
    EXPECT_EQ(envelopeSteps(chip, 16), "EDCBA9876543210F");  // no restart any more
}

// A constant mix is taken out over the 512-sample window: the output falls
// steadily from nearly full to 0 and stays there.
TEST(YmChip, DcRemoverTakesOutTheRunningMean) {
    Ym2149 chip;
    chip.setLowPass(false);
    chip.setRegister(7, 0xFF);  // bits 6 and 7 change nothing
    for (int r = 8; r <= 10; ++r) chip.setRegister(r, 15);
    const std::vector<int> out = render(chip, 600);
    EXPECT_GT(out[0], 32000);
    for (int k = 1; k < 511; ++k) ASSERT_LT(out[k], out[k - 1]) << k;
    for (int k = 511; k < 600; ++k) ASSERT_EQ(out[k], 0) << k;
    // Voice C now follows shape 4, which starts at level 0: the mix drops
    // by about a third below its mean.
    chip.setRegister(13, 4);
    chip.setRegister(10, 0x1F);
    EXPECT_LT(chip.renderSample(), -10000);
}

// The low-pass takes out what the output rate cannot carry and keeps the
// audible band: a tone at half the output rate goes, one at 441 Hz stays.
TEST(YmChip, LowPassRemovesHalfTheOutputRateAndKeepsLowTones) {
    auto loudest = [](bool lowPass, int period) {
        Ym2149 chip;
        chip.masterClock = 16 * 22050 * 6;  // period 6 is half the output rate, 300 is 441 Hz
        chip.setLowPass(lowPass);
        chip.setRegister(0, period & 0xFF);
        chip.setRegister(1, period >> 8);
        chip.setRegister(7, 0x3E);
        chip.setRegister(8, 15);
        render(chip, 2000);  // past the DC remover's settling
        int most = 0;
        for (int s : render(chip, 4000)) most = std::max(most, std::abs(s));
        return most;
    };
    EXPECT_GT(loudest(false, 6), 5000);
    EXPECT_LT(loudest(true, 6), loudest(false, 6) / 50);
    EXPECT_GT(loudest(true, 300), loudest(false, 300) * 9 / 10);
}

TEST(YmChip, DigidrumPlaysItsBytesOnceAndKeepsTheMixerClosed) {
    Ym2149 chip;
    chip.setRegister(7, 0x38);
    const uint8_t drum[] = {6, 12, 18, 99};  // the last byte lies past the length
    chip.startDigidrum(0, drum, 3, 1 << 15);
    chip.startDigidrum(3, drum, 3, 1 << 15);
    chip.startDigidrum(1, nullptr, 3, 1 << 15);
    chip.startDigidrum(2, drum, 0, 1 << 15);
    std::vector<int> levels;
    for (int i = 0; i < 5; ++i) {
        chip.renderSample();
        levels.push_back(chip.voiceLevel[0]);
    }
    EXPECT_EQ(levels, (std::vector<int>{255, 510, 765, 765, 765}));
    EXPECT_FALSE(chip.voiceEffects[0].drumActive || chip.voiceEffects[1].drumActive ||
                 chip.voiceEffects[2].drumActive);
    EXPECT_EQ(chip.toneMask[0] & chip.noiseMask[0], 0xFFFF);
    EXPECT_EQ(chip.toneMask[1], 0);
    chip.setRegister(7, 0x38);
    EXPECT_EQ(chip.toneMask[0], 0);
}

TEST(YmChip, VolumeGateOverwritesTheLevelRegister) {
    Ym2149 chip;
    chip.setRegister(8, 0x1F);
    chip.startVolumeGate(0, 0x19, INT32_MIN);  // toggles every sample, level 9
    std::string written;
    for (int i = 0; i < 4; ++i) {
        chip.renderSample();
        written += std::to_string(chip.regs[8]);
    }
    EXPECT_EQ(written, "0909");
    chip.clearFrameEffects();
    chip.renderSample();
    EXPECT_EQ(chip.regs[8], 9);
}

TEST(YmChip, OutOfRangeRegistersAreIgnored) {
    Ym2149 touched, untouched;
    for (int index : {-1, 14, 15, 255, 1 << 20}) touched.setRegister(index, 0xFF);
    touched.setRegister(8, 0x10F);  // only the low 8 bits count
    untouched.setRegister(8, 0x0F);
    EXPECT_EQ(0, std::memcmp(touched.regs, untouched.regs, sizeof(touched.regs)));
    EXPECT_EQ(render(touched, 100), render(untouched, 100));
}

// Bits above a register's width do nothing: the coarse tone periods keep 4,
// the noise period and the levels 5, the envelope shape 4.
TEST(YmChip, BitsAboveARegistersWidthAreIgnored) {
    const int masks[14] = {0xFF, 0x0F, 0xFF, 0x0F, 0xFF, 0x0F, 0x1F, 0xFF, 0x1F, 0x1F, 0x1F, 0xFF, 0xFF, 0x0F};
    const int values[14] = {0x51, 0x01, 0x83, 0x02, 0x27, 0x00, 0x07, 0x30, 0x0D, 0x0B, 0x10, 0x40, 0x02, 0x0C};
    Ym2149 plain, extra;
    for (int r = 0; r < 14; ++r) {
        plain.setRegister(r, values[r]);
        extra.setRegister(r, values[r] | (~masks[r] & 0xFF));
        EXPECT_EQ(extra.regs[r], values[r]) << "register " << r;
    }
    EXPECT_EQ(render(plain, 20000), render(extra, 20000));
}
