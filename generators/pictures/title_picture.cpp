#include "generators/pictures/logotype.h"
#include "generators/pictures/pictures.h"
#include "generators/pictures/scenery.h"
#include "generators/pictures/truetype_text.h"

Canvas makeTitlePicture() {
    Canvas c = makeCanvas(320, 200, {0, 0, 0});
    const int horizon = 132;
    paintSky(c, 0, horizon + 1,
             {{3, 2, 16}, {6, 4, 26}, {10, 7, 38}, {16, 10, 52}, {26, 13, 68}, {40, 17, 84}, {62, 22, 100},
              {96, 30, 116}, {140, 44, 130}});
    Prng rng{0x7E57A11u};
    scatterStars(c, rng, 110, 0, horizon - 14, 256);
    paintSkyline(c, rng, horizon, 3, 8);
    for (int x = 0; x < 320; ++x) setPixel(c, x, horizon, {255, 150, 230});

    paintGlassFloor(c, {horizon, {10, 8, 36}, {20, 16, 58}, {70, 210, 240}, {120, 40, 124}});

    Mask logo = logotypeMask(296, 58);
    const int logoX = 12, logoY = 30;
    paintShadow(c, logo, logoX, logoY, 3, 3, 170);
    ChromeStyle chrome;
    chrome.bevel = 2;
    paintChrome(c, logo, logoX, logoY, chrome);

    Mask line = cropMask(textMask(kFontBold, "15th Anniversary", 19, 1));
    int lineX = (320 - line.width) / 2, lineY = 100;
    paintShadow(c, line, lineX, lineY, 2, 2, 150);
    paintGradientText(c, line, lineX, lineY,
                      {{255, 250, 210}, {255, 226, 140}, {250, 190, 80}, {226, 140, 50}, {190, 96, 40}},
                      {12, 6, 24});
    return c;
}
