#pragma once
// The VITRELUME logotype: geometric letters cut from convex polygons, and the
// chrome-glass shading used wherever the name appears.
#include "generators/pictures/canvas.h"

// Rasterises the word into a mask of exactly `width` x `height` pixels (the
// letters fill it edge to edge).
Mask logotypeMask(int width, int height);

// Sky half: pale ice down to deep cyan-blue; ground half: dark violet up to
// magenta and gold, split by a bright horizon line.
const std::vector<Rgb> kChromeSky = {{236, 252, 255}, {196, 236, 255}, {150, 210, 250},
                                     {104, 172, 240}, {70, 128, 226},  {52, 92, 204}};
const std::vector<Rgb> kChromeGround = {{34, 16, 66},   {64, 26, 104},  {110, 40, 146}, {168, 58, 172},
                                        {226, 96, 168}, {250, 160, 130}, {255, 214, 120}};

struct ChromeStyle {
    int bevel = 1;              // highlight / shade depth in pixels
    Rgb outline = {10, 8, 30};  // near-black: pure black is transparent in the demo
    std::vector<Rgb> sky = kChromeSky;
    std::vector<Rgb> ground = kChromeGround;
    Rgb horizon = {255, 255, 255};
    int horizonPercent = 52;    // where the horizon sits between top and bottom
    int spanTop = -1;           // rows the gradient spans; -1: the mask's own
    int spanBottom = -1;
};

// Paints `letters` (placed at x, y) onto the canvas as chrome glass: a
// one-pixel near-black outline, a sky-over-horizon gradient and a bevel.
void paintChrome(Canvas& c, const Mask& letters, int x, int y, const ChromeStyle& style);

// Paints a mask as outlined text filled with a top-to-bottom ramp and a
// bright top edge: the gold lettering of the anniversary line and the font.
void paintGradientText(Canvas& c, const Mask& letters, int x, int y, const std::vector<Rgb>& ramp, Rgb outline);

// Darkens the area under a mask shifted by (dx, dy): a soft drop shadow.
void paintShadow(Canvas& c, const Mask& letters, int x, int y, int dx, int dy, int strength);
