#pragma once
// Text set from the DejaVu faces that the system ships, thresholded to a hard
// mask (no anti-aliasing: the shading is done by hand afterwards).
#include <string>

#include "tools/pictures/canvas.h"

const char* const kFontBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kFontCondensedBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

// `latin1` holds one byte per character (ISO 8859-1). The mask is as tall as
// the font's ascent + descent at `pixelHeight` and as wide as the text plus
// `extraSpacing` pixels between letters. An empty mask means the font failed.
Mask textMask(const std::string& fontPath, const std::string& latin1, int pixelHeight, int extraSpacing = 0);

// The tight box of the set pixels of a mask, cut out as a new mask.
Mask cropMask(const Mask& m);
