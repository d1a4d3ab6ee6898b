#include "demo/scroller.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "demo/demo_state.h"
#include "demo/resource.h"
#include "resources/resource_ids.h"

namespace {

const uint32_t FRAME_LINE_COLOR = 0xFF00FFu;  // magenta
const Image EMPTY_IMAGE = {nullptr, 0, 0, -1};

// One unit in the last place above 2.5 (bit pattern 0x40200001), not 2.5:
// the slot timing of the whole text depends on this rounding.
const float SCROLL_STEP = 0x1.400002p+1f;
const float WAVE_AMPLITUDE = 70.0f;
const int32_t WAVE_TOP = 2;
const int32_t STRIP_LAST_ROW = 30;  // the buffer's last row is never shown

// Positions outside the sheet are never magenta, so the scan cannot read
// beyond it.
bool isFrameLine(const Image& sheet, int32_t x, int32_t y) {
    if (sheet.pixels == nullptr || x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) return false;
    return pixelColor(sheet.pixels[size_t(y) * size_t(sheet.width) + size_t(x)]) == FRAME_LINE_COLOR;
}

// The cell's pixels without its frame: blit copies the separator column and
// row too, and the glyph's own size clips them.
Image copyCell(const Image& sheet, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t width = right - left;
    const int32_t height = bottom - top;
    if (width <= 0 || height <= 0) return EMPTY_IMAGE;
    uint32_t* pixels = static_cast<uint32_t*>(std::malloc(size_t(width) * size_t(height) * sizeof(uint32_t)));
    if (pixels == nullptr) return EMPTY_IMAGE;
    Image cell = {pixels, width, height, -1};
    blit(left, top, sheet, right, bottom, cell, 0, 0);
    return cell;
}

const Glyph* findGlyph(const Scroller& scroller, uint8_t character) {
    for (const Glyph& glyph : scroller.glyphs) {
        if (glyph.character == character) return &glyph;
    }
    return nullptr;
}

// Shifts the buffer one slot left (black moves too) and lays the next text
// byte's glyph into the freed columns 320 to 350; column 351 stays black.
void enterSlot(Scroller& scroller) {
    Image whole = scroller.scrollBuffer;
    whole.colorKey = -1;
    blit(GLYPH_SLOT_WIDTH, 0, whole, SCROLL_BUFFER_WIDTH - 1, SCROLL_BUFFER_HEIGHT - 1, scroller.scrollBuffer, 0, 0);
    if (scroller.text == nullptr || scroller.textSize == 0) return;

    const uint8_t character = scroller.text[scroller.textPos];
    scroller.textPos = uint32_t(scroller.textPos) + 1 == scroller.textSize ? 0 : scroller.textPos + 1;
    // A byte without a glyph leaves the slot showing what the columns held.
    if (const Glyph* glyph = findGlyph(scroller, character)) {
        const Image& image = glyph->image;
        blit(0, 0, image, image.width - 1, image.height - 1, scroller.scrollBuffer, SCROLL_WINDOW_WIDTH, 0);
    }
}

}  // namespace

const uint8_t glyphCharacters[GLYPH_COUNT] = {
    0x20, 0x21, 0x22, 0xC5, 0xC4, 0xD6, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E,
    0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D,
    0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C,
    0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A,
};

// Cells are read left to right and top to bottom; a row of cells starts on
// the row just below the bottom line of the cells above it. Each glyph's
// search scans at most two sheet rows: a second wrap would rescan the same
// line-less row for ever, so the sheet has no further cell.
void cutGlyphs(const Image& sheet, Glyph glyphs[GLYPH_COUNT]) {
    for (int32_t i = 0; i < GLYPH_COUNT; ++i) glyphs[i] = Glyph{glyphCharacters[i], EMPTY_IMAGE};

    int32_t scanX = 0, scanY = 0, cellLeft = 0, lastBottom = 0;
    for (int32_t i = 0; i < GLYPH_COUNT; ++i) {
        int32_t right = scanX;
        bool wrapped = false;
        while (!isFrameLine(sheet, right, scanY)) {
            if (++right < sheet.width) continue;
            if (wrapped) return;
            wrapped = true;
            scanY = lastBottom + 1;
            cellLeft = 0;
            right = 0;
        }
        const int32_t cellTop = scanY;
        int32_t bottom = scanY;
        while (!isFrameLine(sheet, cellLeft, bottom)) {
            if (++bottom >= sheet.height) return;  // no bottom line: the cell is not framed
        }
        glyphs[i].image = copyCell(sheet, cellLeft, cellTop, right, bottom);
        lastBottom = bottom;
        scanX = right + 1;
        cellLeft = right + 1;
        scanY = cellTop;
    }
}

void initScroller(Scroller& scroller) {
    scroller.fontSheet = loadImage(RESOURCE_FONT_SHEET);
    cutGlyphs(scroller.fontSheet, scroller.glyphs);

    const size_t bufferBytes = size_t(SCROLL_BUFFER_WIDTH) * SCROLL_BUFFER_HEIGHT * sizeof(uint32_t);
    uint32_t* pixels = static_cast<uint32_t*>(std::calloc(1, bufferBytes));
    scroller.scrollBuffer = pixels ? Image{pixels, SCROLL_BUFFER_WIDTH, SCROLL_BUFFER_HEIGHT, 0} : EMPTY_IMAGE;
    scroller.scrollOffset = 0.0f;

    const ResourceData text = findResourceData(RESOURCE_SCROLL_TEXT);
    scroller.text = text.bytes;
    scroller.textSize = text.bytes ? text.size : 0;
    scroller.textPos = 0;
}

void drawScroller(Scroller& scroller, float sceneTime) {
    scroller.scrollOffset = scroller.scrollOffset + SCROLL_STEP;
    if (scroller.scrollOffset > float(GLYPH_SLOT_WIDTH)) {
        scroller.scrollOffset = scroller.scrollOffset - float(GLYPH_SLOT_WIDTH);
        enterSlot(scroller);
    }

    // The wave's angle is single precision (float(j) makes the division
    // single); the sine, its scaling and the lift run in double, and trunc
    // goes towards zero.
    const float phase = sceneTime / 10.0f;
    for (int32_t j = 0; j < FRAMEBUFFER_WIDTH; ++j) {
        const float sx = float(j) + scroller.scrollOffset;
        const float angle = phase - float(j) / 100.0f;
        const int32_t waveY = int32_t(std::sin(double(angle)) * double(WAVE_AMPLITUDE) + double(WAVE_AMPLITUDE)) +
                              WAVE_TOP;
        // Two buffer columns to screen columns j and j + 1; the next strip,
        // at its own height, lies on top of the second.
        blit(int32_t(sx), 0, scroller.scrollBuffer, int32_t(sx + 1.0f), STRIP_LAST_ROW, demoState.framebuffer, j,
             waveY);
    }
}

void releaseScroller(Scroller& scroller) {
    std::free(scroller.fontSheet.pixels);
    for (Glyph& glyph : scroller.glyphs) std::free(glyph.image.pixels);
    std::free(scroller.scrollBuffer.pixels);
    scroller = Scroller{};
}
