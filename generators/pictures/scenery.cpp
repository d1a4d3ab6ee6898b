#include "generators/pictures/scenery.h"

#include <cstdlib>

void paintSky(Canvas& c, int top, int bottom, const std::vector<Rgb>& ramp) {
    for (int y = top; y < bottom; ++y) {
        int pos = bottom - top > 1 ? (y - top) * 4096 / (bottom - top - 1) : 0;
        for (int x = 0; x < c.width; ++x) setPixel(c, x, y, ditherRamp(ramp, pos, x, y));
    }
}

void scatterStars(Canvas& c, Prng& rng, int count, int top, int bottom, int brightness) {
    static const Rgb tints[4] = {{255, 255, 255}, {170, 240, 255}, {255, 190, 250}, {255, 230, 170}};
    for (int k = 0; k < count; ++k) {
        int x = rng.below(c.width), y = top + rng.below(bottom - top);
        Rgb tint = tints[rng.below(4)];
        int level = 60 + rng.below(140);
        bool big = rng.below(12) == 0;
        if (big) level = 230;
        int t = level * brightness / 256;
        blendPixel(c, x, y, tint, t);
        if (big) {
            for (int d = 1; d <= 2; ++d) {
                int arm = t * (3 - d) / 4;
                blendPixel(c, x - d, y, tint, arm);
                blendPixel(c, x + d, y, tint, arm);
                blendPixel(c, x, y - d, tint, arm);
                blendPixel(c, x, y + d, tint, arm);
            }
        }
    }
}

// A far glass skyline on the horizon: dark towers, a lit edge on the side
// facing the planet, a few windows still awake.
void paintSkyline(Canvas& c, Prng& rng, int horizon, int minHeight, int heightRange) {
    for (int x = -4; x < c.width;) {
        int width = 8 + rng.below(14), height = minHeight + rng.below(heightRange);
        bool spire = rng.below(3) == 0;
        int top = horizon - height;
        for (int dx = 0; dx < width; ++dx) {
            int px = x + dx;
            // Spires taper to a point over their top third.
            int roof = spire ? top - width / 2 + std::abs(2 * dx - width + 1) / 2 : top;
            for (int y = roof; y < horizon; ++y) {
                Rgb colour = {12, 10, 32};
                if (dx == width - 1 || y == roof) colour = {44, 46, 96};
                else if (dx == width - 2) colour = {20, 18, 50};
                else if (y > top + 1 && dx % 3 == 1 && (y - top) % 4 == 2 && rng.below(6) == 0)
                    colour = rng.below(2) ? Rgb{50, 110, 140} : Rgb{110, 50, 120};
                setPixel(c, px, y, colour);
            }
        }
        x += width + 1 + rng.below(4) - 3;
    }
}

namespace {

// Tile coordinates of the floor point seen through pixel (x, y); 8 fractional
// bits. Integer only, so every machine gets the same lines.
void floorPoint(const Canvas& c, const FloorStyle& s, int x, int y, long& u, long& v) {
    long d = y - s.horizon;
    long depth = long(s.depth) * 256 / d;  // distance, 8 fractional bits
    u = (long(2 * x + 1 - c.width) * depth) / 256;
    v = depth;
}

long floorDiv(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

void paintGlassFloor(Canvas& c, const FloorStyle& s) {
    const long tile = 256 * 48;
    for (int y = s.horizon + 1; y < c.height; ++y) {
        // Closeness 0 at the horizon to 256 at the bottom row.
        int near = (y - s.horizon) * 256 / (c.height - s.horizon);
        for (int x = 0; x < c.width; ++x) {
            long u, v, uLeft, vLeft, uUp, vUp;
            floorPoint(c, s, x, y, u, v);
            floorPoint(c, s, x - 1, y, uLeft, vLeft);
            long tu = floorDiv(u, tile), tv = floorDiv(v, tile);
            bool edge = floorDiv(uLeft, tile) != tu;
            if (y > s.horizon + 1) {
                floorPoint(c, s, x, y - 1, uUp, vUp);
                edge = edge || floorDiv(vUp, tile) != tv || floorDiv(uUp, tile) != tu;
            }
            Rgb base = ((tu + tv) & 1) ? s.tileLight : s.tileDark;
            // A soft sheen across each tile, brightest on its far edge.
            long across = v - tv * tile;
            int sheen = int(across * 48 / tile);
            Rgb colour = mix(base, s.haze, 40 - sheen / 2);
            // Lines crowd together near the horizon: let them sink into the haze.
            if (edge) colour = mix(s.haze, s.line, near < 48 ? near * 5 + 16 : 256);
            colour = mix(s.haze, colour, near < 24 ? near * 8 : 192 + near / 4);
            // Ordered dither on the haze so the fade stays crisp.
            if (!edge && near < 64 && bayer4(x, y) * 4 > near) colour = mix(colour, s.haze, 96);
            setPixel(c, x, y, colour);
        }
    }
}
