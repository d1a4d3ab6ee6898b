// The glyph cutter and the scroll buffer, without a shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "demo/demo_state.h"
#include "demo/scroller.h"

namespace {

uint32_t pixelAt(const Image& image, int32_t x, int32_t y) { return image.pixels[y * image.width + x]; }

// Columns x to x + 30 hold the glyph of `character`, and column x + 31 is black.
bool slotHolds(const Scroller& scroller, int32_t x, char character) {
    const Glyph* glyph = std::find_if(scroller.glyphs, scroller.glyphs + GLYPH_COUNT,
                                      [&](const Glyph& g) { return g.character == uint8_t(character); });
    for (int32_t y = 0; y < 31; ++y) {
        if (pixelAt(scroller.scrollBuffer, x + 31, y) != 0) return false;
        for (int32_t c = 0; c < 31; ++c)
            if (pixelAt(scroller.scrollBuffer, x + c, y) != pixelAt(glyph->image, c, y)) return false;
    }
    return true;
}

class ScrollerTest : public ::testing::Test {
protected:
    Scroller scroller = {};
    float sceneTime = 0.0f;
    void SetUp() override {
        resetDemoState();
        initScroller(scroller);
    }
    void TearDown() override { releaseScroller(scroller); }
    void useText(const char* text) {
        scroller.text = reinterpret_cast<const unsigned char*>(text);
        scroller.textSize = uint32_t(std::char_traits<char>::length(text));
    }
    // One frame on a black screen; returns the leftmost lit screen column (320: none).
    int32_t frame() {
        clearFramebuffer();
        sceneTime += 0.06666667f;
        drawScroller(scroller, sceneTime);
        int32_t leftmost = FRAMEBUFFER_WIDTH;
        for (int32_t i = 0; i < FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT; ++i)
            if (demoState.framebuffer.pixels[i] != 0) leftmost = std::min(leftmost, i % FRAMEBUFFER_WIDTH);
        return leftmost;
    }
    void untilNextSlot() {
        for (const int32_t pos = scroller.textPos; scroller.textPos == pos;) frame();
    }
};

// The shipped sheet's glyphs never use the grid colour, and all but the space show something.
TEST_F(ScrollerTest, ShippedSheetCutsIntoAGridOfTenPerRow) {
    for (int32_t i = 0; i < GLYPH_COUNT; ++i) {
        const Image& image = scroller.glyphs[i].image;
        ASSERT_EQ(image.width, 31) << i;
        ASSERT_EQ(image.height, 31) << i;
        int lit = 0;
        for (int32_t y = 0; y < 31; ++y)
            for (int32_t x = 0; x < 31; ++x) {
                const uint32_t colour = pixelAt(image, x, y);
                ASSERT_EQ(colour, pixelAt(scroller.fontSheet, 32 * (i % 10) + x, 32 * (i / 10) + y));
                ASSERT_NE(colour & 0xFFFFFF, 0xFF00FFu) << i;
                lit += (colour & 0xFFFFFF) != 0;
            }
        if (scroller.glyphs[i].character == ' ') EXPECT_EQ(lit, 0);
        else EXPECT_GT(lit, 20) << i;
    }
    EXPECT_EQ(scroller.glyphs[3].character, 0xC5);
    EXPECT_EQ(scroller.glyphs[58].character, 'Z');
}

TEST(GlyphCutter, EndsOnSheetsThatFrameFewerCells) {
    // Black sheets with magenta lines at the given columns (rows 0 to 31) and on row 31.
    struct Case {
        const char* what;
        int32_t width, height;
        std::vector<int32_t> lineColumns;
        bool bottomLine;
        int cut;
    } cases[] = {
        {"two framed cells", 64, 32, {31, 63}, true, 2},
        {"no right line on the last cell", 64, 32, {31}, true, 1},
        {"no bottom line", 64, 32, {31, 63}, false, 0},
        {"no picture", 0, 0, {}, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels(size_t(c.width * c.height), 0x404040u);
        for (int32_t x : c.lineColumns)
            for (int32_t y = 0; y < 32; ++y) pixels[y * c.width + x] = 0xFF00FFu;
        for (int32_t x = 0; c.bottomLine && x < c.width; ++x) pixels[31 * c.width + x] = 0xFF00FFu;
        Glyph glyphs[GLYPH_COUNT];
        cutGlyphs(Image{c.width ? pixels.data() : nullptr, c.width, c.height, -1}, glyphs);
        for (int32_t i = 0; i < GLYPH_COUNT; ++i) {
            EXPECT_EQ(glyphs[i].image.width, i < c.cut ? 31 : 0) << c.what << ", glyph " << i;
            EXPECT_EQ(glyphs[i].character, glyphCharacters[i]);
            std::free(glyphs[i].image.pixels);
        }
    }
}

TEST_F(ScrollerTest, FirstSlotEntersOnFrameThirteenAndIsSeenOnFourteen) {
    // A glyph lit in every pixel shows its first column wherever it lands.
    useText("AA");
    const Glyph& a = scroller.glyphs[33];
    std::fill(a.image.pixels, a.image.pixels + 31 * 31, 0xFFFFFFu);
    for (int i = 1; i <= 12; ++i) frame();
    EXPECT_EQ(scroller.textPos, 0);
    EXPECT_EQ(frame(), 320);  // in the buffer at column 320, drawn to screen column 320: clipped
    EXPECT_EQ(scroller.textPos, 1);
    EXPECT_TRUE(slotHolds(scroller, 320, 'A'));
    EXPECT_GT(scroller.scrollOffset, 0.5f);
    EXPECT_LT(scroller.scrollOffset, 0.5001f);
    EXPECT_EQ(frame(), 317);
}

TEST_F(ScrollerTest, TextWrapsWithoutABlankSlotAndUnknownBytesRepeatTheSlot) {
    useText("ABa");  // no lower-case glyphs: the third slot shows the "B" again
    for (int slot = 0; slot < 4; ++slot) untilNextSlot();
    EXPECT_EQ(scroller.textPos, 1);
    EXPECT_TRUE(slotHolds(scroller, 224, 'A'));
    EXPECT_TRUE(slotHolds(scroller, 256, 'B'));
    EXPECT_TRUE(slotHolds(scroller, 288, 'B'));
    EXPECT_TRUE(slotHolds(scroller, 320, 'A'));
}

TEST_F(ScrollerTest, MissingTextScrollsNothing) {
    useText("");
    scroller.text = nullptr;  // no byte may be read
    for (int i = 0; i < 40; ++i) EXPECT_EQ(frame(), 320);
}

}  // namespace
