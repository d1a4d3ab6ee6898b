#include "generators/writers/ym_song_writer.h"

#include <cstdio>

namespace {

void putBe32(YmBytes& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void putBe16(YmBytes& out, uint32_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// Byte by byte: g++ 12 warns wrongly about range inserts of short texts.
void putChars(YmBytes& out, const char* text, size_t count) {
    for (size_t i = 0; i < count; i++) out.push_back(uint8_t(text[i]));
}

void putText(YmBytes& out, const std::string& text) { putChars(out, text.c_str(), text.size() + 1); }

void putTag(YmBytes& out, const char* tag, bool checkString) {
    putChars(out, tag, 4);
    if (checkString) putChars(out, "VaRnOlI!", 8);
}

void putTexts(YmBytes& out, const YmSongTexts& texts) {
    putText(out, texts.title);
    putText(out, texts.author);
    putText(out, texts.comment);
}

// Rows of `width` bytes, stored column by column when `interleaved`.
void putRows(YmBytes& out, const uint8_t* rows, size_t count, size_t width, bool interleaved) {
    for (size_t i = 0; i < count * width; i++) {
        size_t index = interleaved ? (i % count) * width + i / count : i;
        out.push_back(rows[index]);
    }
}

}  // namespace

YmBytes writeOldRegisterSong(const char* tag, const std::vector<YmFrame14>& frames, uint32_t loopFrame) {
    YmBytes out;
    putTag(out, tag, false);
    putRows(out, frames.empty() ? nullptr : frames[0].data(), frames.size(), 14, true);
    if (std::string(tag) == "YM3b") {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(loopFrame >> shift));
    }
    return out;
}

YmBytes writeRegisterSong(const YmRegisterSong& song) {
    YmBytes out;
    putTag(out, song.tag, true);
    putBe32(out, uint32_t(song.frames.size()));
    putBe32(out, song.attributes);
    putBe16(out, uint32_t(song.drums.size()));
    putBe32(out, song.masterClock);
    putBe16(out, song.playerRate);
    putBe32(out, song.loopFrame);
    putBe16(out, uint32_t(song.extraData.size()));
    out.insert(out.end(), song.extraData.begin(), song.extraData.end());
    for (const YmBytes& drum : song.drums) {
        putBe32(out, uint32_t(drum.size()));
        out.insert(out.end(), drum.begin(), drum.end());
    }
    putTexts(out, song.texts);
    putRows(out, song.frames.empty() ? nullptr : song.frames[0].data(), song.frames.size(), 16,
            song.attributes & 1);
    putChars(out, "End!", 4);
    return out;
}

YmBytes writeTrackerSong(const YmTrackerSong& song) {
    bool second = std::string(song.tag) == "YMT2";
    YmBytes out;
    putTag(out, song.tag, true);
    putBe16(out, song.voiceCount);
    putBe16(out, song.playerRate);
    size_t lineBytes = size_t(song.voiceCount) * 4;
    size_t lineCount = lineBytes ? song.lines.size() / lineBytes : 0;
    putBe32(out, uint32_t(lineCount));
    putBe32(out, song.loopFrame);
    putBe16(out, uint32_t(song.samples.size()));
    putBe32(out, song.attributes);
    putTexts(out, song.texts);
    for (const YmTrackerSample& sample : song.samples) {
        putBe16(out, uint32_t(sample.bytes.size()));
        if (second) {
            putBe16(out, sample.repeatLength);
            putBe16(out, 0);
        }
        out.insert(out.end(), sample.bytes.begin(), sample.bytes.end());
    }
    putRows(out, song.lines.data(), lineCount, lineBytes, song.attributes & 1);
    return out;
}

YmBytes writeMixSong(const YmMixSong& song) {
    YmBytes out;
    putTag(out, "MIX1", true);
    putBe32(out, song.signedSamples ? 1 : 0);
    putBe32(out, uint32_t(song.sampleData.size()));
    putBe32(out, uint32_t(song.blocks.size()));
    for (const YmMixBlockSpec& block : song.blocks) {
        putBe32(out, block.start);
        putBe32(out, block.length);
        putBe16(out, block.repeatCount);
        putBe16(out, block.frequency);
    }
    putTexts(out, song.texts);
    out.insert(out.end(), song.sampleData.begin(), song.sampleData.end());
    return out;
}

std::vector<YmFrame16> composeTune(int32_t frameCount) {
    static const uint16_t scale[8] = {478, 426, 379, 358, 319, 284, 253, 239};  // tone periods
    static const uint8_t chord[4] = {0, 2, 4, 7};
    std::vector<YmFrame16> frames(size_t(frameCount > 0 ? frameCount : 0));
    for (int32_t i = 0; i < frameCount; i++) {
        YmFrame16& f = frames[size_t(i)];
        f.fill(0);
        int32_t bar = i / 64;
        int32_t step = (i / 8) % 8;
        uint16_t bass = uint16_t(scale[(bar * 3 + step / 4) % 8] * 4);
        uint16_t lead = scale[(chord[i % 4] + bar) % 8];
        uint16_t beat = uint16_t(scale[(step * 5) % 8] / 2);
        f[0] = uint8_t(bass);
        f[1] = uint8_t(bass >> 8);
        f[2] = uint8_t(lead);
        f[3] = uint8_t(lead >> 8);
        f[4] = uint8_t(beat);
        f[5] = uint8_t(beat >> 8);
        f[6] = uint8_t(4 + step * 3);
        bool drumHit = (i % 16) < 2;
        f[7] = drumHit ? 0x18 : 0x38;  // noise on voice C for the beat
        f[8] = (i % 128) < 64 ? 0x10 : 14;  // bass on the envelope half the time
        f[9] = uint8_t(12 - (i % 8));
        f[10] = drumHit ? 13 : 0;
        f[11] = 0x40;
        f[12] = 0x02;
        f[13] = (i % 64) == 0 ? 10 : 255;
    }
    return frames;
}

std::vector<YmFrame14> composeOldTune(int32_t frameCount) {
    std::vector<YmFrame16> tune = composeTune(frameCount);
    std::vector<YmFrame14> frames(tune.size());
    for (size_t i = 0; i < tune.size(); i++) {
        for (size_t r = 0; r < 14; r++) frames[i][r] = tune[i][r];
    }
    return frames;
}
