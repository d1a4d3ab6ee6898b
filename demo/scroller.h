#pragma once
// The text scroller: glyphs cut from a magenta-framed font sheet, laid one
// 32-pixel slot at a time into an off-screen buffer that is drawn to the
// screen column by column on a sine wave.
#include <cstdint>

#include "demo/image.h"

enum : int32_t {
    GLYPH_COUNT = 59,
    GLYPH_SLOT_WIDTH = 32,
    SCROLL_BUFFER_WIDTH = 352,
    SCROLL_BUFFER_HEIGHT = 32,
    SCROLL_WINDOW_WIDTH = 320,  // the buffer column where a new slot enters
};

struct Glyph {
    uint8_t character;
    Image image;  // own malloc'd pixels, colorKey -1; empty when the sheet framed no cell for it
};

struct Scroller {
    Image fontSheet;
    Glyph glyphs[GLYPH_COUNT];
    Image scrollBuffer;  // 352 x 32, colorKey 0: black is transparent on screen
    float scrollOffset;  // how far the visible window has moved into the buffer
    const unsigned char* text;  // read-only resource bytes; null when missing
    uint32_t textSize;
    int32_t textPos;  // index of the next byte
};

// Glyph i carries byte i of this list: space to "Z", with the Latin-1 capital
// A ring, A diaeresis and O diaeresis in the places of "#", "$" and "%".
extern const uint8_t glyphCharacters[GLYPH_COUNT];

// Cuts the glyph table from `sheet`, framed by one-pixel magenta lines. The
// scan stays inside the sheet and ends on any picture: glyphs past the last
// framed cell stay empty.
void cutGlyphs(const Image& sheet, Glyph glyphs[GLYPH_COUNT]);

// Font sheet, glyphs, black scroll buffer and scroll text.
void initScroller(Scroller& scroller);

// Advances the buffer by 2.5 pixels (a new slot every 12.8 frames on average)
// and draws its 320 columns into the framebuffer on the wave of `sceneTime`.
void drawScroller(Scroller& scroller, float sceneTime);

// Frees the sheet, the glyphs and the buffer.
void releaseScroller(Scroller& scroller);
