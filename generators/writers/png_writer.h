#pragma once
// Minimal PNG encoder for the content generators. Output bytes depend only on
// the pixels (fixed filter choice, fixed zlib level, no time stamps), so a
// generator run reproduces the committed files exactly.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/atomic_file.h"  // writeFileBytes, for the generators

struct Rgb {
    uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Colour type 2, 8 bits per channel. `pixels` holds width * height entries.
std::vector<uint8_t> encodePngRgb(int width, int height, const std::vector<Rgb>& pixels);

// Colour type 3, 8-bit indices into `palette` (1 to 256 entries).
std::vector<uint8_t> encodePngPalette(int width, int height, const std::vector<uint8_t>& indices,
                                      const std::vector<Rgb>& palette);
