#include "demo/image.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "demo/demo_state.h"
#include "demo/resource.h"
#include "demo/stb_image_config.h"

namespace {

const Image EMPTY_IMAGE = {nullptr, 0, 0, -1};

// Calls plot(source, target, count) for every run of one row whose positions
// lie inside `dst` and whose source pixels lie inside src's pixel block, top
// row first. Cutting the ranges once per row gives the same pixels as testing
// every position, keeps the inner loops branch-free, and stays in 64 bits so
// that no corner value can overflow. A source rectangle wider than the source
// reads on into the following rows, as the glyph cutter and the scroller rely on.
template <typename Plot>
void forEachRun(int64_t srcX0, int64_t srcY0, int64_t columns, int64_t rows, const Image& src, const Image& dst,
                int64_t dstX, int64_t dstY, Plot plot) {
    if (columns < 1 || rows < 1 || dst.pixels == nullptr || src.pixels == nullptr) return;
    if (src.width <= 0 || src.height <= 0) return;
    const int64_t sourceSize = int64_t(src.width) * src.height;
    const int64_t rowBegin = std::max<int64_t>(0, -dstY);
    const int64_t rowEnd = std::min<int64_t>(rows, int64_t(dst.height) - dstY);
    const int64_t columnBegin = std::max<int64_t>(0, -dstX);
    const int64_t columnEnd = std::min<int64_t>(columns, int64_t(dst.width) - dstX);
    if (columnBegin >= columnEnd) return;
    for (int64_t r = rowBegin; r < rowEnd; ++r) {
        const int64_t sourceRow = (srcY0 + r) * src.width + srcX0;
        const int64_t begin = std::max(columnBegin, -sourceRow);
        const int64_t end = std::min(columnEnd, sourceSize - sourceRow);
        if (begin >= end) continue;
        uint32_t* target = dst.pixels + (dstY + r) * dst.width + dstX + begin;
        plot(src.pixels + sourceRow + begin, target, end - begin);
    }
}

}  // namespace

Image decodeImage(const unsigned char* bytes, size_t size) {
    if (bytes == nullptr || size == 0 || size > size_t(INT_MAX)) return EMPTY_IMAGE;
    int width = 0, height = 0, channelsInFile = 0;
    unsigned char* pixels = stbi_load_from_memory(bytes, int(size), &width, &height, &channelsInFile, 4);
    if (pixels == nullptr || width <= 0 || height <= 0) {
        stbi_image_free(pixels);
        return EMPTY_IMAGE;
    }
    return Image{reinterpret_cast<uint32_t*>(pixels), width, height, -1};
}

Image loadImage(int id) {
    const ResourceData data = findResourceData(id);
    return decodeImage(data.bytes, data.size);
}

void blit(int32_t srcX0, int32_t srcY0, Image src, int32_t srcX1, int32_t srcY1, Image& dst, int32_t dstX,
          int32_t dstY) {
    const int64_t columns = int64_t(srcX1) - srcX0 + 1;
    const int64_t rows = int64_t(srcY1) - srcY0 + 1;
    // Element by element, left to right: a move within one image towards
    // smaller x must read each pixel before it is overwritten.
    if (src.colorKey < 0) {
        forEachRun(srcX0, srcY0, columns, rows, src, dst, dstX, dstY,
                   [](const uint32_t* from, uint32_t* to, int64_t count) {
                       for (int64_t i = 0; i < count; ++i) to[i] = from[i];
                   });
        return;
    }
    const uint32_t key = uint32_t(src.colorKey);
    forEachRun(srcX0, srcY0, columns, rows, src, dst, dstX, dstY,
               [key](const uint32_t* from, uint32_t* to, int64_t count) {
                   for (int64_t i = 0; i < count; ++i) {
                       const uint32_t p = from[i];
                       if (pixelColor(p) != key) to[i] = p;
                   }
               });
}

void blendBlit(Image src, int32_t lastColumn, int32_t lastRow, int32_t dstX, int32_t dstY, int32_t alpha) {
    const int64_t columns = int64_t(lastColumn) + 1;
    const int64_t rows = int64_t(lastRow) + 1;
    const bool keyed = src.colorKey >= 0;
    const uint32_t key = uint32_t(src.colorKey);
    const uint32_t a = uint32_t(alpha);
    const uint32_t b = 255u - a;
    // Red and blue share one multiply: each product is at most 65,025, so
    // neither spills into the other's 16-bit field.
    forEachRun(0, 0, columns, rows, src, demoState.framebuffer, dstX, dstY,
               [=](const uint32_t* from, uint32_t* to, int64_t count) {
                   for (int64_t i = 0; i < count; ++i) {
                       const uint32_t s = from[i];
                       if (keyed && pixelColor(s) == key) continue;
                       const uint32_t d = to[i];
                       const uint32_t redBlue = (((d & 0xFF00FFu) * b + (s & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
                       const uint32_t green = (((d & 0x00FF00u) * b + (s & 0x00FF00u) * a) >> 8) & 0x00FF00u;
                       to[i] = redBlue | green;
                   }
               });
}
