// Blitters, blending and picture decoding.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "demo/demo_state.h"
#include "demo/image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

struct OwnedImage {
    std::vector<uint32_t> pixels;
    Image image;
    OwnedImage(int32_t width, int32_t height, uint32_t fill = 0, int32_t key = -1)
        : pixels(size_t(width) * height, fill), image{pixels.data(), width, height, key} {}
    uint32_t at(int x, int y) const { return pixels[size_t(y) * image.width + x]; }
};

// Source pixels that follow one inaccessible page: a read at a negative index
// of `pixels` faults, so a test proves that clipped positions are never read.
struct GuardedSource {
    size_t page = size_t(sysconf(_SC_PAGESIZE));
    uint8_t* base = nullptr;
    uint32_t* pixels = nullptr;
    GuardedSource() {
        base = static_cast<uint8_t*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        EXPECT_EQ(mprotect(base, page, PROT_NONE), 0);
        pixels = reinterpret_cast<uint32_t*>(base + page);
        for (size_t i = 0; i < page / 4; ++i) pixels[i] = 0xFF000000u | uint32_t(i + 1);
    }
    ~GuardedSource() { munmap(base, 2 * page); }
};

TEST(Blit, ColourKeyComparesOnlyTheColourBytes) {
    OwnedImage src(4, 1);
    src.pixels = {0x00000000u, 0x7F000000u, 0x00000001u, 0xFF123456u};
    OwnedImage keyed(4, 1, 0xAAAAAAAAu);
    src.image.colorKey = 0;
    blit(0, 0, src.image, 3, 0, keyed.image, 0, 0);
    EXPECT_EQ(keyed.pixels, (std::vector<uint32_t>{0xAAAAAAAAu, 0xAAAAAAAAu, 0x00000001u, 0xFF123456u}));

    OwnedImage plain(4, 1, 0xAAAAAAAAu);
    src.image.colorKey = -1;
    blit(0, 0, src.image, 3, 0, plain.image, 0, 0);
    EXPECT_EQ(plain.pixels, src.pixels);  // black and the alpha byte travel too

    OwnedImage other(4, 1, 0xAAAAAAAAu);
    src.image.colorKey = 0x123456;
    blit(0, 0, src.image, 3, 0, other.image, 0, 0);
    EXPECT_EQ(other.at(3, 0), 0xAAAAAAAAu);
    EXPECT_EQ(other.at(0, 0), 0x00000000u);
}

TEST(Blit, ClipsToTheDestinationWithoutReadingClippedSource) {
    GuardedSource guard;
    // A 4 x 2 source whose first two columns lie in the inaccessible page.
    Image src{guard.pixels - 2, 4, 2, -1};
    OwnedImage dst(3, 3);
    blit(0, 0, src, 3, 0, dst.image, -2, 1);  // columns 0 and 1 fall left of dst
    EXPECT_EQ(dst.at(0, 1), guard.pixels[0]);
    EXPECT_EQ(dst.at(1, 1), guard.pixels[1]);
    EXPECT_EQ(dst.at(2, 1), 0u);

    Image unreadable{reinterpret_cast<uint32_t*>(guard.base), 16, 16, -1};
    blit(0, 0, unreadable, 15, 15, dst.image, 3, 0);   // right of dst
    blit(0, 0, unreadable, 15, 15, dst.image, 0, -16);  // above dst
    blit(0, 0, unreadable, 15, 15, dst.image, -16, 3);
    EXPECT_EQ(dst.at(0, 0), 0u);
}

TEST(Blit, CornersAreInclusiveAndEmptyRectanglesDrawNothing) {
    OwnedImage src(3, 2);
    for (uint32_t i = 0; i < 6; ++i) src.pixels[i] = 10 + i;

    OwnedImage same(3, 2);
    blit(0, 0, src.image, 2, 1, same.image, 0, 0);
    EXPECT_EQ(same.pixels, src.pixels);

    // One corner beyond the last column and row: exactly sized destinations drop the extras.
    OwnedImage exact(3, 2);
    blit(0, 0, src.image, 3, 2, exact.image, 0, 0);
    EXPECT_EQ(exact.pixels, src.pixels);

    // A larger destination shows the extra column reading on into the next
    // row; what lies beyond the pixel block is not drawn.
    OwnedImage wide(4, 3, 0xEEu);
    blit(0, 0, src.image, 3, 2, wide.image, 0, 0);
    EXPECT_EQ(wide.at(3, 0), 13u);
    EXPECT_EQ(wide.at(3, 1), 0xEEu);
    EXPECT_EQ(wide.at(0, 2), 0xEEu);

    Image empty{nullptr, 0, 0, -1};
    OwnedImage untouched(3, 2, 7);
    blit(0, 0, empty, empty.width - 1, empty.height - 1, untouched.image, 0, 0);
    blit(2, 0, src.image, 1, 1, untouched.image, 0, 0);  // reversed corners
    blendBlit(empty, -1, -1, 0, 0, 255);
    EXPECT_EQ(untouched.pixels, std::vector<uint32_t>(6, 7));
}

TEST(Blit, MovesTowardsSmallerXWithinOneImage) {
    OwnedImage strip(6, 2);
    for (uint32_t i = 0; i < 12; ++i) strip.pixels[i] = i;
    blit(2, 0, strip.image, 5, 1, strip.image, 0, 0);
    EXPECT_EQ(strip.pixels, (std::vector<uint32_t>{2, 3, 4, 5, 4, 5, 8, 9, 10, 11, 10, 11}));
}

class BlendBlit : public ::testing::Test {
protected:
    void SetUp() override { resetDemoState(); }
    uint32_t& screen(int x, int y) { return demoState.framebuffer.pixels[y * FRAMEBUFFER_WIDTH + x]; }
};

TEST_F(BlendBlit, MixesEachChannelAndDividesBy256) {
    OwnedImage white(1, 1, 0xFFFFFFFFu);
    blendBlit(white.image, 0, 0, 0, 0, 128);
    EXPECT_EQ(screen(0, 0), 0x007F7F7Fu);

    screen(1, 0) = 0xFFFF000Au;  // (10, 0, 255) with an opaque alpha byte
    blendBlit(white.image, 0, 0, 1, 0, 0);
    EXPECT_EQ(screen(1, 0), 0x00FE0009u);

    OwnedImage colour(1, 1, 0xFF804020u);
    blendBlit(colour.image, 0, 0, 2, 0, 255);
    EXPECT_EQ(screen(2, 0), 0x007F3F1Fu);  // full alpha stays one step below the source
}

TEST_F(BlendBlit, HonoursTheKeyAndClipsToTheFramebuffer) {
    OwnedImage src(2, 2, 0xFF0000FFu, 0x0000FF);
    src.pixels[3] = 0xFFFFFFFFu;
    for (int y = 198; y < 200; ++y)
        for (int x = 318; x < 320; ++x) screen(x, y) = 0x01010101u;
    blendBlit(src.image, 1, 1, 318, 198, 255);
    EXPECT_EQ(screen(318, 198), 0x01010101u);
    EXPECT_EQ(screen(319, 199), 0x00FEFEFEu);

    blendBlit(src.image, 1, 1, 319, 199, 255);  // three of four positions outside
    blendBlit(src.image, 1, 1, -2, -2, 255);
    EXPECT_EQ(screen(0, 0), 0u);
}

TEST(LoadImage, MissingOrUndecodablePicturesGiveTheEmptyImage) {
    const Image missing = loadImage(999999);
    EXPECT_EQ(missing.pixels, nullptr);
    EXPECT_EQ(missing.width, 0);
    EXPECT_EQ(missing.height, 0);
    EXPECT_EQ(missing.colorKey, -1);

    const unsigned char junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8};
    const Image broken = decodeImage(junk, sizeof junk);
    EXPECT_EQ(broken.pixels, nullptr);
    EXPECT_EQ(broken.width, 0);
    EXPECT_EQ(broken.height, 0);
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

TEST(LoadImage, DecodesRgbAsRgbaBytesTopRowFirst) {
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0,  // top row: red, green
                                 0, 0, 255, 1, 2, 3};   // bottom row: blue, (1, 2, 3)
    std::vector<unsigned char> png;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 2, 2, 3, rgb, 6));
    const Image image = decodeImage(png.data(), png.size());
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.colorKey, -1);
    EXPECT_EQ(std::vector<uint32_t>(image.pixels, image.pixels + 4),
              (std::vector<uint32_t>{0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFF030201u}));
    std::free(image.pixels);
}

}  // namespace
