#include "generators/pictures/canvas.h"

#include <algorithm>
#include <map>

Canvas makeCanvas(int width, int height, Rgb fill) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(size_t(width) * size_t(height), fill);
    return c;
}

Mask makeMask(int width, int height) {
    Mask m;
    m.width = width;
    m.height = height;
    m.bits.assign(size_t(width) * size_t(height), 0);
    return m;
}

Rgb getPixel(const Canvas& c, int x, int y, Rgb outside) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return outside;
    return c.pixels[size_t(y) * size_t(c.width) + size_t(x)];
}

void setPixel(Canvas& c, int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    c.pixels[size_t(y) * size_t(c.width) + size_t(x)] = colour;
}

bool maskAt(const Mask& m, int x, int y) {
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) return false;
    return m.bits[size_t(y) * size_t(m.width) + size_t(x)] != 0;
}

void setMask(Mask& m, int x, int y, bool on) {
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) return;
    m.bits[size_t(y) * size_t(m.width) + size_t(x)] = on ? 1 : 0;
}

Rgb mix(Rgb a, Rgb b, int t) {
    t = std::clamp(t, 0, 256);
    auto channel = [t](int p, int q) { return uint8_t((p * (256 - t) + q * t + 128) >> 8); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void blendPixel(Canvas& c, int x, int y, Rgb colour, int t) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    setPixel(c, x, y, mix(getPixel(c, x, y), colour, t));
}

int bayer4(int x, int y) {
    static const int table[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return table[y & 3][x & 3];
}

Rgb ditherRamp(const std::vector<Rgb>& ramp, int pos, int x, int y) {
    int steps = int(ramp.size()) - 1;
    if (steps <= 0) return ramp.empty() ? Rgb{0, 0, 0} : ramp[0];
    int scaled = std::clamp(pos, 0, 4096) * steps;  // 4096ths of a ramp step
    int index = scaled >> 12, fraction = (scaled & 4095) >> 8;
    if (index >= steps) return ramp[size_t(steps)];
    return fraction > bayer4(x, y) ? ramp[size_t(index) + 1] : ramp[size_t(index)];
}

Rgb bandRamp(const std::vector<Rgb>& ramp, int pos) {
    if (ramp.empty()) return {0, 0, 0};
    int index = std::clamp(pos, 0, 4096) * int(ramp.size()) / 4097;
    return ramp[size_t(index)];
}

bool maskRows(const Mask& m, int& top, int& bottom) {
    top = m.height;
    bottom = -1;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (maskAt(m, x, y)) {
                if (y < top) top = y;
                bottom = y;
                break;
            }
    return bottom >= 0;
}

Mask dilate(const Mask& m, int radius) {
    Mask out = m;
    for (int step = 0; step < radius; ++step) {
        Mask grown = out;
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x) {
                if (maskAt(out, x, y)) continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx) near = maskAt(out, x + dx, y + dy);
                if (near) setMask(grown, x, y, true);
            }
        out = grown;
    }
    return out;
}

void stampMask(Mask& dst, const Mask& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx)
            if (maskAt(src, sx, sy)) setMask(dst, x + sx, y + sy, true);
}

bool toPalette(const Canvas& c, std::vector<uint8_t>& indices, std::vector<Rgb>& palette) {
    auto key = [](Rgb p) { return (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b; };
    std::map<uint32_t, int> slots;
    for (Rgb p : c.pixels) slots[key(p)] = 0;
    if (slots.size() > 256) return false;
    palette.clear();
    for (auto& [colour, slot] : slots) {
        slot = int(palette.size());
        palette.push_back({uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)});
    }
    indices.clear();
    indices.reserve(c.pixels.size());
    for (Rgb p : c.pixels) indices.push_back(uint8_t(slots[key(p)]));
    return true;
}

void fillPolygon(Mask& m, const std::vector<PointF>& points) {
    size_t n = points.size();
    for (int y = 0; y < m.height; ++y) {
        double py = y + 0.5;
        for (int x = 0; x < m.width; ++x) {
            double px = x + 0.5;
            bool in = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                PointF a = points[i], b = points[j];
                if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) in = !in;
            }
            if (in) setMask(m, x, y, true);
        }
    }
}

void fillEllipse(Mask& m, double cx, double cy, double rx, double ry, bool on) {
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) setMask(m, x, y, on);
        }
}
