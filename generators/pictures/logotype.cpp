#include "generators/pictures/logotype.h"

#include <vector>

namespace {

struct Point {
    int x, y;
};

struct Shape {
    bool add;  // false: cut away
    std::vector<Point> points;  // convex
};

struct Letter {
    int width;
    std::vector<Shape> shapes;
};

// Letters are drawn in units on a cap height of 100 with strokes of 24.
Shape box(int x0, int y0, int x1, int y1, bool add = true) {
    return {add, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
}

const Letter& letterFor(char ch) {
    static const Letter v{88, {{true, {{0, 0}, {26, 0}, {56, 100}, {32, 100}}},
                               {true, {{62, 0}, {88, 0}, {56, 100}, {32, 100}}}}};
    static const Letter i{24, {box(0, 0, 24, 100)}};
    static const Letter t{84, {box(0, 0, 84, 22), box(30, 0, 54, 100)}};
    static const Letter r{82, {box(0, 0, 24, 100),
                               {true, {{0, 0}, {68, 0}, {82, 14}, {82, 42}, {68, 56}, {0, 56}}},
                               box(24, 22, 58, 34, false),
                               {true, {{36, 56}, {62, 56}, {84, 100}, {58, 100}}}}};
    static const Letter e{72, {box(0, 0, 24, 100), box(0, 0, 72, 22), box(0, 39, 62, 61),
                               box(0, 78, 72, 100)}};
    static const Letter l{68, {box(0, 0, 24, 100), box(0, 78, 68, 100)}};
    static const Letter u{82, {{true, {{0, 0}, {82, 0}, {82, 86}, {68, 100}, {14, 100}, {0, 86}}},
                               box(24, -1, 58, 78, false)}};
    static const Letter m{104, {box(0, 0, 24, 100), box(80, 0, 104, 100),
                                {true, {{0, 0}, {26, 0}, {64, 70}, {40, 70}}},
                                {true, {{78, 0}, {104, 0}, {64, 70}, {40, 70}}}}};
    switch (ch) {
        case 'V': return v;
        case 'I': return i;
        case 'T': return t;
        case 'R': return r;
        case 'E': return e;
        case 'L': return l;
        case 'U': return u;
        default: return m;
    }
}

const char* const kWord = "VITRELUME";
const int kGap = 12;

int wordUnits() {
    int units = 0;
    for (const char* p = kWord; *p; ++p) units += letterFor(*p).width + (p[1] ? kGap : 0);
    return units;
}

// Pixel centre (px + 0.5, py + 0.5) inside the convex polygon whose unit
// corners map to pixels by (u * sx / unitsX, v * sy / 100). Everything is
// scaled to integers, so the test is exact.
bool inside(const std::vector<Point>& poly, long px, long py, long offsetUnits, long sx, long unitsX, long sy) {
    // Work in units x (2 * unitsX * 100) so that pixel centres are integers.
    long cx = (2 * px + 1) * unitsX * 100, cy = (2 * py + 1) * unitsX * 100;
    int sign = 0;
    size_t n = poly.size();
    for (size_t k = 0; k < n; ++k) {
        Point a = poly[k], b = poly[(k + 1) % n];
        long ax = 2 * (a.x + offsetUnits) * sx * 100, ay = 2 * long(a.y) * sy * unitsX;
        long bx = 2 * (b.x + offsetUnits) * sx * 100, by = 2 * long(b.y) * sy * unitsX;
        long cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (cross == 0) continue;
        int s = cross > 0 ? 1 : -1;
        if (sign == 0) sign = s;
        else if (s != sign) return false;
    }
    return true;
}

Mask padMask(const Mask& m, int pad) {
    Mask out = makeMask(m.width + 2 * pad, m.height + 2 * pad);
    stampMask(out, m, pad, pad);
    return out;
}

}  // namespace

Mask logotypeMask(int width, int height) {
    Mask mask = makeMask(width, height);
    long unitsX = wordUnits();
    // Pixel centres map to units; sx and sy are the mask size.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            long offset = 0;
            bool on = false;
            for (const char* p = kWord; *p; ++p) {
                const Letter& letter = letterFor(*p);
                for (const Shape& s : letter.shapes)
                    if (inside(s.points, x, y, offset, width, unitsX, height)) on = s.add;
                if (on) break;
                offset += letter.width + kGap;
            }
            setMask(mask, x, y, on);
        }
    return mask;
}

void paintChrome(Canvas& c, const Mask& shape, int shapeX, int shapeY, const ChromeStyle& style) {
    // One spare pixel all round, so that the outline also forms where the
    // shape touches the edge of its mask.
    const Mask letters = padMask(shape, 1);
    const int x0 = shapeX - 1, y0 = shapeY - 1;
    const std::vector<Rgb>& sky = style.sky;
    const std::vector<Rgb>& ground = style.ground;
    Mask outline = dilate(letters, 1);
    int top, bottom;
    if (!maskRows(letters, top, bottom)) return;
    if (style.spanTop >= 0) {
        top = style.spanTop + 1;  // the padding moved every row down by one
        bottom = style.spanBottom + 1;
    }
    int span = bottom - top + 1, horizonRow = top + span * style.horizonPercent / 100;

    for (int y = 0; y < letters.height; ++y)
        for (int x = 0; x < letters.width; ++x) {
            if (!maskAt(outline, x, y)) continue;
            if (!maskAt(letters, x, y)) {
                setPixel(c, x0 + x, y0 + y, style.outline);
                continue;
            }
            Rgb colour;
            if (y == horizonRow) {
                colour = style.horizon;
            } else if (y < horizonRow) {
                int pos = (y - top) * 4096 / (horizonRow - top > 0 ? horizonRow - top : 1);
                colour = bandRamp(sky, pos);
            } else {
                int pos = (y - horizonRow - 1) * 4096 / (bottom - horizonRow > 1 ? bottom - horizonRow - 1 : 1);
                colour = bandRamp(ground, pos);
            }
            // Bevel: light falls from the top left.
            for (int d = 1; d <= style.bevel; ++d) {
                int weight = 256 * (style.bevel - d + 1) / (style.bevel + 1);
                if (!maskAt(letters, x, y - d)) colour = mix(colour, {255, 255, 255}, weight * 3 / 4);
                else if (!maskAt(letters, x - d, y)) colour = mix(colour, {220, 250, 255}, weight / 2);
                else if (!maskAt(letters, x, y + d)) colour = mix(colour, {20, 10, 50}, weight / 2);
                else if (!maskAt(letters, x + d, y)) colour = mix(colour, {30, 14, 70}, weight * 2 / 5);
                else continue;
                break;
            }
            setPixel(c, x0 + x, y0 + y, colour);
        }
}

void paintGradientText(Canvas& c, const Mask& shape, int shapeX, int shapeY, const std::vector<Rgb>& ramp,
                       Rgb outline) {
    // One spare pixel all round, so that the outline also forms where the
    // shape touches the edge of its mask.
    const Mask letters = padMask(shape, 1);
    const int x0 = shapeX - 1, y0 = shapeY - 1;
    Mask ring = dilate(letters, 1);
    int top, bottom;
    if (!maskRows(letters, top, bottom)) return;
    for (int y = 0; y < letters.height; ++y)
        for (int x = 0; x < letters.width; ++x) {
            if (!maskAt(ring, x, y)) continue;
            if (!maskAt(letters, x, y)) {
                setPixel(c, x0 + x, y0 + y, outline);
                continue;
            }
            int pos = bottom > top ? (y - top) * 4096 / (bottom - top) : 0;
            Rgb colour = bandRamp(ramp, pos);
            if (!maskAt(letters, x, y - 1)) colour = mix(colour, {255, 255, 255}, 150);
            else if (!maskAt(letters, x, y + 1)) colour = mix(colour, {30, 10, 40}, 90);
            setPixel(c, x0 + x, y0 + y, colour);
        }
}

void paintShadow(Canvas& c, const Mask& shape, int shapeX, int shapeY, int dx, int dy, int strength) {
    // One spare pixel all round, so that the outline also forms where the
    // shape touches the edge of its mask.
    const Mask letters = padMask(shape, 1);
    const int x0 = shapeX - 1, y0 = shapeY - 1;
    Mask grown = dilate(letters, 1);
    for (int y = 0; y < grown.height; ++y)
        for (int x = 0; x < grown.width; ++x)
            if (maskAt(grown, x, y)) blendPixel(c, x0 + x + dx, y0 + y + dy, {2, 0, 10}, strength);
}
