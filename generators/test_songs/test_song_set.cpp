// One valid song of every kind the loader accepts, made in memory: the fuzz
// seeds, the ymrender demos, the player's tests and material for by-ear checks.
#include "generators/test_songs/test_song_set.h"

#include <cmath>
#include <string>

namespace {

// Deterministic noise for drum samples.
struct Noise {
    uint32_t state = 0x1234567u;
    int next() {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) & 0xFF) - 128;
    }
};

// One cycle-exact tone of `length` bytes (unsigned, centre 128), `cycles` periods.
YmBytes toneSample(size_t length, int cycles, int amplitude) {
    YmBytes bytes(length);
    for (size_t i = 0; i < length; i++) {
        double phase = 2.0 * 3.14159265358979 * double(cycles) * double(i) / double(length);
        bytes[i] = uint8_t(128 + int(std::lround(amplitude * std::sin(phase))));
    }
    return bytes;
}

YmBytes drumSample(size_t length, bool tonal) {
    YmBytes bytes(length);
    Noise noise;
    for (size_t i = 0; i < length; i++) {
        int decay = int(256 - 256 * i / length);
        int body = tonal ? int(100 * std::sin(double(i) * 0.3 * (1.0 - double(i) / double(length)))) : 0;
        int value = ((noise.next() / (tonal ? 3 : 1) + body) * decay) / 256;
        bytes[i] = uint8_t(128 + (value < -128 ? -128 : value > 127 ? 127 : value));
    }
    return bytes;
}

// A YM5 song with a volume gate on voice B and digidrums on voice C.
YmRegisterSong effectSong(const char* tag, int32_t frames, bool interleaved) {
    YmRegisterSong song;
    song.tag = tag;
    song.frames = composeTune(frames);
    song.attributes = interleaved ? 1 : 0;
    song.drums = {drumSample(1200, true), drumSample(600, false), {}};
    song.texts = {std::string(tag) + " effects", "Vitrelume", "gates, drums and retrigger"};
    bool six = std::string(tag) == "YM6!";
    for (int32_t i = 0; i < frames; i++) {
        YmFrame16& f = song.frames[size_t(i)];
        if (i % 32 == 8) {  // gate on voice B at level 12
            f[1] = uint8_t((f[1] & 0x0F) | 0x20);
            f[6] = uint8_t((f[6] & 0x1F) | (3 << 5));  // prescaler 16
            f[9] = 12;
            f[14] = 40;
        }
        if (i % 16 == 0) {  // drum (alternating) on voice C
            f[3] = uint8_t((f[3] & 0x0F) | (six ? 0x70 : 0x30));
            f[8] = uint8_t((f[8] & 0x1F) | (1 << 5));   // prescaler 4
            f[10] = uint8_t((i / 16) % 2);
            f[15] = 60;
        }
        if (six && i % 64 == 32) {  // envelope retrigger from voice A's byte (shape 14)
            f[1] = uint8_t((f[1] & 0x0F) | 0xD0);
            f[6] = uint8_t((f[6] & 0x1F) | (6 << 5));  // prescaler 100
            f[8] = 0x3E;  // keeps the drum prescaler; voice A follows the envelope
            f[14] = 120;
        }
    }
    return song;
}

void putLine(YmBytes& lines, int sample, int volume, int frequency) {
    lines.insert(lines.end(), {uint8_t(sample), uint8_t(volume), uint8_t(frequency >> 8), uint8_t(frequency)});
}

YmTrackerSong trackerSong(const char* tag, int32_t seconds) {
    static const int notes[8] = {8363, 9387, 10536, 11163, 12530, 14064, 15787, 16726};
    YmTrackerSong song;
    song.tag = tag;
    song.voiceCount = 3;
    song.playerRate = 50;
    bool second = std::string(tag) == "YMT2";
    song.attributes = second ? 0x10000001u : 0u;  // interleaved, frequency shift 1
    song.samples = {{toneSample(256, 4, 90), 256}, {drumSample(3000, true), 0}, {drumSample(900, false), 0}};
    song.texts = {std::string(tag) + " tune", "Vitrelume", "three voices"};
    int shiftDivisor = second ? 2 : 1;
    for (int32_t n = 0; n < seconds * 50; n++) {
        int step = n / 6;
        bool newNote = n % 6 == 0;
        putLine(song.lines, newNote ? 0 : 255, 40 | 0x40, notes[(step * 3) % 8] / shiftDivisor);
        putLine(song.lines, n % 24 == 0 ? 1 : 255, 63, n % 24 < 20 ? 8363 / shiftDivisor : 0);
        putLine(song.lines, n % 12 == 6 ? 2 : 255, 50, n % 12 >= 6 ? 11000 / shiftDivisor : 0);
    }
    song.loopFrame = uint32_t(song.lines.size() / 12 / 2);
    return song;
}

YmMixSong mixSong(bool signedSamples, int32_t seconds) {
    YmMixSong song;
    song.signedSamples = signedSamples;
    YmBytes tone = toneSample(2205, 20, 50);
    YmBytes drum = drumSample(4000, true);
    song.sampleData = tone;
    song.sampleData.insert(song.sampleData.end(), drum.begin(), drum.end());
    if (signedSamples) {
        for (uint8_t& b : song.sampleData) b ^= 0x80;
    }
    // Each pass is about two seconds; repeat the pattern to fill the length.
    for (int32_t i = 0; i < (seconds + 1) / 2; i++) {
        song.blocks.push_back({0, 2205, 8, 22050});
        song.blocks.push_back({2205, 4000, 2, 16000});
        song.blocks.push_back({0, 1000, 40, 44100});  // 40 clamps to 32
    }
    song.texts = {signedSamples ? "Mix signed" : "Mix", "Vitrelume", "digi-mix blocks"};
    return song;
}

}  // namespace


std::vector<TestSong> makeTestSongs(int32_t seconds) {
    int32_t frames = seconds * 50;

    YmRegisterSong plain;
    plain.frames = composeTune(frames);
    plain.loopFrame = uint32_t(frames / 2);
    YmRegisterSong fourBit = effectSong("YM5!", frames, false);
    fourBit.attributes |= 4;
    for (uint8_t& b : fourBit.drums[0]) b = uint8_t(b >> 4);

    std::vector<YmFrame14> oldFrames = composeOldTune(frames);
    std::vector<YmFrame14> ym2Frames = oldFrames;
    for (size_t i = 0; i < ym2Frames.size(); i++) {
        if (i % 8 == 0) {  // built-in drums on voice C
            ym2Frames[i][10] = uint8_t(0x80 | ((i / 8) % 40));
            ym2Frames[i][12] = 200;
        }
    }
    return {
        {"ym2.ym", writeOldRegisterSong("YM2!", ym2Frames)},
        {"ym3.ym", writeOldRegisterSong("YM3!", oldFrames)},
        {"ym3b.ym", writeOldRegisterSong("YM3b", oldFrames, uint32_t(frames / 4))},
        {"ym5.ym", writeRegisterSong(plain)},
        {"ym5-effects.ym", writeRegisterSong(effectSong("YM5!", frames, true))},
        {"ym5-4bit-plain.ym", writeRegisterSong(fourBit)},
        {"ym6-effects.ym", writeRegisterSong(effectSong("YM6!", frames, true))},
        {"ymt1.ym", writeTrackerSong(trackerSong("YMT1", seconds))},
        {"ymt2.ym", writeTrackerSong(trackerSong("YMT2", seconds))},
        {"mix1.ym", writeMixSong(mixSong(false, seconds))},
        {"mix1-signed.ym", writeMixSong(mixSong(true, seconds))},
    };
}
