// Pointer bitmaps (blue in the low byte) to images (red in the low byte) and back.
#include <gtest/gtest.h>

#include <vector>

#include "app/win32/pointer_pixels.h"

TEST(PointerPixels, MonochromeHalvesGiveGreyAndOpacity) {
    // 2 x 1 pointer: the AND half above the XOR half, each pixel 0 or white.
    // Pixel 0: AND clear, XOR set -> opaque white. Pixel 1: AND set, XOR clear -> transparent.
    const uint32_t mask[4] = {0, 0xFFFFFF, 0xFFFFFF, 0};
    uint32_t out[2];
    monochromePointerPixels(mask, 2, 1, out);
    EXPECT_EQ(out[0], 0xFFFFFFFFu);
    EXPECT_EQ(out[1], 0x00000000u);
}

TEST(PointerPixels, ColourSwapsRedAndBlueAndFallsBackToTheMaskWithoutAlpha) {
    const uint32_t withAlpha[2] = {0x80112233, 0x00445566};
    const uint32_t andMask[2] = {0xFFFFFF, 0};
    uint32_t out[2];
    colorPointerPixels(withAlpha, andMask, 2, 1, out);
    EXPECT_EQ(out[0], 0x80332211u);
    EXPECT_EQ(out[1], 0x00665544u) << "alpha as the bitmap has it";

    const uint32_t noAlpha[2] = {0x00112233, 0x00445566};
    colorPointerPixels(noAlpha, andMask, 2, 1, out);
    EXPECT_EQ(out[0], 0x00332211u) << "AND bit set: transparent";
    EXPECT_EQ(out[1], 0xFF665544u) << "AND bit clear: opaque";
}

TEST(PointerPixels, ImageGoesTopLeftInATransparentSquareWithAMatchingMask) {
    // 10 x 3: opaque red except one transparent pixel at (9, 2).
    std::vector<uint32_t> image(30, 0xFF0000FFu);
    image[29] = 0;
    std::vector<uint32_t> square(100, 0xDEADBEEF);
    squarePointerBitmap(image.data(), 10, 3, square.data());
    EXPECT_EQ(square[0], 0xFFFF0000u) << "red moves to bits 16-23";
    EXPECT_EQ(square[2 * 10 + 8], 0xFFFF0000u);
    EXPECT_EQ(square[2 * 10 + 9], 0u);
    EXPECT_EQ(square[3 * 10], 0u) << "below the image";

    const size_t rowBytes = 2;
    std::vector<uint8_t> mask(10 * rowBytes, 0);
    squarePointerMask(image.data(), 10, 3, mask.data(), rowBytes);
    EXPECT_EQ(mask[0], 0x00);
    EXPECT_EQ(mask[1], 0x3F) << "pixels 8 and 9 opaque, the padding set";
    EXPECT_EQ(mask[2 * rowBytes + 1], 0x7F) << "pixel 9 of row 2 is transparent";
    EXPECT_EQ(mask[3 * rowBytes], 0xFF);
}
