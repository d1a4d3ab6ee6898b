#pragma once
// Plays a parsed score frame by frame, as a tracker would, and records the 16
// register bytes of every 50 Hz frame in the layout of a "YM5!" song:
// bytes 0-13 are chip registers, and the spare bits of bytes 1, 3, 6, 8 with
// bytes 14 and 15 start the volume gate and the digidrum of the frame.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "generators/compose/score.h"
#include "ym/ym_music.h"

using RegisterFrame = std::array<uint8_t, 16>;

constexpr uint32_t kComposeMasterClock = YM_DEFAULT_MASTER_CLOCK;
constexpr int kComposeFrameRate = 50;

// On failure (voices fighting over a shared register, two digidrums in one
// frame...) returns false and names the frame and section.
bool sequenceScore(const Score& score, std::vector<RegisterFrame>& frames, std::string& error);
