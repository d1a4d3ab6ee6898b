// What a loaded song is, told once after loading: YmSongInfo.
#include <cmath>

#include "ym/ym_music.h"

namespace {

const char* textOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

void YmMusic::describeSong() {
    YmSongInfo& info = songInfo;  // the tag is already there, from parseFile
    info.kind = songKind;
    info.drumCount = drumCount;
    info.masterClock = chip.masterClock;
    info.title = textOrEmpty(title);
    info.author = textOrEmpty(author);
    info.comment = textOrEmpty(comment);
    info.format = textOrEmpty(formatLabel);
    info.driver = textOrEmpty(driverLabel);
    if (songKind == KIND_MIX) {
        // Each block plays its repeat count (at least once) at its own rate.
        info.blockCount = mixBlockCount;
        info.voiceCount = 1;
        double seconds = 0;
        for (int32_t i = 0; i < mixBlockCount; i++) {
            const MixBlock& block = mixBlocks[i];
            int plays = block.repeatCount > 1 ? block.repeatCount : 1;
            seconds += double(plays) * block.sampleLength / block.replayFrequency;
        }
        info.length = int64_t(std::ceil(seconds * YM_OUTPUT_RATE));
        info.loopLength = info.length;
        return;
    }
    info.frameCount = frameCount;
    info.playerRate = playerRate;
    info.loopFrame = loopFrame;
    const int64_t frameLength = sampleRate / playerRate;
    info.length = frameCount * frameLength;
    if (songKind == KIND_TRACKER) {
        info.voiceCount = trackerVoiceCount;
        info.loopLength = info.length;  // trackers go on at line 0
    } else {
        info.voiceCount = 3;
        info.loopLength = (frameCount - loopFrame) * frameLength;
    }
}
