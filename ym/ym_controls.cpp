// The controls other threads set (pause, loop, mutes) and the readings they
// get back (position, meters): atomics, taken at the start of a render and
// published at its end, so a render keeps one setting throughout.
#include <algorithm>
#include <cstdlib>

#include "ym/ym_music.h"

namespace {

const uint32_t LEVEL_MASK = 0x0F;
const uint32_t FLAG_TONE = 1u << 4;
const uint32_t FLAG_NOISE = 1u << 5;
const uint32_t FLAG_ENVELOPE = 1u << 6;
const uint32_t FLAG_SAMPLE = 1u << 7;

uint32_t pack(const YmVoiceLevel& level) {
    return (uint32_t(level.level) & LEVEL_MASK) | (level.tone ? FLAG_TONE : 0) | (level.noise ? FLAG_NOISE : 0) |
           (level.envelope ? FLAG_ENVELOPE : 0) | (level.sample ? FLAG_SAMPLE : 0);
}

// The chip's 4-bit volume step whose amplitude is nearest below `amplitude`.
int32_t stepOfAmplitude(int32_t amplitude) {
    int32_t step = 0;
    while (step < 15 && amplitudeTable[step + 1] <= amplitude) step++;
    return step;
}

}  // namespace

void YmMusic::setVoiceMuted(int voice, bool muted) {
    if (voice < 0 || voice >= YM_MAX_VOICES) return;
    if (muted) {
        mutedRequest.fetch_or(1u << voice);
    } else {
        mutedRequest.fetch_and(~(1u << voice));
    }
}

bool YmMusic::isVoiceMuted(int voice) const {
    return voice >= 0 && voice < YM_MAX_VOICES && ((mutedRequest.load() >> voice) & 1) != 0;
}

YmVoiceLevel YmMusic::voiceLevel(int voice) const {
    YmVoiceLevel level;
    if (voice < 0 || voice >= YM_MAX_VOICES) return level;
    uint32_t packed = levelsShown[voice].load();
    level.level = int32_t(packed & LEVEL_MASK);
    level.tone = (packed & FLAG_TONE) != 0;
    level.noise = (packed & FLAG_NOISE) != 0;
    level.envelope = (packed & FLAG_ENVELOPE) != 0;
    level.sample = (packed & FLAG_SAMPLE) != 0;
    level.muted = isVoiceMuted(voice);
    return level;
}

// A change of loop or mutes makes the render from here on one that no render
// from the start gives: snapshots taken under the old settings go (but the
// start, which no setting has touched yet).
void YmMusic::takeControls() {
    uint32_t voices = songInfo.voiceCount > 0 ? (1u << songInfo.voiceCount) - 1 : 0;
    uint32_t muted = mutedRequest.load() & voices;
    bool loop = loopRequest.load() != 0;
    if (muted == mutedVoices && loop == loopEnabled) return;
    mutedVoices = muted;
    loopEnabled = loop;
    forgetSnapshots();
    if (renderedFrames != 0) onSnapshotGrid = false;
}

void YmMusic::publish(const int16_t* samples, int32_t frames, bool sounding) {
    positionShown.store(renderedFrames);
    finishedShown.store(finished);
    for (int v = 0; v < YM_MAX_VOICES; v++) {
        bool heard = sounding && v < songInfo.voiceCount;
        levelsShown[v].store(heard ? pack(measureVoice(v, samples, frames)) : 0);
    }
}

YmVoiceLevel YmMusic::measureVoice(int v, const int16_t* samples, int32_t frames) const {
    YmVoiceLevel level;
    if ((mutedVoices >> v) & 1) return level;
    if (songKind == KIND_MIX) {
        // One voice, measured on what it played: the loudest sample against
        // the chip's three voices at full level.
        int32_t peak = 0;
        for (int32_t i = 0; i < frames; i++) peak = std::max(peak, std::abs(int32_t(samples[2 * i])));
        level.level = stepOfAmplitude(peak / 3);
        level.sample = level.level > 0;
    } else if (songKind == KIND_TRACKER) {
        const TrackerVoice& voice = trackerVoices[v];
        if (voice.running) {
            level.level = (voice.volume * 15 + 31) / 63;
            level.sample = true;
        }
    } else {
        const Ym2149::VoiceEffect& effect = chip.voiceEffects[v];
        if (effect.drumActive) {
            level.level = stepOfAmplitude(chip.voiceLevel[v]);
            level.sample = true;
            return level;
        }
        level.tone = ((chip.regs[7] >> v) & 1) == 0;
        level.noise = ((chip.regs[7] >> (v + 3)) & 1) == 0;
        level.envelope = (chip.regs[8 + v] & 0x10) != 0;
        // Without tone or noise the voice holds a constant, which is not heard.
        if (level.tone || level.noise) {
            level.level = stepOfAmplitude(level.envelope ? chip.envelopeLevel : chip.voiceLevel[v]);
        }
    }
    return level;
}
