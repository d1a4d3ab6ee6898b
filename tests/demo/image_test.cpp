// Blitters, blending and picture decoding.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "demo/demo_state.h"
#include "demo/image.h"
#include "resources/resource_ids.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

typedef std::vector<uint32_t> Pixels;

struct OwnedImage {
    Pixels pixels;
    Image image;
    OwnedImage(int32_t width, int32_t height, uint32_t fill = 0)
        : pixels(size_t(width) * height, fill), image{pixels.data(), width, height, -1} {}
};

TEST(Blit, ColourKeyComparesOnlyTheColourBytes) {
    OwnedImage src(4, 1);
    src.pixels = {0x00000000u, 0x7F000000u, 0x00000001u, 0xFF123456u};
    OwnedImage keyed(4, 1, 0xAAu), plain(4, 1, 0xAAu);
    src.image.colorKey = 0;
    blit(0, 0, src.image, 3, 0, keyed.image, 0, 0);
    EXPECT_EQ(keyed.pixels, (Pixels{0xAAu, 0xAAu, 0x00000001u, 0xFF123456u}));
    src.image.colorKey = -1;
    blit(0, 0, src.image, 3, 0, plain.image, 0, 0);
    EXPECT_EQ(plain.pixels, src.pixels);  // black and the alpha byte travel too
}

TEST(Blit, ClipsToTheDestinationWithoutReadingClippedSource) {
    // Source pixels right after an inaccessible page: reading a clipped one faults.
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    auto* base = static_cast<uint8_t*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_EQ(mprotect(base, page, PROT_NONE), 0);
    uint32_t* readable = reinterpret_cast<uint32_t*>(base + page);
    readable[0] = 5;
    readable[1] = 6;

    OwnedImage dst(3, 3);
    blit(0, 0, Image{readable - 2, 4, 2, -1}, 3, 0, dst.image, -2, 1);  // two columns left of dst
    Image unreadable{reinterpret_cast<uint32_t*>(base), 16, 16, -1};
    blit(0, 0, unreadable, 15, 15, dst.image, 3, 0);
    blit(0, 0, unreadable, 15, 15, dst.image, 0, -16);
    blit(0, 0, unreadable, 15, 15, dst.image, -16, 3);
    EXPECT_EQ(dst.pixels, (Pixels{0, 0, 0, 5, 6, 0, 0, 0, 0}));
    munmap(base, 2 * page);
}

TEST(Blit, CornersAreInclusiveAndEmptyRectanglesDrawNothing) {
    OwnedImage src(3, 2);
    src.pixels = {10, 11, 12, 13, 14, 15};
    OwnedImage whole(3, 2), exact(3, 2), wide(4, 3, 0xEEu);
    blit(0, 0, src.image, 2, 1, whole.image, 0, 0);
    EXPECT_EQ(whole.pixels, src.pixels);
    // One beyond the last column and row: an exactly sized destination clips the extras;
    // a wider one shows the extra column reading on into the next row, and
    // nothing beyond the pixel block.
    blit(0, 0, src.image, 3, 2, exact.image, 0, 0);
    EXPECT_EQ(exact.pixels, src.pixels);
    blit(0, 0, src.image, 3, 2, wide.image, 0, 0);
    EXPECT_EQ(wide.pixels, (Pixels{10, 11, 12, 13, 13, 14, 15, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

    OwnedImage untouched(3, 2, 7);
    Image empty{nullptr, 0, 0, -1};
    blit(0, 0, empty, -1, -1, untouched.image, 0, 0);
    blit(2, 0, src.image, 1, 1, untouched.image, 0, 0);  // reversed corners
    EXPECT_EQ(untouched.pixels, Pixels(6, 7));
}

TEST(Blit, MovesTowardsSmallerXWithinOneImage) {
    OwnedImage strip(6, 2);
    strip.pixels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    blit(2, 0, strip.image, 5, 1, strip.image, 0, 0);
    EXPECT_EQ(strip.pixels, (Pixels{2, 3, 4, 5, 4, 5, 8, 9, 10, 11, 10, 11}));
}

TEST(BlendBlit, MixesDividingBy256HonoursTheKeyAndClips) {
    resetDemoState();
    uint32_t* screen = demoState.framebuffer.pixels;
    OwnedImage white(1, 1, 0xFFFFFFFFu), colour(1, 1, 0xFF804020u);
    blendBlit(white.image, 0, 0, 0, 0, 128);
    EXPECT_EQ(screen[0], 0x007F7F7Fu);
    screen[1] = 0xFFFF000Au;  // (10, 0, 255), opaque
    blendBlit(white.image, 0, 0, 1, 0, 0);
    EXPECT_EQ(screen[1], 0x00FE0009u);
    blendBlit(colour.image, 0, 0, 2, 0, 255);
    EXPECT_EQ(screen[2], 0x007F3F1Fu);  // full alpha stays one step below the source

    OwnedImage keyed(2, 2, 0xFF0000FFu);
    keyed.image.colorKey = 0x0000FF;
    keyed.pixels[3] = 0xFFFFFFFFu;
    blendBlit(keyed.image, 1, 1, 318, 198, 255);
    blendBlit(keyed.image, 1, 1, -2, -2, 255);
    EXPECT_EQ(screen[198 * 320 + 318], 0u);
    EXPECT_EQ(screen[199 * 320 + 319], 0x00FEFEFEu);
    EXPECT_EQ(screen[320], 0u);
    resetDemoState();
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

TEST(LoadImage, DecodesToRgbaTopRowFirstOrGivesTheEmptyImage) {
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3};  // 2 x 2, top row first
    std::vector<unsigned char> png;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 2, 2, 3, rgb, 6));
    const Image image = decodeImage(png.data(), png.size());
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width * 10 + image.height, 22);
    EXPECT_EQ(image.colorKey, -1);
    EXPECT_EQ(Pixels(image.pixels, image.pixels + 4), (Pixels{0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFF030201u}));
    std::free(image.pixels);

    const Image title = loadImage(RESOURCE_TITLE_PICTURE);  // an embedded picture, through the resource table
    EXPECT_EQ(title.width * 1000 + title.height, 320200);
    std::free(title.pixels);

    png.resize(png.size() / 2);  // cut short
    const Image broken = decodeImage(png.data(), png.size());
    const Image missing = loadImage(999999);
    for (const Image& empty : {broken, missing}) {
        EXPECT_EQ(empty.pixels, nullptr);
        EXPECT_EQ(empty.width + empty.height, 0);
        EXPECT_EQ(empty.colorKey, -1);
    }
}

}  // namespace
