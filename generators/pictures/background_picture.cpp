#include "generators/pictures/canvas.h"
#include "generators/pictures/pictures.h"
#include "generators/pictures/scenery.h"

// The main scene's backdrop: kept dark and quiet so that the orbs, the logos
// and the scroller all stand out against it.
namespace {

const int kHorizon = 124;

// A low, dim planet with a thin lit crescent: depth without detail.
void paintPlanet(Canvas& c) {
    const int cx = 236, cy = 58, r = 34;
    const std::vector<Rgb> body = {{10, 8, 30}, {16, 12, 42}, {24, 16, 56}, {34, 22, 72}};
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x) {
            int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy > r * r) continue;
            // Light from the upper left: distance from a shifted centre.
            int lx = x - (cx - 10), ly = y - (cy - 12);
            int lit = 4096 - (lx * lx + ly * ly) * 4096 / (4 * r * r);
            Rgb colour = ditherRamp(body, lit, x, y);
            int ex = x - (cx + 6), ey = y - (cy + 5);
            if (ex * ex + ey * ey > (r - 1) * (r - 1) && dx * dx + dy * dy > (r - 2) * (r - 2))
                colour = {60, 90, 140};
            setPixel(c, x, y, colour);
        }
}

}  // namespace

Canvas makeBackground() {
    Canvas c = makeCanvas(320, 200, {0, 0, 0});
    paintSky(c, 0, kHorizon,
             {{2, 2, 10}, {4, 3, 16}, {6, 5, 22}, {10, 7, 30}, {16, 9, 40}, {24, 12, 50}, {36, 16, 62}, {52, 20, 72}});
    Prng rng{0x5CE7E233u};
    scatterStars(c, rng, 80, 0, kHorizon - 20, 150);
    paintPlanet(c);
    paintSkyline(c, rng, kHorizon, 8, 30);
    for (int x = 0; x < 320; ++x) setPixel(c, x, kHorizon, {96, 44, 120});

    paintGlassFloor(c, {kHorizon, {5, 5, 20}, {9, 8, 30}, {30, 96, 130}, {44, 20, 66}});
    return c;
}
