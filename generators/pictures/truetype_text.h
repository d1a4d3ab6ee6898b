#pragma once
// Text set from the DejaVu faces that the system ships, thresholded to a hard
// mask (no anti-aliasing: the shading is done by hand afterwards).
#include <string>

#include "generators/pictures/canvas.h"

const char* const kFontBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kFontCondensedBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

// `latin1` holds one byte per character (ISO 8859-1). The mask is as tall as
// the font's ascent + descent at `pixelHeight` and as wide as the text plus
// `extraSpacing` pixels between letters. An empty mask means the font failed.
Mask textMask(const std::string& fontPath, const std::string& latin1, int pixelHeight, int extraSpacing = 0);

// The tight box of the set pixels of a mask, cut out as a new mask.
Mask cropMask(const Mask& m);

// One character drawn with separate horizontal and vertical scales chosen by
// cap height: the "H" of the face is `capHeight` pixels tall at widthPercent
// 100. The mask is `size` x `size`, with the baseline on row `baseline` and
// the glyph's left edge at column 0 before `shiftX`.
Mask glyphMask(const std::string& fontPath, int codepoint, int capHeight, int widthPercent, int size, int baseline,
               int shiftX);
// Width in pixels of the same glyph's ink box (0 for a blank glyph).
int glyphInkWidth(const std::string& fontPath, int codepoint, int capHeight, int widthPercent);
