#pragma once
// RGB drawing surface, coverage masks and colour helpers shared by the
// picture generators. Integer arithmetic throughout so outputs are exact.
#include <cstdint>
#include <vector>

#include "generators/writers/png_writer.h"

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;  // 1 inside, 0 outside
};

Canvas makeCanvas(int width, int height, Rgb fill);
Mask makeMask(int width, int height);

// Reads outside the surface give `outside` / false; writes outside are dropped.
Rgb getPixel(const Canvas& c, int x, int y, Rgb outside = {0, 0, 0});
void setPixel(Canvas& c, int x, int y, Rgb colour);
bool maskAt(const Mask& m, int x, int y);
void setMask(Mask& m, int x, int y, bool on);

// t in 0..256: 0 gives a, 256 gives b.
Rgb mix(Rgb a, Rgb b, int t);
// Blends `colour` over the pixel at (x, y) with t in 0..256.
void blendPixel(Canvas& c, int x, int y, Rgb colour, int t);

// 4 x 4 ordered-dither threshold, 0..15.
int bayer4(int x, int y);
// Picks a colour along `ramp` for position `pos` in 0..4096 with ordered
// dithering between neighbouring entries.
Rgb ditherRamp(const std::vector<Rgb>& ramp, int pos, int x, int y);
// The same without dithering: crisp bands.
Rgb bandRamp(const std::vector<Rgb>& ramp, int pos);

// First and last rows with any pixel set; false for an empty mask.
bool maskRows(const Mask& m, int& top, int& bottom);

// Grows a mask by `radius` pixels (8-connected steps).
Mask dilate(const Mask& m, int radius);
// Places `src` over `dst` with its top-left at (x, y): pixels of `src` that
// are on turn on in `dst`.
void stampMask(Mask& dst, const Mask& src, int x, int y);

// Small deterministic generator for scatter (stars, sparkles).
struct Prng {
    uint32_t state;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return int(next() % uint32_t(n)); }
};

// Converts a canvas to palette indices; the palette lists the colours in
// ascending RGB order. Returns false when there are more than 256 colours.
bool toPalette(const Canvas& c, std::vector<uint8_t>& indices, std::vector<Rgb>& palette);

struct PointF {
    double x, y;
};

// Fills the polygon (any shape; even-odd rule) by testing pixel centres.
void fillPolygon(Mask& m, const std::vector<PointF>& points);
// Fills the ellipse centred on (cx, cy) with radii rx, ry (pixel units,
// pixel centres at half-integers).
void fillEllipse(Mask& m, double cx, double cy, double rx, double ry, bool on = true);
