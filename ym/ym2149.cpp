#include "ym/ym2149.h"

#include <cstring>

namespace {

const uint32_t MASK_OFF = 0xFFFF;  // a disabled generator counts as high
const uint32_t TONE_HIGH_PHASE = 0x80000000u;

// Phase increment = numerator / (period x outputRate), low 32 bits kept.
// A rate that is not positive yields no increment instead of a division fault.
uint32_t phaseIncrement(uint64_t numerator, uint32_t period, int32_t outputRate) {
    if (outputRate <= 0) return 0;
    return static_cast<uint32_t>(numerator / (uint64_t(period) * uint64_t(outputRate)));
}

}  // namespace

namespace ym2149Tables {
namespace {

// Per shape, four (start, end) segments; each segment is a 16-step ramp.
// Segments 1-2 play once, segments 3-4 repeat.
constexpr uint8_t envelopeShapeSegments[16][4][2] = {
    {{1, 0}, {0, 0}, {0, 0}, {0, 0}}, {{1, 0}, {0, 0}, {0, 0}, {0, 0}},
    {{1, 0}, {0, 0}, {0, 0}, {0, 0}}, {{1, 0}, {0, 0}, {0, 0}, {0, 0}},
    {{0, 1}, {0, 0}, {0, 0}, {0, 0}}, {{0, 1}, {0, 0}, {0, 0}, {0, 0}},
    {{0, 1}, {0, 0}, {0, 0}, {0, 0}}, {{0, 1}, {0, 0}, {0, 0}, {0, 0}},
    {{1, 0}, {1, 0}, {1, 0}, {1, 0}}, {{1, 0}, {0, 0}, {0, 0}, {0, 0}},
    {{1, 0}, {0, 1}, {1, 0}, {0, 1}}, {{1, 0}, {1, 1}, {1, 1}, {1, 1}},
    {{0, 1}, {0, 1}, {0, 1}, {0, 1}}, {{0, 1}, {1, 1}, {1, 1}, {1, 1}},
    {{0, 1}, {1, 0}, {0, 1}, {1, 0}}, {{0, 1}, {0, 0}, {0, 0}, {0, 0}},
};

// Each segment is 16 levels from 15 x start, moving by (end - start) per step.
constexpr Envelope makeEnvelope() {
    Envelope t{};
    for (int s = 0; s < 16; ++s) {
        for (int k = 0; k < 4; ++k) {
            const int a = envelopeShapeSegments[s][k][0];
            const int b = envelopeShapeSegments[s][k][1];
            for (int i = 0; i < 16; ++i) {
                const int level = 15 * a + i * (b - a);
                t.amplitude[s][k / 2][(k % 2) * 16 + i] = amplitudeTable[level];
            }
        }
    }
    return t;
}

}  // namespace

constexpr Envelope ENVELOPE = makeEnvelope();

}  // namespace ym2149Tables

Ym2149::Ym2149() {
    std::memset(dcRing, 0, sizeof(dcRing));
    dcIndex = 0;
    dcSum = 0;
    lowPassEnabled = true;
    for (bool& e : levelFromEnvelope) e = false;
    masterClock = 2000000;
    outputRate = 44100;
    resetChip();
}

void Ym2149::resetChip() {
    std::memset(regs, 0, sizeof(regs));
    for (int i = 0; i < 14; ++i) setRegister(i, 0);
    regs[7] = 0xFF;
    for (int v = 0; v < 3; ++v) {
        toneMask[v] = MASK_OFF;
        noiseMask[v] = MASK_OFF;
    }
    noiseLevel = 0xFFFF;
    noiseShift = 1;
    envelopeShape = 0;
    envelopeStage = 0;
    envelopePhase = 0;
    std::memset(dcRing, 0, sizeof(dcRing));
    dcIndex = 0;
    dcSum = 0;
    for (VoiceEffect& e : voiceEffects) e = VoiceEffect{};
    retriggerPhase = 0;
    retriggerIncrement = 0;
    lowPassHistory[0] = 0;
    lowPassHistory[1] = 0;
}

uint32_t Ym2149::toneIncrementFor(int coarse, int fine) const {
    const uint32_t period = uint32_t(coarse & 0x0F) * 256 + uint32_t(fine & 0xFF);
    if (period <= 5) return 0;
    return phaseIncrement(uint64_t(masterClock) << 28, period, outputRate);
}

uint32_t Ym2149::envelopeIncrementFor(int coarse, int fine) const {
    const uint32_t period = uint32_t(coarse & 0xFF) * 256 + uint32_t(fine & 0xFF);
    if (period < 3) return 0;
    return phaseIncrement(uint64_t(masterClock) << 23, period, outputRate);
}

void Ym2149::setRegister(int index, int value) {
    if (index < 0 || index > 13) return;
    value &= 0xFF;
    switch (index) {
        case 0: case 1: case 2: case 3: case 4: case 5: {  // tone periods
            const int voice = index / 2;
            regs[index] = static_cast<uint8_t>(index & 1 ? value & 0x0F : value);
            toneIncrement[voice] = toneIncrementFor(regs[voice * 2 + 1], regs[voice * 2]);
            if (toneIncrement[voice] == 0) tonePhase[voice] = TONE_HIGH_PHASE;
            break;
        }
        case 6: {
            const uint32_t period = uint32_t(value & 0x1F);
            regs[6] = static_cast<uint8_t>(period);
            noiseIncrement =
                period < 3 ? 0 : phaseIncrement(uint64_t(masterClock) << 12, period, outputRate);
            if (noiseIncrement == 0) {
                noisePhase = 0;
                noiseLevel = 0xFFFF;
            }
            break;
        }
        case 7:
            regs[7] = static_cast<uint8_t>(value);
            for (int v = 0; v < 3; ++v) {
                toneMask[v] = (value >> v) & 1 ? MASK_OFF : 0;
                noiseMask[v] = (value >> (v + 3)) & 1 ? MASK_OFF : 0;
            }
            break;
        case 8: case 9: case 10:
            regs[index] = static_cast<uint8_t>(value & 0x1F);
            voiceLevel[index - 8] = amplitudeTable[value & 0x0F];
            levelFromEnvelope[index - 8] = (value & 0x10) != 0;
            break;
        case 11: case 12:
            regs[index] = static_cast<uint8_t>(value);
            envelopeIncrement = envelopeIncrementFor(regs[12], regs[11]);
            break;
        case 13:
            regs[13] = static_cast<uint8_t>(value & 0x0F);
            envelopeShape = value & 0x0F;
            envelopePhase = 0;
            envelopeStage = 0;
            break;
    }
}

void Ym2149::startDigidrum(int voice, const uint8_t* data, uint32_t length, int32_t step) {
    if (voice < 0 || voice > 2 || data == nullptr || length == 0) return;
    VoiceEffect& e = voiceEffects[voice];
    e.drumData = data;
    e.drumLength = length;
    e.drumPosition = 0;
    e.drumStep = step;
    e.drumActive = true;
}

void Ym2149::startVolumeGate(int voice, int level, int32_t step) {
    if (voice < 0 || voice > 2) return;
    VoiceEffect& e = voiceEffects[voice];
    e.gateLevel = level & 0x0F;
    e.gateStep = step;
    e.gateActive = true;
}

void Ym2149::startEnvelopeRetrigger(int shape, int32_t step) {
    envelopeShape = shape & 0x0F;
    retriggerPhase = 0;
    retriggerIncrement = step;
}

void Ym2149::clearFrameEffects() {
    for (VoiceEffect& e : voiceEffects) e.gateActive = false;
    retriggerIncrement = 0;
    retriggerPhase = 0;
}

void Ym2149::setLowPass(bool on) {
    lowPassEnabled = on;
}

void Ym2149::runVoiceExtras() {
    for (int v = 0; v < 3; ++v) {
        VoiceEffect& e = voiceEffects[v];
        if (e.gateActive) {
            const bool on = (e.gatePhase & 0x80000000u) != 0;
            setRegister(8 + v, on ? e.gateLevel : 0);
        } else if (e.drumActive) {
            voiceLevel[v] = (int32_t(e.drumData[e.drumPosition >> 15]) * 255) / 6;
            levelFromEnvelope[v] = false;
            toneMask[v] = MASK_OFF;
            noiseMask[v] = MASK_OFF;
            e.drumPosition += uint32_t(e.drumStep);
            if ((e.drumPosition >> 15) >= e.drumLength) e.drumActive = false;
        }
    }
}
