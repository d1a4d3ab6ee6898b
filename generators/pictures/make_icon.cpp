// Writes the Windows program's icon: a chrome "V" over the title's night sky
// and glass floor, drawn anew at each size rather than scaled down, so the
// small ones stay crisp. make_icon OUT.ico
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "generators/pictures/logotype.h"
#include "generators/pictures/scenery.h"

namespace {

Canvas makeIcon(int size) {
    Canvas c = makeCanvas(size, size, {0, 0, 0});
    const int horizon = size * 2 / 3;
    paintSky(c, 0, horizon, {{3, 2, 16}, {10, 7, 38}, {26, 13, 68}, {62, 22, 100}, {140, 44, 130}});
    for (int x = 0; x < size; ++x) setPixel(c, x, horizon, {255, 150, 230});
    paintGlassFloor(c, {horizon, {10, 8, 36}, {20, 16, 58}, {70, 210, 240}, {120, 40, 124}, 2400 * size / 320});

    // The V's arms are a fifth of the icon wide; its point stands on the floor.
    Mask v = makeMask(size, size);
    const double m = size / 16.0, arm = size / 5.0, top = 1.5 * m, bottom = size - 2.5 * m;
    fillPolygon(v, {{1.5 * m, top}, {1.5 * m + arm, top}, {size / 2.0, bottom - 1.6 * arm},
                    {size - 1.5 * m - arm, top}, {size - 1.5 * m, top}, {size / 2.0 + arm / 3, bottom},
                    {size / 2.0 - arm / 3, bottom}});
    ChromeStyle chrome;
    chrome.bevel = size >= 32 ? 2 : 1;
    paintChrome(c, v, 0, 0, chrome);
    return c;
}

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One icon image: a 32-bit bottom-up bitmap of twice the height (the colour
// rows, then the AND mask's), all opaque.
std::vector<uint8_t> iconImage(const Canvas& c) {
    std::vector<uint8_t> out;
    const int maskStride = (c.width + 31) / 32 * 4;
    put32(out, 40);
    put32(out, unsigned(c.width));
    put32(out, unsigned(c.height * 2));
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, 0);   // no compression
    put32(out, unsigned(c.width * c.height * 4 + maskStride * c.height));
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = c.height - 1; y >= 0; --y)
        for (int x = 0; x < c.width; ++x) {
            Rgb p = getPixel(c, x, y);
            out.insert(out.end(), {p.b, p.g, p.r, 255});
        }
    out.insert(out.end(), size_t(maskStride * c.height), 0);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine command("make_icon", "usage: make_icon OUT.ico\n",
                        "Draws the Windows program's icon (resources/icon/vitrelume.ico).\n");
    std::string outPath;
    command.app.add_option("OUT.ico", outPath, "The icon file to write")->type_name("")->required();
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    const int sizes[] = {16, 32, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) images.push_back(iconImage(makeIcon(size)));

    std::vector<uint8_t> ico;
    put16(ico, 0);
    put16(ico, 1);  // an icon, not a cursor
    put16(ico, unsigned(images.size()));
    unsigned offset = 6 + 16 * unsigned(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        ico.push_back(uint8_t(sizes[i]));
        ico.push_back(uint8_t(sizes[i]));
        ico.push_back(0);  // no palette
        ico.push_back(0);
        put16(ico, 1);
        put16(ico, 32);
        put32(ico, unsigned(images[i].size()));
        put32(ico, offset);
        offset += unsigned(images[i].size());
    }
    for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());
    if (!writeFileBytes(outPath, ico)) {
        std::fprintf(stderr, "%s: cannot write\n", outPath.c_str());
        return 1;
    }
    return 0;
}
