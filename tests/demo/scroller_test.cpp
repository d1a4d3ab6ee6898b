// The glyph cutter and the scroll buffer, without a shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "demo/demo_state.h"
#include "demo/scroller.h"

namespace {

const uint32_t MAGENTA = 0xFF00FFu;

uint32_t pixelAt(const Image& image, int32_t x, int32_t y) { return image.pixels[y * image.width + x]; }

// Whether columns [x, x + 31) of the buffer hold `glyph`, and column x + 31 is black.
bool slotHolds(const Image& buffer, int32_t x, const Glyph& glyph) {
    for (int32_t y = 0; y < 31; ++y) {
        for (int32_t c = 0; c < 31; ++c)
            if (pixelAt(buffer, x + c, y) != pixelAt(glyph.image, c, y)) return false;
        if (pixelAt(buffer, x + 31, y) != 0) return false;
    }
    return true;
}

const Glyph& glyphFor(const Scroller& scroller, char character) {
    for (const Glyph& glyph : scroller.glyphs)
        if (glyph.character == uint8_t(character)) return glyph;
    ADD_FAILURE() << "no glyph for " << character;
    return scroller.glyphs[0];
}

class ScrollerTest : public ::testing::Test {
protected:
    Scroller scroller = {};
    float sceneTime = 0.0f;
    void SetUp() override {
        resetDemoState();
        initScroller(scroller);
    }
    void TearDown() override {
        releaseScroller(scroller);
        resetDemoState();
    }
    // One frame on a black screen, as the scene would draw it last.
    void frame() {
        clearFramebuffer();
        sceneTime += 0.06666667f;
        drawScroller(scroller, sceneTime);
    }
    void untilNextSlot() {
        const int32_t pos = scroller.textPos;
        for (int i = 0; i < 14 && scroller.textPos == pos; ++i) frame();
    }
    bool screenIsBlack() const {
        for (int32_t i = 0; i < FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT; ++i)
            if (demoState.framebuffer.pixels[i] != 0) return false;
        return true;
    }
};

TEST_F(ScrollerTest, ShippedSheetCutsIntoAGridOfTenByNearlySix) {
    const Image& sheet = scroller.fontSheet;
    ASSERT_EQ(sheet.width, 320);
    for (int32_t i = 0; i < GLYPH_COUNT; ++i) {
        const Glyph& glyph = scroller.glyphs[i];
        ASSERT_EQ(glyph.image.width, 31) << i;
        ASSERT_EQ(glyph.image.height, 31) << i;
        EXPECT_EQ(glyph.image.colorKey, -1);
        const int32_t left = 32 * (i % 10), top = 32 * (i / 10);
        for (int32_t y = 0; y < 31; ++y)
            for (int32_t x = 0; x < 31; ++x)
                ASSERT_EQ(pixelAt(glyph.image, x, y), pixelAt(sheet, left + x, top + y)) << i << " " << x << "," << y;
    }
    EXPECT_EQ(scroller.glyphs[0].character, 0x20);
    EXPECT_EQ(scroller.glyphs[3].character, 0xC5);
    EXPECT_EQ(scroller.glyphs[5].character, 0xD6);
    EXPECT_EQ(scroller.glyphs[6].character, '&');
    EXPECT_EQ(scroller.glyphs[58].character, 'Z');
}

// A black sheet with magenta lines at the given columns (rows 0..31) and row 31.
struct Sheet {
    std::vector<uint32_t> pixels;
    Image image;
    Sheet(int32_t width, int32_t height, std::vector<int32_t> lineColumns, bool bottomLine) : pixels(width * height) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) pixels[y * width + x] = (x * 7 + y) & 0xFF;
        for (int32_t x : lineColumns)
            for (int32_t y = 0; y < std::min(height, 32); ++y) pixels[y * width + x] = MAGENTA;
        if (bottomLine && height > 31)
            for (int32_t x = 0; x < width; ++x) pixels[31 * width + x] = MAGENTA;
        image = {pixels.data(), width, height, -1};
    }
};

TEST(GlyphCutter, EndsOnSheetsThatFrameFewerCells) {
    struct Case {
        const char* what;
        Sheet sheet;
        int cut;
    };
    Case cases[] = {
        {"two framed cells", Sheet(64, 32, {31, 63}, true), 2},
        {"the last cell has no right line", Sheet(64, 32, {31}, true), 1},
        {"no bottom line", Sheet(64, 32, {31, 63}, false), 0},
        {"no magenta at all", Sheet(40, 40, {}, false), 0},
        {"no picture", Sheet(0, 0, {}, false), 0},
    };
    for (Case& c : cases) {
        Glyph glyphs[GLYPH_COUNT];
        cutGlyphs(c.sheet.image, glyphs);
        for (int32_t i = 0; i < GLYPH_COUNT; ++i) {
            EXPECT_EQ(glyphs[i].character, glyphCharacters[i]) << c.what;
            if (i < c.cut) {
                ASSERT_EQ(glyphs[i].image.width, 31) << c.what;
                ASSERT_EQ(glyphs[i].image.height, 31) << c.what;
                EXPECT_EQ(pixelAt(glyphs[i].image, 30, 30), pixelAt(c.sheet.image, 32 * i + 30, 30)) << c.what;
            } else {
                EXPECT_EQ(glyphs[i].image.pixels, nullptr) << c.what << " glyph " << i;
            }
            std::free(glyphs[i].image.pixels);
        }
    }
}

TEST_F(ScrollerTest, FirstSlotEntersOnFrameThirteen) {
    for (int i = 1; i <= 12; ++i) frame();
    EXPECT_EQ(scroller.textPos, 0);
    frame();  // 13 x 2.5000002 > 32
    EXPECT_EQ(scroller.textPos, 1);
    EXPECT_GT(scroller.scrollOffset, 0.5f);
    EXPECT_LT(scroller.scrollOffset, 0.5001f);
    EXPECT_TRUE(slotHolds(scroller.scrollBuffer, 320, glyphFor(scroller, char(scroller.text[0]))));
}

TEST_F(ScrollerTest, FirstColumnOfTheFirstSlotIsSeenFromFrameFourteen) {
    // A glyph lit in every pixel, so that its first column shows wherever it lands.
    static const unsigned char text[] = {'A'};
    scroller.text = text;
    scroller.textSize = 1;
    const Image& lit = glyphFor(scroller, 'A').image;
    std::fill(lit.pixels, lit.pixels + lit.width * lit.height, 0xFFFFFFu);
    for (int i = 1; i <= 13; ++i) frame();
    EXPECT_TRUE(screenIsBlack());  // drawn at screen column 320 and clipped
    frame();
    int32_t leftmost = FRAMEBUFFER_WIDTH;
    for (int32_t i = 0; i < FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT; ++i)
        if (demoState.framebuffer.pixels[i] != 0) leftmost = std::min(leftmost, i % FRAMEBUFFER_WIDTH);
    EXPECT_EQ(leftmost, 317);
}

TEST_F(ScrollerTest, TextWrapsWithoutABlankSlotAndUnknownBytesRepeatTheSlot) {
    static const unsigned char text[] = {'A', 'B', 'a'};
    scroller.text = text;
    scroller.textSize = 3;
    const Glyph &a = glyphFor(scroller, 'A'), &b = glyphFor(scroller, 'B');
    untilNextSlot();
    untilNextSlot();
    untilNextSlot();  // 'a' has no glyph: the columns keep the 'B'
    EXPECT_EQ(scroller.textPos, 0);
    untilNextSlot();
    EXPECT_EQ(scroller.textPos, 1);
    EXPECT_TRUE(slotHolds(scroller.scrollBuffer, 224, a));
    EXPECT_TRUE(slotHolds(scroller.scrollBuffer, 256, b));
    EXPECT_TRUE(slotHolds(scroller.scrollBuffer, 288, b));
    EXPECT_TRUE(slotHolds(scroller.scrollBuffer, 320, a));
}

TEST_F(ScrollerTest, MissingTextScrollsNothing) {
    scroller.text = nullptr;
    scroller.textSize = 0;
    for (int i = 0; i < 40; ++i) frame();
    EXPECT_TRUE(screenIsBlack());
    EXPECT_EQ(scroller.textPos, 0);
}

}  // namespace
