#pragma once
// Pixel conversions between the system's pointer bitmaps (32-bit, blue in
// the low byte) and the shell's pointer images (red, green, blue, alpha in
// memory: red in the low byte). No windows.h; main thread only.
#include <cstddef>
#include <cstdint>

enum { POINTER_MAX_SIDE = 256 };

// A colour pointer: its colour bitmap and its AND mask (both width x height,
// as read). A bitmap without any alpha takes its opacity from the mask, so an
// old-style pointer does not turn invisible.
void colorPointerPixels(const uint32_t* color, const uint32_t* andMask, int32_t width, int32_t height, uint32_t* out);
// A monochrome pointer: one mask of width x 2 height, the AND half on top and
// the XOR half below. Each pixel is black or white from the XOR half, opaque
// where the AND bit is clear.
void monochromePointerPixels(const uint32_t* mask, int32_t width, int32_t height, uint32_t* out);
// The image placed in the top-left corner of a transparent square of side
// max(width, height), in the system's channel order.
void squarePointerBitmap(const uint32_t* pixels, int32_t width, int32_t height, uint32_t* square);
// The 1-bit AND mask of that square, rows of `rowBytes`: set (screen shows
// through) wherever the image is fully transparent, so a pointer reads the
// same to a system that ignores an alpha channel of all zeros.
void squarePointerMask(const uint32_t* pixels, int32_t width, int32_t height, uint8_t* mask, size_t rowBytes);
