#include "app/win32/pointer_pixels.h"

#include <cstring>

namespace {

uint32_t swapRedBlue(uint32_t pixel) {
    return (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
}

// A mask pixel as read at 32 bits: 0 for a clear bit, white for a set one.
bool maskBitSet(uint32_t pixel) { return (pixel & 0x00FFFFFFu) != 0; }

}  // namespace

void colorPointerPixels(const uint32_t* color, const uint32_t* andMask, int32_t width, int32_t height, uint32_t* out) {
    const size_t count = size_t(width) * size_t(height);
    bool hasAlpha = false;
    for (size_t i = 0; i < count; ++i) {
        out[i] = swapRedBlue(color[i]);
        hasAlpha |= (color[i] >> 24) != 0;
    }
    if (hasAlpha || !andMask) return;
    for (size_t i = 0; i < count; ++i) out[i] = (out[i] & 0x00FFFFFFu) | (maskBitSet(andMask[i]) ? 0u : 0xFF000000u);
}

void monochromePointerPixels(const uint32_t* mask, int32_t width, int32_t height, uint32_t* out) {
    const size_t count = size_t(width) * size_t(height);
    const uint32_t* andHalf = mask;
    const uint32_t* xorHalf = mask + count;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t grey = maskBitSet(xorHalf[i]) ? 0x00FFFFFFu : 0u;
        out[i] = grey | (maskBitSet(andHalf[i]) ? 0u : 0xFF000000u);
    }
}

void squarePointerBitmap(const uint32_t* pixels, int32_t width, int32_t height, uint32_t* square) {
    const int32_t side = width > height ? width : height;
    std::memset(square, 0, size_t(side) * size_t(side) * sizeof *square);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) square[size_t(y) * side + x] = swapRedBlue(pixels[size_t(y) * width + x]);
}

void squarePointerMask(const uint32_t* pixels, int32_t width, int32_t height, uint8_t* mask, size_t rowBytes) {
    const int32_t side = width > height ? width : height;
    std::memset(mask, 0xFF, size_t(side) * rowBytes);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if ((pixels[size_t(y) * width + x] >> 24) != 0) mask[size_t(y) * rowBytes + x / 8] &= uint8_t(~(0x80u >> (x % 8)));
}
