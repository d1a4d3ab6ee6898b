#include "programs/capture/shown_frame.h"

#include <cstring>

void shownRgb(const HeadlessFrame& frame, std::vector<uint8_t>* rgb) {
    const uint32_t level = uint32_t(frame.level < 0 ? 0 : frame.level > 255 ? 255 : frame.level);
    // v x L / 255 is never exactly halfway, so adding 127 rounds it.
    uint8_t shown[256];
    for (uint32_t v = 0; v < 256; ++v) shown[v] = uint8_t((v * level + 127) / 255);
    rgb->resize(frame.pixels.size() * 3);
    uint8_t* out = rgb->data();
    for (uint32_t pixel : frame.pixels) {  // red in bits 0 to 7
        *out++ = shown[pixel & 0xFFu];
        *out++ = shown[(pixel >> 8) & 0xFFu];
        *out++ = shown[(pixel >> 16) & 0xFFu];
    }
}

void scaleNearest(const std::vector<uint8_t>& rgb, int32_t width, int32_t height, const PictureFrame& frame,
                  std::vector<uint8_t>* out) {
    const int32_t scale = frame.scale;
    const size_t canvasRow = size_t(frame.width) * 3;
    const size_t size = canvasRow * size_t(frame.height);
    // Only the picture is written on each call: the margins stay as made here.
    if (out->size() != size) out->assign(size, 0);
    const size_t rowBytes = size_t(width) * 3 * size_t(scale);
    uint8_t* row = out->data() + size_t(frame.top) * canvasRow + size_t(frame.left) * 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = rgb.data() + size_t(y) * size_t(width) * 3;
        uint8_t* target = row;
        for (int32_t x = 0; x < width; ++x, source += 3) {
            for (int32_t k = 0; k < scale; ++k, target += 3) std::memcpy(target, source, 3);
        }
        for (int32_t k = 1; k < scale; ++k) std::memcpy(row + size_t(k) * canvasRow, row, rowBytes);
        row += canvasRow * size_t(scale);
    }
}
