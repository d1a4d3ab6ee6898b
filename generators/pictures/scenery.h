#pragma once
// Night sky, stars and the glass-tile floor shared by the title and the
// scene background.
#include <vector>

#include "generators/pictures/canvas.h"

// Dithered vertical gradient along `ramp` over rows top..bottom-1.
void paintSky(Canvas& c, int top, int bottom, const std::vector<Rgb>& ramp);

// Single-pixel stars with a few cross-shaped bright ones, rows top..bottom-1.
void scatterStars(Canvas& c, Prng& rng, int count, int top, int bottom, int brightness);

// A far glass skyline standing on row `horizon`: dark towers and spires,
// a lit edge on their right, a few windows still awake.
void paintSkyline(Canvas& c, Prng& rng, int horizon, int minHeight, int heightRange);

struct FloorStyle {
    int horizon;       // row of the vanishing line
    Rgb tileDark;      // near tiles
    Rgb tileLight;     // the checker's other tiles
    Rgb line;          // grid lines close up
    Rgb haze;          // what everything fades to at the horizon
    int depth = 2400;  // larger: tiles shrink faster towards the horizon
};

// Tiles in perspective from horizon + 1 down to the last row, with exact
// one-pixel grid lines.
void paintGlassFloor(Canvas& c, const FloorStyle& style);
