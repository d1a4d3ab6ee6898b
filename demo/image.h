#pragma once
// 32-bit pixel images and the two blitters every effect is built from.
// A pixel's bytes in memory are red, green, blue, alpha: read as a
// little-endian word, red is bits 0-7 and alpha bits 24-31.
#include <cstddef>
#include <cstdint>

// Copied by value freely; copies share the pixels.
struct Image {
    uint32_t* pixels;  // width x height, row-major, top row first; null when empty
    int32_t width;
    int32_t height;
    int32_t colorKey;  // negative: none; else the 24-bit colour that blits from this image skip
};

// Only the low 24 bits (red, green, blue) take part in colour-key tests.
inline uint32_t pixelColor(uint32_t pixel) { return pixel & 0xFFFFFFu; }

// Decodes a picture held in memory into RGBA pixels (malloc'd, released with
// free). Anything undecodable gives the empty image {null, 0, 0, -1}.
Image decodeImage(const unsigned char* bytes, size_t size);

// The embedded picture `id`, or the empty image when it is missing or broken.
Image loadImage(int id);

// Copies the source rectangle with inclusive corners (srcX0, srcY0) and
// (srcX1, srcY1) to `dst` at (dstX, dstY), row by row, left to right. Positions
// outside `dst` are skipped without reading the source; source pixels whose
// colour equals src.colorKey are skipped. Copying within one image towards
// smaller x (or smaller y) is safe.
void blit(int32_t srcX0, int32_t srcY0, Image src, int32_t srcX1, int32_t srcY1, Image& dst, int32_t dstX,
          int32_t dstY);

// Mixes the source rectangle (0, 0)..(lastColumn, lastRow) into the framebuffer
// at (dstX, dstY): each channel becomes (d x (255 - alpha) + s x alpha) >> 8 and
// the alpha byte becomes 0. `alpha` is expected in 0..255.
void blendBlit(Image src, int32_t lastColumn, int32_t lastRow, int32_t dstX, int32_t dstY, int32_t alpha);
