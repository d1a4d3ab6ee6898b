#include "generators/pictures/truetype_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "cli/read_file.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace {

const std::vector<unsigned char>* fontBytes(const std::string& path) {
    static std::map<std::string, std::vector<unsigned char>> cache;
    auto found = cache.find(path);
    if (found != cache.end()) return &found->second;
    std::vector<unsigned char> bytes;
    if (!readWholeFile(path, bytes)) return nullptr;
    return &(cache[path] = std::move(bytes));
}

}  // namespace

Mask textMask(const std::string& fontPath, const std::string& latin1, int pixelHeight, int extraSpacing) {
    const std::vector<unsigned char>* bytes = fontBytes(fontPath);
    stbtt_fontinfo font;
    if (!bytes || bytes->empty() || !stbtt_InitFont(&font, bytes->data(), 0)) return {};
    float scale = stbtt_ScaleForPixelHeight(&font, float(pixelHeight));
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
    int baseline = int(std::lround(ascent * scale));
    int height = baseline + int(std::lround(-descent * scale));

    // Pen positions first, to know the width.
    std::vector<int> penX;
    int pen = 0;
    for (size_t k = 0; k < latin1.size(); ++k) {
        int cp = (unsigned char)latin1[k];
        penX.push_back(pen);
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font, cp, &advance, &bearing);
        pen += int(std::lround(advance * scale)) + extraSpacing;
        if (k + 1 < latin1.size())
            pen += int(std::lround(stbtt_GetCodepointKernAdvance(&font, cp, (unsigned char)latin1[k + 1]) * scale));
    }
    Mask mask = makeMask(pen + 2, height);
    for (size_t k = 0; k < latin1.size(); ++k) {
        int cp = (unsigned char)latin1[k];
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBox(&font, cp, scale, scale, &x0, &y0, &x1, &y1);
        int w = x1 - x0, h = y1 - y0;
        if (w <= 0 || h <= 0) continue;
        std::vector<unsigned char> cover(size_t(w) * size_t(h));
        stbtt_MakeCodepointBitmap(&font, cover.data(), w, h, w, scale, scale, cp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (cover[size_t(y) * size_t(w) + size_t(x)] >= 112)
                    setMask(mask, penX[k] + x0 + x, baseline + y0 + y, true);
    }
    return mask;
}

Mask cropMask(const Mask& m) {
    int left = m.width, right = -1, top = m.height, bottom = -1;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (maskAt(m, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return makeMask(0, 0);
    Mask out = makeMask(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) setMask(out, x - left, y - top, maskAt(m, x, y));
    return out;
}

namespace {

bool glyphScales(const std::string& fontPath, stbtt_fontinfo& font, int capHeight, int widthPercent, float& sx,
                 float& sy) {
    const std::vector<unsigned char>* bytes = fontBytes(fontPath);
    if (!bytes || bytes->empty() || !stbtt_InitFont(&font, bytes->data(), 0)) return false;
    int x0, y0, x1, y1;
    if (!stbtt_GetCodepointBox(&font, 'H', &x0, &y0, &x1, &y1) || y1 <= 0) return false;
    sy = float(capHeight) / float(y1);
    sx = sy * float(widthPercent) / 100.0f;
    return true;
}

}  // namespace

int glyphInkWidth(const std::string& fontPath, int codepoint, int capHeight, int widthPercent) {
    stbtt_fontinfo font;
    float sx, sy;
    if (!glyphScales(fontPath, font, capHeight, widthPercent, sx, sy)) return 0;
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBox(&font, codepoint, sx, sy, &x0, &y0, &x1, &y1);
    return x1 > x0 ? x1 - x0 : 0;
}

Mask glyphMask(const std::string& fontPath, int codepoint, int capHeight, int widthPercent, int size, int baseline,
               int shiftX) {
    Mask mask = makeMask(size, size);
    stbtt_fontinfo font;
    float sx, sy;
    if (!glyphScales(fontPath, font, capHeight, widthPercent, sx, sy)) return mask;
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBox(&font, codepoint, sx, sy, &x0, &y0, &x1, &y1);
    int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) return mask;
    std::vector<unsigned char> cover(size_t(w) * size_t(h));
    stbtt_MakeCodepointBitmap(&font, cover.data(), w, h, w, sx, sy, codepoint);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cover[size_t(y) * size_t(w) + size_t(x)] >= 112) setMask(mask, x + shiftX, baseline + y0 + y, true);
    return mask;
}
