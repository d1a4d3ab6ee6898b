#pragma once
// The three-voice sound chip at register level: 32-bit phase accumulators for
// the tones, the noise and the envelope, per-voice extras the music formats
// need (digidrums, volume gates, envelope retrigger), a DC remover and an
// optional 3-tap low-pass. Produces one signed 16-bit mono sample per call.
#include <cstdint>

namespace ym2149Tables {

// Measured output levels of the 4-bit volume steps, scaled so that three
// voices at full level fit a signed 16-bit sample.
constexpr int32_t scaledLevel(int32_t measured) {
    return (2 * measured) / 6;
}

// The envelope's amplitude per shape, stage (0: the once-only first half, 1:
// the repeating second half) and step.
struct Envelope {
    int32_t amplitude[16][2][32];
};

extern const Envelope ENVELOPE;  // built at compile time beside the chip

}  // namespace ym2149Tables

// 4-bit level to linear amplitude, scaled at compile time, so it is the same
// for every reader on every thread from the start.
inline constexpr int32_t amplitudeTable[16] = {
    ym2149Tables::scaledLevel(62),    ym2149Tables::scaledLevel(161),   ym2149Tables::scaledLevel(265),
    ym2149Tables::scaledLevel(377),   ym2149Tables::scaledLevel(580),   ym2149Tables::scaledLevel(774),
    ym2149Tables::scaledLevel(1155),  ym2149Tables::scaledLevel(1575),  ym2149Tables::scaledLevel(2260),
    ym2149Tables::scaledLevel(3088),  ym2149Tables::scaledLevel(4570),  ym2149Tables::scaledLevel(6233),
    ym2149Tables::scaledLevel(9330),  ym2149Tables::scaledLevel(13187), ym2149Tables::scaledLevel(21220),
    ym2149Tables::scaledLevel(32767)};

class Ym2149 {
public:
    Ym2149();

    // Power-on state; keeps masterClock, outputRate, the low-pass switch and the tables.
    void resetChip();
    // Indices outside 0..13 are ignored; only the low 8 bits of value count.
    void setRegister(int index, int value);
    // Inline: the player and the benchmarks call it once per output sample.
    int16_t renderSample();

    // Effect starts; a voice outside 0..2, null data or length 0 starts nothing.
    void startDigidrum(int voice, const uint8_t* data, uint32_t length, int32_t step);
    void startVolumeGate(int voice, int level, int32_t step);
    void startEnvelopeRetrigger(int shape, int32_t step);
    // Stops the gates and the retrigger; digidrums play on to their end.
    void clearFrameEffects();
    void setLowPass(bool on);

    uint32_t toneIncrementFor(int coarse, int fine) const;
    uint32_t envelopeIncrementFor(int coarse, int fine) const;

    struct VoiceEffect {
        bool drumActive;
        uint32_t drumLength;
        const uint8_t* drumData;  // not owned
        uint32_t drumPosition;    // 17.15 fixed point
        int32_t drumStep;
        bool gateActive;
        uint32_t gatePhase;  // bit 31 set: gate level on
        int32_t gateStep;
        int32_t gateLevel;
    };

    int32_t dcRing[512];
    int32_t dcIndex;
    int32_t dcSum;
    int32_t outputRate;
    uint32_t masterClock;
    uint8_t regs[14];
    uint32_t toneIncrement[3];
    uint32_t tonePhase[3];
    int32_t voiceLevel[3];
    int32_t envelopeLevel;
    int32_t toneMask[3];
    int32_t noiseMask[3];
    bool levelFromEnvelope[3];  // per voice: envelopeLevel (true) or voiceLevel
    uint32_t noiseIncrement;    // 16.16
    uint32_t noisePhase;        // 16.16
    uint32_t noiseShift;        // 17-bit shift register
    int32_t noiseLevel;         // 0 or 0xFFFF
    uint32_t envelopeIncrement;
    uint32_t envelopePhase;  // top 5 bits: step of the current stage
    int32_t envelopeStage;   // 0: once-only first half, 1: repeating second half
    int32_t envelopeShape;   // its amplitudes per stage and step: ym2149Tables::ENVELOPE
    VoiceEffect voiceEffects[3];
    int32_t retriggerIncrement;
    uint32_t retriggerPhase;
    int32_t lowPassHistory[2];
    bool lowPassEnabled;

private:
    // The steps of renderSample, in the order they run.
    void stepNoise();
    void runVoiceExtras();
    int32_t mixVoices() const;
    void advanceGenerators();
    int32_t removeDc(int32_t sample);
    int32_t lowPass(int32_t x0);
};

// At most one noise step per sample; whether it is due changes from sample to
// sample, so it is computed without a branch.
inline void Ym2149::stepNoise() {
    const uint32_t due = noisePhase >> 16 != 0;
    const uint32_t bit = (noiseShift ^ (noiseShift >> 2)) & 1;
    const uint32_t stepped = (noiseShift >> 1) | (bit << 16);
    noiseShift = due ? stepped : noiseShift;
    noiseLevel ^= int32_t((due & (bit ^ 1)) * 0xFFFF);
    noisePhase &= due ? 0xFFFFu : 0xFFFFFFFFu;
}

inline int32_t Ym2149::mixVoices() const {
    // Each voice: (tone high or disabled) and (noise high or disabled) gate its level.
    auto voice = [this](int v) {
        const int32_t tone = -int32_t(tonePhase[v] >> 31);  // all ones while high
        const int32_t level = levelFromEnvelope[v] ? envelopeLevel : voiceLevel[v];
        return (tone | toneMask[v]) & (noiseLevel | noiseMask[v]) & level;
    };
    return voice(0) + voice(1) + voice(2);
}

inline void Ym2149::advanceGenerators() {
    for (int v = 0; v < 3; ++v) tonePhase[v] += toneIncrement[v];
    noisePhase += noiseIncrement;
    envelopePhase += envelopeIncrement;
    // The first half plays once; once its phase wraps the second half loops.
    envelopeStage |= int32_t(envelopePhase < envelopeIncrement);

    retriggerPhase += uint32_t(retriggerIncrement);
    if (retriggerPhase & 0x80000000u) {
        retriggerPhase &= 0x7FFFFFFFu;
        envelopePhase = 0;
        envelopeStage = 0;
    }
    // The gate phases run on after their gates stop; most songs start none.
    VoiceEffect* e = voiceEffects;
    if (e[0].gateStep | e[1].gateStep | e[2].gateStep) {
        for (VoiceEffect& effect : voiceEffects) effect.gatePhase += uint32_t(effect.gateStep);
    }
}

inline int32_t Ym2149::removeDc(int32_t sample) {
    dcSum += sample - dcRing[dcIndex];
    dcRing[dcIndex] = sample;
    dcIndex = (dcIndex + 1) & 511;
    return sample - dcSum / 512;
}

inline int32_t Ym2149::lowPass(int32_t x0) {
    if (!lowPassEnabled) return x0;
    // Flooring shifts: the compilers we build with (GCC and Clang, native,
    // MinGW and WebAssembly) shift negative numbers arithmetically, as C++20
    // requires of all.
    const int32_t out = (x0 >> 2) + (lowPassHistory[0] >> 1) + (lowPassHistory[1] >> 2);
    lowPassHistory[1] = lowPassHistory[0];
    lowPassHistory[0] = x0;
    return out;
}

inline int16_t Ym2149::renderSample() {
    stepNoise();
    envelopeLevel = ym2149Tables::ENVELOPE.amplitude[envelopeShape][envelopeStage][envelopePhase >> 27];
    // Most samples have no extras running: one test for all six flags.
    const VoiceEffect* e = voiceEffects;
    if (e[0].gateActive | e[0].drumActive | e[1].gateActive | e[1].drumActive | e[2].gateActive |
        e[2].drumActive) {
        runVoiceExtras();
    }
    const int32_t mixed = mixVoices();
    advanceGenerators();
    const int32_t low = lowPass(removeDc(mixed)) & 0xFFFF;
    return static_cast<int16_t>(low >= 0x8000 ? low - 0x10000 : low);
}
