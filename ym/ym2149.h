#pragma once
// The three-voice sound chip at register level: 32-bit phase accumulators for
// the tones, the noise and the envelope, per-voice extras the music formats
// need (digidrums, volume gates, envelope retrigger), a DC remover and an
// optional 3-tap low-pass. Produces one signed 16-bit mono sample per call.
#include <cstdint>

// 4-bit level to linear amplitude. The first Ym2149 construction scales it
// in place so that three voices at full level fit a signed 16-bit sample.
extern int32_t amplitudeTable[16];

class Ym2149 {
public:
    Ym2149();

    // Power-on state; keeps masterClock, outputRate, the low-pass switch and the tables.
    void resetChip();
    // Indices outside 0..13 are ignored; only the low 8 bits of value count.
    void setRegister(int index, int value);
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
    int32_t envelopeShape;
    uint8_t envelopeTable[16][2][32];
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
