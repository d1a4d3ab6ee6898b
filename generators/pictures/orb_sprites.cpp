#include <algorithm>
#include <cmath>
#include <vector>

#include "generators/pictures/pictures.h"

namespace {

struct OrbColours {
    std::vector<Rgb> body;  // dark core to bright rim
    Rgb rim;                // the one-pixel edge that separates it from anything
};

// A glass bubble: a see-through core that brightens towards the rim, a hard
// specular window at the top left and a small bounce light at the bottom
// right. Drawn on pure black, which the sprite blit leaves out; nothing
// inside the bubble is pure black.
Canvas makeOrb(int size, const OrbColours& colours) {
    Canvas c = makeCanvas(size, size, {0, 0, 0});
    // Half-pixel units keep the centre exact for odd and even sizes.
    int centre2 = size, radius2 = size - 1;
    // Radius shrunk by a quarter pixel so the outline has no lone pixels at
    // its four extremes.
    long limit = long(2 * radius2 - 1) * (2 * radius2 - 1);
    long rimLimit = long(2 * radius2 - 5) * (2 * radius2 - 5);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            long dx = 2 * x + 1 - centre2, dy = 2 * y + 1 - centre2;
            long d2 = 4 * (dx * dx + dy * dy);
            if (d2 > limit) continue;
            if (d2 > rimLimit) {
                setPixel(c, x, y, colours.rim);
                continue;
            }
            double nx = double(dx) / radius2, ny = double(dy) / radius2;
            double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
            // Glass: a bright rim, light gathered in the lower right of the
            // body (it passes through), dark under the highlight.
            double edge = 1.0 - nz;
            double caustic = std::max(0.0, 0.5 * nx + 0.7 * ny) * nz;
            double level = edge * edge * 0.9 + caustic * 0.9 + 0.12;
            Rgb colour = bandRamp(colours.body, int(std::min(1.0, level) * 4096));
            // Specular window: an ellipse up and to the left, hard edged.
            double sx = nx + 0.36, sy = ny + 0.42;
            double spot = sx * sx * 1.4 + sy * sy * 3.0;
            if (spot < 0.045) colour = {255, 255, 255};
            else if (spot < 0.085) colour = mix(colour, {255, 255, 255}, 150);
            // A glint on the lower right rim.
            double bx = nx - 0.52, by = ny - 0.55;
            if (bx * bx + by * by < 0.006) colour = mix(colour, {255, 255, 255}, 170);
            if (colour == Rgb{0, 0, 0}) colour = {1, 1, 1};
            setPixel(c, x, y, colour);
        }
    return c;
}

}  // namespace

Canvas makeLargeOrb() {
    return makeOrb(35, {{{8, 30, 62}, {12, 48, 96}, {20, 76, 140}, {36, 118, 188}, {70, 170, 228}, {140, 226, 255}},
                        {40, 120, 200}});
}

Canvas makeMediumOrb() {
    return makeOrb(26, {{{42, 8, 58}, {70, 14, 96}, {110, 26, 140}, {170, 50, 190}, {226, 110, 236}, {255, 190, 255}},
                        {150, 44, 180}});
}

Canvas makeSmallOrb() {
    return makeOrb(18, {{{58, 30, 8}, {100, 56, 14}, {160, 96, 24}, {220, 150, 48}, {255, 206, 110}, {255, 240, 190}},
                        {210, 140, 50}});
}
