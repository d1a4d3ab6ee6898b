#include <algorithm>

#include "generators/pictures/logotype.h"
#include "generators/pictures/pictures.h"
#include "generators/pictures/truetype_text.h"

namespace {

const Rgb kMagenta = {255, 0, 255};
const int kCell = 31;      // glyph cell size; one separator line follows each cell
const int kCapHeight = 22;  // big capitals: the scroller shows nothing else
const int kCapTop = 5;      // rows 1..3 above hold the dots and the ring
const int kBaseline = kCapTop + kCapHeight;
const int kFirstRow = 1, kLastRow = 29, kWidest = 29;  // the outline needs the rest

// Base letter of the three accented capitals; 0 for every other byte.
int accentBase(unsigned char ch) { return ch == 0xC5 || ch == 0xC4 ? 'A' : ch == 0xD6 ? 'O' : 0; }

Mask cellGlyph(unsigned char ch) {
    int base = accentBase(ch);
    int codepoint = base ? base : ch;
    int widthPercent = 100;
    while (widthPercent > 50 && glyphInkWidth(kFontBold, codepoint, kCapHeight, widthPercent) > kWidest)
        widthPercent -= 2;
    int inkWidth = glyphInkWidth(kFontBold, codepoint, kCapHeight, widthPercent);
    int shiftX = 1 + (kWidest - inkWidth) / 2;
    Mask m = glyphMask(kFontBold, codepoint, kCapHeight, widthPercent, kCell, kBaseline, shiftX);

    // Letters keep their size and lose the end of a deep descender (J, Q);
    // tall punctuation is lifted into the cell, or shrunk when that is not
    // enough.
    int top, bottom;
    if (codepoint >= 'A' && codepoint <= 'Z') {
        for (int y = kLastRow + 1; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) setMask(m, x, y, false);
    }
    for (int cap = kCapHeight; maskRows(m, top, bottom) && bottom > kLastRow; --cap) {
        int lift = std::min(bottom - kLastRow, top - kFirstRow);
        m = glyphMask(kFontBold, codepoint, cap, widthPercent, kCell, kBaseline - std::max(lift, 0), shiftX);
    }
    if (!base) return m;

    // The accents are drawn by hand in the three rows above the capital.
    int centre = 1 + kWidest / 2;
    if (ch == 0xC5) {
        static const char* ring[3] = {".###.", "##.##", ".###."};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                if (ring[y][x] == '#') setMask(m, centre - 2 + x, kFirstRow + y, true);
    } else {
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                setMask(m, centre - 7 + x, kFirstRow + y, true);
                setMask(m, centre + 4 + x, kFirstRow + y, true);
            }
    }
    return m;
}

}  // namespace

const unsigned char kFontCharacters[kFontCharacterCount] = {
    0x20, 0x21, 0x22, 0xC5, 0xC4, 0xD6, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E,
    0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D,
    0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C,
    0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A};

Canvas makeFontSheet() {
    Canvas c = makeCanvas(320, 192, {0, 0, 0});
    // Separator lines after every cell, and the unused 60th cell filled.
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (x % 32 == kCell || y % 32 == kCell || (x >= 288 && y >= 160)) setPixel(c, x, y, kMagenta);

    // Gold glass over a magenta ground; the same gradient rows in every cell
    // so a line of text reads as one surface.
    ChromeStyle glass;
    glass.sky = {{255, 255, 238}, {255, 244, 184}, {255, 220, 120}, {250, 178, 70}};
    glass.horizon = {255, 252, 224};
    glass.ground = {{120, 34, 140}, {168, 56, 180}, {214, 96, 216}, {244, 150, 240}, {255, 200, 250}};
    glass.outline = {14, 6, 26};
    glass.horizonPercent = 50;
    glass.spanTop = kCapTop;
    glass.spanBottom = kBaseline - 1;
    for (int i = 0; i < kFontCharacterCount; ++i)
        paintChrome(c, cellGlyph(kFontCharacters[i]), 32 * (i % 10), 32 * (i / 10), glass);
    return c;
}
