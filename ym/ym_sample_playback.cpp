// Sample-based songs: digi-mix blocks (20.12 fixed point) and tracker voices
// (16.16 fixed point), both resampled with linear interpolation and written
// as the same mono value to left and right.
#include <cstring>

#include "ym/ym_music.h"

namespace {

void writeSilence(int16_t* samples, int32_t frames) {
    std::memset(samples, 0, size_t(frames) * 2 * sizeof(int16_t));
}

}  // namespace

void YmMusic::renderDigiMix(int16_t* samples, int32_t frames) {
    if (currentMixBlock == -1) {
        mixRepeatsLeft = -1;
        advanceMixBlock();
    }
    for (int32_t done = 0; done < frames; done++) {
        uint32_t i = mixPosition >> 12;
        int32_t a = int8_t(mixCursor[i]) * 256;
        int32_t b = i < (mixEnd >> 12) - 1 ? int8_t(mixCursor[i + 1]) * 256 : a;
        int16_t value = int16_t(a + (((b - a) * int32_t(mixPosition & 0xFFF)) >> 12));
        if (mutedVoices & 1) value = 0;
        samples[2 * done] = value;
        samples[2 * done + 1] = value;
        mixPosition += mixStep;
        if (mixPosition >= mixEnd) {
            advanceMixBlock();
            if (finished) {
                // The song ended inside the request: the rest is silence.
                writeSilence(samples + 2 * (done + 1), frames - done - 1);
                return;
            }
        }
    }
}

void YmMusic::advanceMixBlock() {
    mixRepeatsLeft -= 1;
    if (mixRepeatsLeft <= 0) {
        currentMixBlock += 1;
        if (currentMixBlock >= mixBlockCount) {
            currentMixBlock = 0;
            if (!loopEnabled) finished = 1;
        }
        mixRepeatsLeft = mixBlocks[currentMixBlock].repeatCount;
    }
    const MixBlock& block = mixBlocks[currentMixBlock];
    mixCursor = mixSamples + block.sampleStart;
    mixEnd = block.sampleLength << 12;
    mixStep = (uint32_t(block.replayFrequency) << 12) / uint32_t(sampleRate);
    mixPosition &= 0xFFF;
}

void YmMusic::renderTracker(int16_t* samples, int32_t frames) {
    writeSilence(samples, frames);
    if (finished) return;
    while (frames > 0) {
        if (lineSamplesLeft == 0) {
            // Past the last line: back to line 0 (whatever loopFrame says), or
            // the end of a song that does not loop, once its last line has sounded.
            if (nextFrame >= frameCount || nextFrame < 0) {
                nextFrame = 0;
                if (!loopEnabled) {
                    finished = 1;
                    return;
                }
            }
            const uint8_t* line = frameData + size_t(nextFrame) * size_t(trackerVoiceCount) * 4;
            for (int32_t v = 0; v < trackerVoiceCount; v++, line += 4) {
                TrackerVoice& voice = trackerVoices[v];
                voice.frequency = line[2] * 256 + line[3];
                if (voice.frequency == 0) {
                    voice.running = 0;
                    continue;
                }
                voice.volume = line[1] & 0x3F;
                voice.looping = (line[1] >> 6) & 1;
                if (line[0] != 255) {
                    const DigiDrum& sample = drums[line[0]];
                    voice.running = 1;
                    voice.sampleData = sample.samples;
                    voice.sampleSize = sample.size;
                    voice.repeatLength = sample.repeatLength;
                    voice.samplePosition = 0;
                }
            }
            nextFrame += 1;
            lineSamplesLeft = sampleRate / playerRate;
        }

        int32_t n = lineSamplesLeft < frames ? lineSamplesLeft : frames;
        lineSamplesLeft -= n;
        for (int32_t v = 0; v < trackerVoiceCount; v++) {
            TrackerVoice& voice = trackerVoices[v];
            if (!voice.running) continue;
            // A muted voice goes on through its sample unheard.
            const uint16_t heard = (mutedVoices >> v) & 1 ? 0 : 0xFFFF;
            uint32_t pos = voice.samplePosition;
            double exactStep = double(1u << trackerFrequencyShift) * (double(voice.frequency) * 65536.0) /
                               double(sampleRate);
            uint32_t step = uint32_t(int64_t(exactStep));
            uint32_t end = voice.sampleSize << 16;
            const int16_t* row = trackerVolumeTable[voice.volume];
            const uint8_t* data = voice.sampleData;
            for (int32_t i = 0; i < n; i++) {
                int32_t a = row[data[pos >> 16]];
                int32_t b = pos < end - 65536 ? row[data[(pos >> 16) + 1]] : a;
                int64_t slope = int64_t(b - a) * int64_t(pos & 0xFFFF);
                uint16_t value = uint16_t(a + int32_t(slope >> 16)) & heard;
                int16_t& out = samples[2 * i];
                out = int16_t(uint16_t(uint16_t(out) + value));
                pos += step;
                if (pos >= end) {
                    if (voice.looping) pos -= voice.repeatLength << 16;
                    // A repeat that does not bring the position back inside
                    // the sample ends the voice rather than read past it.
                    if (pos >= end) {
                        voice.running = 0;
                        break;
                    }
                }
            }
            if (voice.running) voice.samplePosition = pos;
        }
        for (int32_t i = 0; i < n; i++) samples[2 * i + 1] = samples[2 * i];
        samples += 2 * n;
        frames -= n;
    }
}
