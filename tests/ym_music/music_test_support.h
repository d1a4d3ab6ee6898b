#pragma once
// Loading helpers of the music tests: images load as at the demo's start-up.
#include <memory>
#include <string>

#include "tools/ym_song_writer.h"
#include "ym/ym_music.h"

// YmMusic::load with the demo's settings after it (low-pass, looping);
// `loaded` tells whether loading succeeded.
std::unique_ptr<YmMusic> loadSong(const YmBytes& image, bool* loaded = nullptr);

// loadSong that expects success (a test failure otherwise).
std::unique_ptr<YmMusic> loadedSong(const YmBytes& image);

// Like loadSong, but expects a refusal and returns its lastError text.
std::string refusal(const YmBytes& image);

// A frame whose bytes are all `fill`, then `changes` applied.
YmFrame16 frame16(std::initializer_list<std::pair<int, uint8_t>> changes, uint8_t fill = 0);
