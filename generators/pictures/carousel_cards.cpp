#include <algorithm>

#include "generators/pictures/logotype.h"
#include "generators/pictures/pictures.h"
#include "generators/pictures/truetype_text.h"

// The six carousel logos: 100 x 78 glass cards, each with an emblem and a
// word. They are blended whole over the scene, so every card is a solid
// panel whose contrast holds at any alpha.
namespace {

const int kWidth = 100, kHeight = 78;

struct CardColours {
    Rgb light, mid, dark;     // frame bevel
    Rgb panelTop, panelBottom;
    std::vector<Rgb> sky, ground;  // the emblem's glass
};

void paintFrame(Canvas& c, const CardColours& k) {
    const Rgb edge = {8, 6, 24};
    for (int y = 0; y < kHeight; ++y) {
        int pos = (y - 4) * 4096 / (kHeight - 9);
        for (int x = 0; x < kWidth; ++x) {
            int ring = std::min(std::min(x, y), std::min(kWidth - 1 - x, kHeight - 1 - y));
            bool lit = x + y < kWidth - 1 - x + kHeight - 1 - y;  // top-left half of the frame
            Rgb colour;
            if (ring == 0) colour = edge;
            else if (ring == 1) colour = lit ? k.light : k.mid;
            else if (ring == 2) colour = lit ? k.mid : k.dark;
            else if (ring == 3) colour = edge;
            else {
                colour = ditherRamp({k.panelTop, mix(k.panelTop, k.panelBottom, 128), k.panelBottom}, pos, x, y);
                // A diagonal sheen across the glass.
                int band = x + y / 2;
                if (band >= 58 && band < 70) colour = mix(colour, {255, 255, 255}, band < 62 ? 26 : 14);
            }
            setPixel(c, x, y, colour);
        }
    }
}

void sparkle(Canvas& c, int x, int y, Rgb tint) {
    setPixel(c, x, y, {255, 255, 255});
    for (int d = 1; d <= 2; ++d) {
        int t = d == 1 ? 200 : 110;
        blendPixel(c, x - d, y, tint, t);
        blendPixel(c, x + d, y, tint, t);
        blendPixel(c, x, y - d, tint, t);
        blendPixel(c, x, y + d, tint, t);
    }
}

// The card's word, centred, with its cap line at row `top`.
void paintWord(Canvas& c, const std::string& word, int top, const CardColours& k) {
    Mask text = cropMask(textMask(kFontBold, word, 16));
    if (text.width > kWidth - 12) text = cropMask(textMask(kFontCondensedBold, word, 16));
    paintGradientText(c, text, (kWidth - text.width) / 2, top,
                      {{255, 255, 255}, mix(k.light, {255, 255, 255}, 140), k.light}, {8, 6, 24});
}

void paintEmblem(Canvas& c, const Mask& shape, const CardColours& k) {
    ChromeStyle glass;
    glass.sky = k.sky;
    glass.ground = k.ground;
    glass.bevel = 1;
    paintShadow(c, shape, 0, 0, 2, 2, 140);
    paintChrome(c, shape, 0, 0, glass);
}

Mask emptyShape() { return makeMask(kWidth, kHeight); }

const CardColours kGold = {{255, 230, 150}, {220, 160, 60}, {120, 70, 20}, {44, 26, 40}, {14, 8, 22},
                           {{255, 252, 230}, {255, 232, 150}, {250, 196, 80}, {230, 150, 40}},
                           {{90, 30, 20}, {150, 60, 30}, {210, 110, 50}, {250, 170, 90}, {255, 220, 160}}};
const CardColours kCyan = {{170, 250, 255}, {60, 190, 230}, {20, 80, 130}, {12, 34, 60}, {6, 8, 26},
                           kChromeSky, {{20, 30, 80}, {30, 70, 130}, {50, 130, 190}, {110, 200, 240}, {190, 245, 255}}};
const CardColours kViolet = {{220, 190, 255}, {140, 100, 220}, {60, 30, 120}, {30, 18, 60}, {8, 6, 24},
                             {{245, 240, 255}, {210, 220, 255}, {170, 180, 250}},
                             {{60, 40, 130}, {110, 80, 200}, {170, 150, 240}, {220, 210, 255}}};
const CardColours kMagenta = {{255, 190, 245}, {220, 80, 200}, {110, 20, 100}, {48, 12, 56}, {12, 6, 24},
                              {{255, 240, 255}, {255, 200, 250}, {250, 150, 240}, {230, 100, 220}},
                              {{70, 14, 80}, {120, 30, 130}, {180, 60, 180}, {240, 130, 230}}};
const CardColours kRose = {{255, 200, 210}, {230, 90, 120}, {110, 24, 50}, {52, 14, 40}, {12, 6, 22},
                           {{255, 240, 244}, {255, 190, 205}, {250, 130, 160}},
                           {{110, 16, 50}, {170, 30, 80}, {230, 70, 120}, {255, 150, 180}}};
const CardColours kIce = {{200, 255, 250}, {80, 210, 200}, {20, 90, 100}, {14, 40, 56}, {6, 10, 24},
                          kChromeSky, kChromeGround};

}  // namespace

namespace {

struct Glint {
    int x, y;
};

// Frame, optional underlay (drawn on the panel before the emblem), emblem,
// then the word (or the logotype when `word` is null) and the glints.
Canvas makeCard(const CardColours& k, const Mask& emblem, const char* word, const std::vector<Glint>& glints,
                void (*underlay)(Canvas&) = nullptr) {
    Canvas c = makeCanvas(kWidth, kHeight, {0, 0, 0});
    paintFrame(c, k);
    if (underlay) underlay(c);
    paintEmblem(c, emblem, k);
    if (word) {
        paintWord(c, word, 60, k);
    } else {
        ChromeStyle chrome;
        chrome.bevel = 0;
        paintChrome(c, logotypeMask(86, 13), 7, 59, chrome);
    }
    for (Glint g : glints) sparkle(c, g.x, g.y, mix(k.light, {255, 255, 255}, 64));
    return c;
}

void paintColour(Canvas& c, const Mask& m, Rgb colour) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (maskAt(m, x, y)) setPixel(c, x, y, colour);
}

// A white beam enters the prism and leaves as a fan of colours.
void paintBeams(Canvas& c) {
    Mask beam = emptyShape();
    fillPolygon(beam, {{5, 36}, {5, 39}, {41, 33}, {41, 31}});
    paintColour(c, beam, {250, 250, 255});
    static const Rgb spectrum[5] = {{255, 70, 90}, {255, 180, 60}, {120, 240, 110}, {70, 200, 255}, {170, 110, 255}};
    for (int band = 0; band < 5; ++band) {
        Mask ray = emptyShape();
        double y0 = 30 + band * 1.6, y1 = 14 + band * 7.0;
        fillPolygon(ray, {{58, y0}, {58, y0 + 1.8}, {95, y1 + 6.0}, {95, y1}});
        paintColour(c, ray, spectrum[band]);
    }
}

}  // namespace

Canvas makeYearsCard() {
    Mask digits = cropMask(textMask(kFontBold, "15", 50, 1));
    Mask shape = emptyShape();
    stampMask(shape, digits, (kWidth - digits.width) / 2, 9);
    return makeCard(kGold, shape, "YEARS", {{20, 12}, {82, 48}});
}

Canvas makeCodeCard() {
    Mask shape = emptyShape();
    fillPolygon(shape, {{31, 12}, {40, 12}, {25, 30}, {40, 48}, {31, 48}, {15, 30}});
    fillPolygon(shape, {{69, 12}, {60, 12}, {75, 30}, {60, 48}, {69, 48}, {85, 30}});
    fillPolygon(shape, {{54, 10}, {61, 10}, {46, 50}, {39, 50}});
    return makeCard(kCyan, shape, "CODE", {{86, 12}});
}

Canvas makeGraphicsCard() {
    Mask prism = emptyShape();
    fillPolygon(prism, {{50, 8}, {72, 50}, {28, 50}});
    return makeCard(kViolet, prism, "GRAPHICS", {}, paintBeams);
}

Canvas makeMusicCard() {
    Mask notes = emptyShape();
    fillEllipse(notes, 34, 44, 8.5, 6);
    fillEllipse(notes, 66, 40, 8.5, 6);
    fillPolygon(notes, {{37, 44}, {43, 44}, {43, 14}, {37, 14}});
    fillPolygon(notes, {{69, 40}, {75, 40}, {75, 10}, {69, 10}});
    fillPolygon(notes, {{37, 12}, {75, 6}, {75, 15}, {37, 21}});
    return makeCard(kMagenta, notes, "MUSIC", {{16, 14}, {88, 50}});
}

Canvas makeGreetingsCard() {
    Mask heart = emptyShape();
    fillEllipse(heart, 40, 22, 12, 12);
    fillEllipse(heart, 60, 22, 12, 12);
    fillPolygon(heart, {{28.6, 26}, {71.4, 26}, {50, 51}});
    return makeCard(kRose, heart, "GREETINGS", {{18, 40}, {80, 10}});
}

Canvas makeEmblemCard() {
    // A cut crystal with the V of the name through it.
    Mask crystal = emptyShape();
    fillPolygon(crystal, {{50, 7}, {74, 30}, {50, 53}, {26, 30}});
    Mask cut = emptyShape();
    fillPolygon(cut, {{38, 20}, {45, 20}, {50, 34}, {55, 20}, {62, 20}, {53, 43}, {47, 43}});
    for (size_t i = 0; i < crystal.bits.size(); ++i)
        if (cut.bits[i]) crystal.bits[i] = 0;
    return makeCard(kIce, crystal, nullptr, {});
}
