#pragma once
// Loading helpers of the music tests: images load as at the demo's start-up,
// and songs are heard through the engine's interface only.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "generators/writers/ym_song_writer.h"
#include "ym/ym_music.h"

// YmMusic::load, then looping as the demo plays; `loaded` tells whether
// loading succeeded.
std::unique_ptr<YmMusic> loadSong(const YmBytes& image, bool* loaded = nullptr);

// loadSong that expects success (a test failure otherwise).
std::unique_ptr<YmMusic> loadedSong(const YmBytes& image);

// Like loadSong, but expects a refusal and returns its lastErrorText.
std::string refusal(const YmBytes& image);

// A frame whose bytes are all `fill`, then `changes` applied.
YmFrame16 frame16(std::initializer_list<std::pair<int, uint8_t>> changes, uint8_t fill = 0);

// The left channel of `frames` frames rendered in one request, or in requests
// of `request`; the right channel must equal it.
std::vector<int16_t> play(YmMusic& music, int frames, int request = 0);

// Output frames per register frame at 50 Hz.
const int FRAME_LENGTH = 882;

// What a chip driven by hand sounds like: tick(chip, n) runs before output
// frame n x 882.
std::vector<int16_t> reference(int frames, const std::function<void(Ym2149&, int)>& tick);

// A register frame of a "YM3!" to "YM6!" song without its effects: registers
// 0 to 10, the frame effects stopped, the envelope unless byte 13 is 255.
void writeFrame(Ym2149& chip, const uint8_t* f);
