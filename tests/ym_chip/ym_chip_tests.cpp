#include <gtest/gtest.h>

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

// The envelope's 4-bit level sample by sample; the clock makes period 3
// advance exactly one of the 32 steps per sample.
std::vector<int> envelopeSteps(Ym2149& chip, int count) {
    std::vector<int> steps;
    for (int i = 0; i < count; ++i) {
        chip.renderSample();
        int level = 0;
        while (level < 15 && IN_USE[level] != chip.envelopeLevel) ++level;
        steps.push_back(level);
    }
    return steps;
}

std::vector<int> ramp(int from, int to) {
    std::vector<int> r;
    for (int i = 0; i < 16; ++i) r.push_back(from + i * (to - from) / 15);
    return r;
}

std::vector<int> concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Ym2149 envelopeChip(int shape) {
    Ym2149 chip;
    chip.masterClock = 16 * 3 * 44100;
    chip.setRegister(11, 3);
    chip.setRegister(13, shape);
    return chip;
}

}  // namespace

TEST(YmChip, AmplitudeTableIsScaledOnceOnly) {
    Ym2149 first;
    Ym2149 second;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(amplitudeTable[i], IN_USE[i]) << i;
}

TEST(YmChip, PeriodRegistersGiveExactIncrements) {
    Ym2149 chip;
    EXPECT_EQ(chip.toneIncrementFor(0, 6), 2028990597u);
    EXPECT_EQ(chip.toneIncrementFor(0x0F, 0xFF), 2972879u);
    EXPECT_EQ(chip.envelopeIncrementFor(0, 3), 126811912u);
    EXPECT_EQ(chip.envelopeIncrementFor(255, 255), 5805u);
    EXPECT_EQ(chip.envelopeIncrementFor(0, 2), 0u);
    chip.setRegister(6, 3);
    EXPECT_EQ(chip.noiseIncrement, 61919u);
    chip.setRegister(6, 31 | 0xE0);  // the top bits carry no period
    EXPECT_EQ(chip.noiseIncrement, 5992u);
    for (int period = 0; period <= 5; ++period) {
        chip.setRegister(0, 100);
        chip.renderSample();
        chip.setRegister(1, 0x10);  // coarse keeps only its low nibble
        chip.setRegister(0, period);
        EXPECT_EQ(chip.toneIncrement[0], 0u);
        EXPECT_EQ(chip.tonePhase[0], 0x80000000u);
    }
}

TEST(YmChip, SilentGeneratorsCountAsHigh) {
    // Tone period 5 and noise period 2 enabled sound like both disabled.
    Ym2149 enabled, disabled;
    for (Ym2149* chip : {&enabled, &disabled}) {
        chip->setLowPass(false);
        chip->setRegister(0, 5);
        chip->setRegister(6, 2);
        chip->setRegister(8, 15);
    }
    enabled.setRegister(7, 0x36);
    disabled.setRegister(7, 0x3F);
    EXPECT_EQ(render(enabled, 2000), render(disabled, 2000));
    EXPECT_EQ(enabled.noiseLevel, 0xFFFF);
}

TEST(YmChip, EnvelopeShapesFollowTheirSegments) {
    const auto down = ramp(15, 0), up = ramp(0, 15), low = ramp(0, 0), high = ramp(15, 15);
    for (int shape : {0, 1, 2, 3, 9}) {
        Ym2149 chip = envelopeChip(shape);
        EXPECT_EQ(envelopeSteps(chip, 96), concat({down, low, low, low, low, low})) << shape;
    }
    for (int shape : {4, 5, 6, 7, 15}) {
        Ym2149 chip = envelopeChip(shape);
        EXPECT_EQ(envelopeSteps(chip, 96), concat({up, low, low, low, low, low})) << shape;
    }
    Ym2149 chip = envelopeChip(10);
    EXPECT_EQ(envelopeSteps(chip, 128), concat({down, up, down, up, down, up, down, up}));
    chip = envelopeChip(11);
    EXPECT_EQ(envelopeSteps(chip, 96), concat({down, high, high, high, high, high}));

    // Rewriting the same shape restarts it; the retrigger restarts it at its own rate.
    chip = envelopeChip(10);
    envelopeSteps(chip, 40);
    chip.setRegister(13, 10);
    EXPECT_EQ(envelopeSteps(chip, 16), down);
    chip.startEnvelopeRetrigger(8 | 0x10, 0x10000000);  // shape 8, every 8 samples
    const std::vector<int> eight = {15, 14, 13, 12, 11, 10, 9, 8};
    EXPECT_EQ(envelopeSteps(chip, 16), concat({eight, eight}));
    chip.clearFrameEffects();
    EXPECT_EQ(envelopeSteps(chip, 16), down);  // no retrigger at step 8 any more
}

TEST(YmChip, DcRemoverTakesOutTheRunningMean) {
    Ym2149 chip;
    chip.setLowPass(false);
    chip.setRegister(7, 0xFF);  // bits 6 and 7 change nothing
    for (int r = 8; r <= 10; ++r) chip.setRegister(r, 15);
    for (int k = 1; k <= 600; ++k) {
        const int expected = k < 512 ? 32766 - (k * 32766) / 512 : 0;
        ASSERT_EQ(chip.renderSample(), expected) << k;
    }
}

TEST(YmChip, LowPassWeighsThreeSamplesWithFlooringShifts) {
    Ym2149 plain, filtered;
    plain.setLowPass(false);
    for (Ym2149* chip : {&plain, &filtered}) {
        chip->setRegister(0, 77);
        chip->setRegister(8, 15);
        chip->setRegister(7, 0x3E);
    }
    const std::vector<int> x = render(plain, 1500), y = render(filtered, 1500);
    bool sawNegative = false;
    for (size_t k = 2; k < x.size(); ++k) {
        sawNegative |= x[k] < 0;
        // >> on a negative int floors with the compilers we build with.
        ASSERT_EQ(y[k], (x[k] >> 2) + (x[k - 1] >> 1) + (x[k - 2] >> 2)) << k;
    }
    EXPECT_TRUE(sawNegative);
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
    EXPECT_FALSE(chip.voiceEffects[0].drumActive);
    EXPECT_FALSE(chip.voiceEffects[1].drumActive || chip.voiceEffects[2].drumActive);
    EXPECT_EQ(chip.toneMask[0], 0xFFFF);
    EXPECT_EQ(chip.noiseMask[0], 0xFFFF);
    EXPECT_EQ(chip.toneMask[1], 0);
    chip.setRegister(7, 0x38);
    EXPECT_EQ(chip.toneMask[0], 0);
}

TEST(YmChip, VolumeGateOverwritesTheLevelRegister) {
    Ym2149 chip;
    chip.setRegister(8, 0x1F);
    chip.startVolumeGate(0, 0x19, INT32_MIN);  // toggles every sample, level 9
    std::vector<int> written;
    for (int i = 0; i < 4; ++i) {
        chip.renderSample();
        written.push_back(chip.regs[8]);
    }
    EXPECT_EQ(written, (std::vector<int>{0, 9, 0, 9}));
    EXPECT_EQ(chip.voiceLevel[0], IN_USE[9]);
    chip.clearFrameEffects();
    chip.renderSample();
    EXPECT_EQ(chip.regs[8], 9);
}

TEST(YmChip, OutOfRangeRegistersAreIgnored) {
    Ym2149 touched, untouched;
    for (int index : {-1, 14, 15, 255, 1 << 20}) touched.setRegister(index, 0xFF);
    touched.setRegister(8, 0x10F);  // only the low 8 bits count
    untouched.setRegister(8, 0x0F);
    EXPECT_EQ(std::vector<uint8_t>(touched.regs, touched.regs + 14),
              std::vector<uint8_t>(untouched.regs, untouched.regs + 14));
    EXPECT_EQ(render(touched, 100), render(untouched, 100));
}
