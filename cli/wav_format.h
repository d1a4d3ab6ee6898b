#pragma once
// The sound files the tools write: 44,100 Hz, 16-bit signed, stereo PCM, the
// format the sound stream plays.
#include <cstddef>
#include <cstdint>
#include <vector>

enum : int32_t { WAV_RATE = 44100, WAV_FRAME_BYTES = 4, WAV_HEADER_BYTES = 44 };
const int64_t WAV_MAX_FRAMES = (0xFFFFFFFFll - 36) / WAV_FRAME_BYTES;  // the RIFF sizes are 32 bits

// The 44-byte RIFF header of a file holding `frames` stereo frames.
inline std::vector<uint8_t> wavHeader(uint32_t frames) {
    std::vector<uint8_t> h(WAV_HEADER_BYTES);
    size_t at = 0;
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; i++) h[at++] = uint8_t(s[i]);
    };
    auto le = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; i++) h[at++] = uint8_t(value >> (8 * i));
    };
    const uint32_t dataBytes = frames * WAV_FRAME_BYTES;
    text("RIFF");
    le(36 + dataBytes, 4);
    text("WAVE");
    text("fmt ");
    le(16, 4);
    le(1, 2);  // PCM
    le(2, 2);  // stereo
    le(WAV_RATE, 4);
    le(WAV_RATE * WAV_FRAME_BYTES, 4);
    le(WAV_FRAME_BYTES, 2);
    le(16, 2);
    text("data");
    le(dataBytes, 4);
    return h;
}

// Samples as the file stores them, little-endian whatever the machine's order.
inline void samplesToLittleEndian(const int16_t* samples, size_t count, uint8_t* out) {
    for (size_t i = 0; i < count; i++) {
        out[2 * i] = uint8_t(uint16_t(samples[i]));
        out[2 * i + 1] = uint8_t(uint16_t(samples[i]) >> 8);
    }
}
