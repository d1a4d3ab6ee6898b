// Register-song playback: one frame of chip registers per 1/playerRate second,
// with the frame's extra controls (digidrums, volume gates, envelope
// retrigger), and one chip sample per output frame in between.
#include <cstring>

#include "ym/drum_set.h"
#include "ym/ym_music.h"

namespace {

const int VOICE_C = 2;

// Moves the gate (or retrigger) phase by about 2^31 per timer period of t
// ticks, downward; the product wraps in 32 bits.
int32_t gateStep(const Ym2149& chip, uint32_t t) {
    int32_t perSample = INT32_MIN / chip.outputRate;
    return int32_t(uint32_t(perSample) * (timerClock / t));
}

// Reads one sample byte per timer tick of t; 17.15 fixed point, the shift wraps.
int32_t drumStep(const Ym2149& chip, uint32_t t) {
    uint32_t shifted = (timerClock / t) << 15;
    return int32_t(shifted) / chip.outputRate;
}

int32_t timerTicks(const uint8_t* frame, int prescalerByte, int countByte) {
    return timerPrescaleTable[frame[prescalerByte] >> 5] * frame[countByte];
}

bool isMuted(uint32_t mutedVoices, int voice) { return (mutedVoices >> voice) & 1; }

}  // namespace

bool YmMusic::renderAudio(int16_t* samples, int32_t frames) {
    if (frames < 0) frames = 0;
    takeControls();
    if (!musicReady || paused || finished) {
        std::memset(samples, 0, size_t(frames) * 2 * sizeof(int16_t));
        publish(samples, frames, false);
        return !finished;
    }
    if (frames == 0) return true;
    keepSnapshot(frames, false);
    renderSong(samples, frames);
    renderedFrames += frames;
    publish(samples, frames, true);
    return true;
}

void YmMusic::renderSong(int16_t* samples, int32_t frames) {
    if (songKind == KIND_MIX) {
        renderDigiMix(samples, frames);
    } else if (songKind == KIND_TRACKER) {
        renderTracker(samples, frames);
    } else {
        renderChip(samples, frames);
    }
}

void YmMusic::renderChip(int16_t* samples, int32_t frames) {
    const int32_t frameLength = sampleRate / playerRate;
    int32_t remaining = frames;
    while (remaining > 0) {
        int32_t n = frameLength - frameSampleCount;
        if (n > remaining) n = remaining;
        frameSampleCount += n;
        // The tick comes before the chunk: a request that ends inside a frame
        // period leaves its rest to be played with the next frame's registers.
        if (frameSampleCount >= frameLength) {
            advanceFrame();
            frameSampleCount -= frameLength;
        }
        for (int32_t i = 0; i < n; i++) {
            int16_t s = chip.renderSample();
            samples[0] = s;
            samples[1] = s;
            samples += 2;
        }
        remaining -= n;
    }
}

// Registers 0 to 10 of a frame. A muted voice gets level 0 with its tone and
// noise off: a constant the chip's DC remover takes out, so it is not heard.
void YmMusic::writeFrameRegisters(const uint8_t* f) {
    for (int r = 0; r <= 10; r++) {
        int value = f[r];
        if (r == 7) {
            for (int v = 0; v < 3; v++) {
                if (isMuted(mutedVoices, v)) value |= 0x09 << v;
            }
        } else if (r >= 8 && isMuted(mutedVoices, r - 8)) {
            value = 0;
        }
        chip.setRegister(r, value);
    }
    // A digidrum started before its voice was muted stops here.
    for (int v = 0; v < 3; v++) {
        if (isMuted(mutedVoices, v)) chip.voiceEffects[v].drumActive = false;
    }
}

void YmMusic::advanceFrame() {
    if (nextFrame < 0) nextFrame = 0;
    if (nextFrame >= frameCount) {
        if (!loopEnabled) {
            finished = 1;
            chip.resetChip();
            return;
        }
        nextFrame = loopFrame;
    }
    const uint8_t* f = frameData + size_t(nextFrame) * size_t(frameBytes);
    writeFrameRegisters(f);
    chip.clearFrameEffects();

    if (songKind == KIND_YM2) {
        if (f[13] != 255) {
            chip.setRegister(11, f[11]);
            chip.setRegister(12, 0);
            chip.setRegister(13, 10);
        }
        if (f[10] & 0x80) {
            chip.setRegister(7, chip.regs[7] | 0x24);
            uint32_t d = f[10] & 0x7F;
            uint32_t c = f[12];
            if (c != 0 && d < BUILT_IN_DRUM_COUNT && !isMuted(mutedVoices, VOICE_C)) {
                const BuiltInDrum& drum = builtInDrumSet[d];
                chip.startDigidrum(VOICE_C, drum.samples, drum.size, drumStep(chip, c));
            }
        }
    } else {
        chip.setRegister(11, f[11]);
        chip.setRegister(12, f[12]);
        if (f[13] != 255) chip.setRegister(13, f[13]);
    }

    if (songKind == KIND_YM6) {
        startFrameEffect(f, 1, 6, 14);
        startFrameEffect(f, 3, 8, 15);
    } else if (songKind == KIND_YM5) {
        int v = (f[1] >> 4) & 3;
        int32_t t = timerTicks(f, 6, 14);
        if (v != 0 && t != 0 && !isMuted(mutedVoices, v - 1)) {
            chip.startVolumeGate(v - 1, f[7 + v] & 0x0F, gateStep(chip, uint32_t(t)));
        }
        v = (f[3] >> 4) & 3;
        if (v != 0) startSongDrum(v - 1, f[7 + v] & 0x1F, timerTicks(f, 8, 15));
    }
    nextFrame += 1;
}

// Starts the song's digidrum k on a voice, if it exists, has bytes, the timer
// runs and the voice is heard.
void YmMusic::startSongDrum(int voice, int32_t k, int32_t t) {
    if (k >= drumCount || t <= 0 || isMuted(mutedVoices, voice)) return;
    const DigiDrum& drum = drums[k];
    if (drum.samples && drum.size != 0) {
        chip.startDigidrum(voice, drum.samples, drum.size, drumStep(chip, uint32_t(t)));
    }
}

void YmMusic::startFrameEffect(const uint8_t* f, int codeByte, int prescalerByte, int countByte) {
    int c = f[codeByte];
    int32_t t = timerTicks(f, prescalerByte, countByte);
    if ((c & 0x30) == 0) return;
    int v = ((c >> 4) & 3) - 1;
    int b = f[8 + v];
    switch (c & 0xC0) {
        case 0x00:
            if (t != 0 && !isMuted(mutedVoices, v)) chip.startVolumeGate(v, b & 0x0F, gateStep(chip, uint32_t(t)));
            break;
        case 0x40:
            startSongDrum(v, b & 0x1F, t);
            break;
        case 0xC0:
            if (t != 0) chip.startEnvelopeRetrigger(b & 0x0F, gateStep(chip, uint32_t(t)));
            break;
        default:  // type 2 does nothing
            break;
    }
}

void YmMusic::stopAndRewind() {
    paused = 1;
    nextFrame = 0;
    currentMixBlock = -1;
    renderedFrames = 0;
    onSnapshotGrid = false;  // the chip keeps its state: not the song's start
    publish(nullptr, 0, false);
}
