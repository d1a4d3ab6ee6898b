#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "generators/writers/png_writer.h"
#include "resources/resource_ids.h"

namespace {

std::vector<uint8_t> readResource(int id) {
    std::string prefix = std::to_string(id) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(VITRELUME_RESOURCE_DIR)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::vector<uint8_t> bytes;
        FILE* f = std::fopen(entry.path().string().c_str(), "rb");
        if (!f) return bytes;
        int ch;
        while ((ch = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(ch));
        std::fclose(f);
        return bytes;
    }
    return {};
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Picture decode(const std::vector<uint8_t>& png) {
    Picture p;
    int channels = 0;
    unsigned char* rgba = stbi_load_from_memory(png.data(), int(png.size()), &p.width, &p.height, &channels, 4);
    if (!rgba) return {};
    for (int i = 0; i < p.width * p.height; ++i)
        p.pixels.push_back((uint32_t(rgba[4 * i]) << 16) | (uint32_t(rgba[4 * i + 1]) << 8) | rgba[4 * i + 2]);
    stbi_image_free(rgba);
    return p;
}

Picture decodeResource(int id) { return decode(readResource(id)); }

const uint32_t kMagenta = 0xFF00FF;

const unsigned char kCharacters[59] = {
    0x20, 0x21, 0x22, 0xC5, 0xC4, 0xD6, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E,
    0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D,
    0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C,
    0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A};

// Pure black is see-through in the demo. True when every pure black pixel
// touches (4-neighbours) only pure black or colours that `allowed` accepts:
// black then only ever borders an outline, never the filling of a shape.
template <typename Allowed>
bool blackTouchesOnly(const Picture& p, Allowed allowed, int& badX, int& badY) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (p.at(x, y) != 0) continue;
            const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                int nx = x + dx[k], ny = y + dy[k];
                if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height) continue;
                uint32_t n = p.at(nx, ny);
                if (n != 0 && !allowed(n)) {
                    badX = x;
                    badY = y;
                    return false;
                }
            }
        }
    return true;
}

bool nearBlack(uint32_t c) { return ((c >> 16) & 0xFF) < 48 && ((c >> 8) & 0xFF) < 48 && (c & 0xFF) < 48; }

// Pure black pixels that cannot reach the picture's border through pure black.
int enclosedBlack(const Picture& p) {
    std::vector<uint8_t> seen(p.pixels.size(), 0);
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if ((x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) && p.at(x, y) == 0) todo.push_back({x, y});
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        if (x < 0 || y < 0 || x >= p.width || y >= p.height) continue;
        size_t i = size_t(y) * size_t(p.width) + size_t(x);
        if (seen[i] || p.pixels[i] != 0) continue;
        seen[i] = 1;
        todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    int enclosed = 0;
    for (size_t i = 0; i < p.pixels.size(); ++i) enclosed += p.pixels[i] == 0 && !seen[i];
    return enclosed;
}

}  // namespace

// The font sheet's grid and glyphs are checked through the scroller's own cutter.
TEST(Content, EveryPictureDecodesAtItsSize) {
    const int sizes[][3] = {{RESOURCE_PULSING_LOGO, 286, 42},    {RESOURCE_TITLE_PICTURE, 320, 200},
                            {RESOURCE_FONT_SHEET, 320, 192},     {RESOURCE_ORB_SMALL, 18, 18},
                            {RESOURCE_ORB_MEDIUM, 26, 26},       {RESOURCE_ORB_LARGE, 35, 35},
                            {RESOURCE_CARD_YEARS, 100, 78},      {RESOURCE_CARD_CODE, 100, 78},
                            {RESOURCE_CARD_GRAPHICS, 100, 78},   {RESOURCE_CARD_MUSIC, 100, 78},
                            {RESOURCE_CARD_GREETINGS, 100, 78},  {RESOURCE_CARD_EMBLEM, 100, 78},
                            {RESOURCE_BACKGROUND, 320, 200}};
    for (const auto& size : sizes) {
        Picture p = decodeResource(size[0]);
        EXPECT_EQ(p.width, size[1]) << size[0];
        EXPECT_EQ(p.height, size[2]) << size[0];
    }
}

TEST(Content, PngWriterRefusesWhatItCannotWrite) {
    std::vector<Rgb> palette = {{10, 20, 30}, {255, 0, 255}, {0, 0, 0}};
    EXPECT_TRUE(encodePngPalette(2, 2, {0, 3, 0, 0}, palette).empty()) << "an index beyond the palette";
    EXPECT_TRUE(encodePngRgb(2, 2, std::vector<Rgb>(3)).empty()) << "too few pixels";
}

TEST(Content, PureBlackOnlySurroundsTheSpritesLogoAndGlyphs) {
    int x = -1, y = -1;
    for (int id : {RESOURCE_ORB_SMALL, RESOURCE_ORB_MEDIUM, RESOURCE_ORB_LARGE}) {
        SCOPED_TRACE(id);
        Picture sprite = decodeResource(id);
        ASSERT_FALSE(sprite.pixels.empty());
        EXPECT_EQ(enclosedBlack(sprite), 0);
        int mid = sprite.width / 2;
        for (int yy = mid - 3; yy <= mid + 3; ++yy)
            for (int xx = mid - 3; xx <= mid + 3; ++xx) EXPECT_NE(sprite.at(xx, yy), 0u);
        EXPECT_EQ(sprite.at(0, 0), 0u);
    }
    // The logo and the glyphs may have see-through counters (the hole of an
    // R or an O), but black only ever meets their near-black outline.
    Picture logo = decodeResource(RESOURCE_PULSING_LOGO);
    EXPECT_TRUE(blackTouchesOnly(logo, nearBlack, x, y)) << "logo at " << x << "," << y;
    EXPECT_EQ(logo.at(0, 0), 0u);
    Picture sheet = decodeResource(RESOURCE_FONT_SHEET);
    auto outlineOrGrid = [](uint32_t c) { return nearBlack(c) || c == kMagenta; };
    EXPECT_TRUE(blackTouchesOnly(sheet, outlineOrGrid, x, y)) << "font sheet at " << x << "," << y;
}

TEST(Content, ScrollTextIs3395BytesOfTheFontsCharacters) {
    std::vector<uint8_t> text = readResource(RESOURCE_SCROLL_TEXT);
    ASSERT_EQ(text.size(), 3395u);
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_NE(std::find(kCharacters, kCharacters + 59, text[i]), kCharacters + 59) << "byte " << i;
    // It opens with text, not with a gap, so the first slot is never empty.
    EXPECT_NE(text[0], ' ');
}
