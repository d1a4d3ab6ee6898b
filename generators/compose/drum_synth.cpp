#include "generators/compose/drum_synth.h"

#include "generators/compose/pitch.h"

std::vector<uint8_t> synthesiseSample(const SampleRecipe& r) {
    std::vector<uint8_t> out(static_cast<size_t>(r.length));
    // Amplitudes in 1/32768 of full scale; frequencies in 1/256 Hz.
    int64_t toneAmp = r.toneLevel * 32768 / 100;
    int64_t noiseAmp = r.noiseLevel * 32768 / 100;
    int64_t freq = static_cast<int64_t>(r.toneStart) << 8;
    const int64_t freqEnd = static_cast<int64_t>(r.toneEnd) << 8;
    uint32_t phase = 0;
    uint32_t lfsr = r.seed ? r.seed : 1;
    int noise = 0;
    for (int i = 0; i < r.length; ++i) {
        if (i % r.noiseHold == 0) {
            lfsr ^= lfsr << 13;
            lfsr ^= lfsr >> 17;
            lfsr ^= lfsr << 5;
            noise = static_cast<int>(lfsr >> 16) - 32768;
        }
        int tone = sine16(phase >> 16);
        int64_t swing = (toneAmp * tone + noiseAmp * noise) >> 15;
        // The chip plays amplitudes, not a signed wave: centre the swing on
        // the current loudness so the sound fades to 0, not to mid-level.
        int64_t base = toneAmp + noiseAmp;
        int64_t value = (base + swing) * 255 / 65536;
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);

        phase += static_cast<uint32_t>((freq << 24) / r.rate);
        freq -= (freq - freqEnd) / r.sweep;
        toneAmp -= toneAmp / r.toneDecay + (toneAmp > 0 && toneAmp < r.toneDecay ? 1 : 0);
        noiseAmp -= noiseAmp / r.noiseDecay + (noiseAmp > 0 && noiseAmp < r.noiseDecay ? 1 : 0);
    }
    // Fade the last bytes to 0: the voice holds the final byte's level until
    // the next frame rewrites it.
    int tail = r.length < 64 ? r.length : 64;
    for (int i = 0; i < tail; ++i) {
        size_t k = static_cast<size_t>(r.length - tail + i);
        out[k] = static_cast<uint8_t>(out[k] * (tail - 1 - i) / tail);
    }
    return out;
}
