#pragma once
// The VITRELUME logotype: geometric letters cut from convex polygons, and the
// chrome-glass shading used wherever the name appears.
#include "tools/pictures/canvas.h"

// Rasterises the word into a mask of exactly `width` x `height` pixels (the
// letters fill it edge to edge).
Mask logotypeMask(int width, int height);

struct ChromeStyle {
    int bevel = 1;             // highlight / shade depth in pixels
    Rgb outline = {10, 8, 30};  // near-black: pure black is transparent in the demo
    bool dither = false;       // dithered gradient (large sizes) or crisp bands
};

// Paints `letters` (placed at x, y) onto the canvas as chrome glass: a
// one-pixel near-black outline, a sky-over-horizon gradient and a bevel.
void paintChrome(Canvas& c, const Mask& letters, int x, int y, const ChromeStyle& style);

// Paints a mask as outlined text filled with a top-to-bottom ramp and a
// bright top edge: the gold lettering of the anniversary line and the font.
void paintGradientText(Canvas& c, const Mask& letters, int x, int y, const std::vector<Rgb>& ramp, Rgb outline,
                       bool dither);

// Darkens the area under a mask shifted by (dx, dy): a soft drop shadow.
void paintShadow(Canvas& c, const Mask& letters, int x, int y, int dx, int dy, int strength);
