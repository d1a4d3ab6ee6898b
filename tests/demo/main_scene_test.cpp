// The main scene's set-up, sprites, carousel and pulsing logo, without a shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/headless/headless.h"
#include "demo/demo_state.h"
#include "demo/main_scene.h"

namespace {

class MainSceneTest : public ::testing::Test {
protected:
    MainScene scene;
    void SetUp() override {
        resetDemoState();
        initMainScene(scene);
    }
    void TearDown() override {
        releaseMainScene(scene);
        resetDemoState();
    }
    static uint64_t framebufferHash() {
        return headlessHashPixels(demoState.framebuffer.pixels, FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT);
    }
};

TEST_F(MainSceneTest, SetUpTakesTheFixedRandomSequenceInOrder) {
    uint32_t state = 1;
    EXPECT_EQ(nextRandom(state), 41);
    EXPECT_EQ(nextRandom(state), 18467);

    // 41 mod 3 = 2 (the 18-pixel sprite), 18467 mod 302 = 45, 6334 mod 400 + 240 = 574,
    // 26500 mod 700 = 600 -> 9.0; then 19169, 15724, 11478, 29358 for the second.
    EXPECT_EQ(scene.sprites[0].kind, 2);
    EXPECT_EQ(scene.sprites[0].x, 45.0f);
    EXPECT_EQ(scene.sprites[0].y, 574.0f);
    EXPECT_EQ(scene.sprites[0].speed, 9.0f);
    EXPECT_EQ(scene.sprites[1].kind, 2);
    EXPECT_EQ(scene.sprites[1].x, 20.0f);
    EXPECT_EQ(scene.sprites[1].y, 518.0f);
    EXPECT_FLOAT_EQ(scene.sprites[1].speed, 9.58f);

    // 200 calls for the sprites, then one for the first corner.
    uint32_t expected = 1;
    int32_t corner = 0;
    for (int i = 0; i < 201; ++i) corner = nextRandom(expected) % 4;
    EXPECT_EQ(scene.randomState, expected);
    EXPECT_EQ(scene.carouselX, (corner & 1) ? 220 : 0);
    EXPECT_EQ(scene.carouselY, (corner & 2) ? 122 : 0);

    for (const Sprite& sprite : scene.sprites) {
        const Image& picture = scene.spritePictures[sprite.kind];
        EXPECT_GE(sprite.y, 240.0f);
        EXPECT_LT(sprite.y, 640.0f);
        EXPECT_LE(sprite.x + float(picture.width), 320.0f);
        EXPECT_EQ(picture.colorKey, 0);
    }
}

TEST_F(MainSceneTest, SpriteRespawnsOnceItsTruncatedTopPassesTheThreshold) {
    // Kind 0 is 35 high: the threshold is -75. Speed 3 rises 0.2 a frame.
    Sprite sprite = {100.0f, -75.3f, 3.0f, 0};
    const uint32_t before = scene.randomState;
    moveSprite(scene, sprite);
    EXPECT_EQ(sprite.y, -75.5f);  // truncates to -75: stays
    EXPECT_EQ(scene.randomState, before);

    sprite.y = -75.8f;
    moveSprite(scene, sprite);  // -76.0 respawns with three new numbers
    uint32_t expected = before;
    const int32_t kind = nextRandom(expected) % 3;
    const int32_t x = nextRandom(expected) % (320 - scene.spritePictures[kind].width);
    const int32_t speed = nextRandom(expected) % 700;
    EXPECT_EQ(scene.randomState, expected);
    EXPECT_EQ(sprite.kind, kind);
    EXPECT_EQ(sprite.x, float(x));
    EXPECT_EQ(sprite.y, 240.0f);
    EXPECT_EQ(sprite.speed, float(speed) / 100.0f + 3.0f);
}

TEST_F(MainSceneTest, CarouselTimelineAndItsCornerCalls) {
    const int32_t firstX = scene.carouselX, firstY = scene.carouselY;
    std::vector<int32_t> alpha;
    uint32_t stateBeforeChange = 0;
    for (int frame = 0; frame < 1503; ++frame) {
        if (frame == 901) stateBeforeChange = scene.randomState;
        alpha.push_back(advanceCarousel(scene));
        if (frame < 901) {
            ASSERT_EQ(scene.carouselIndex, 0) << frame;
            ASSERT_EQ(scene.carouselX, firstX) << frame;
            ASSERT_EQ(scene.carouselY, firstY) << frame;
        }
    }
    auto all = [&](int from, int to, auto test) {
        for (int i = from; i < to; ++i)
            if (!test(i)) return false;
        return true;
    };
    EXPECT_TRUE(all(0, 181, [&](int i) { return alpha[i] == 0; }));                   // 181 waiting
    EXPECT_TRUE(all(182, 361, [&](int i) { return alpha[i] > alpha[i - 1]; }));       // 180 fading in
    EXPECT_EQ(alpha[181], 1);
    EXPECT_EQ(alpha[360], 255);
    EXPECT_TRUE(all(361, 721, [&](int i) { return alpha[i] == 255; }));               // 360 holding
    EXPECT_TRUE(all(722, 901, [&](int i) { return alpha[i] < alpha[i - 1]; }));       // 180 fading out
    EXPECT_EQ(alpha[721], 253);
    EXPECT_EQ(alpha[900], 0);

    // Frame 901 changes the logo with one call for the corner, then 600 wait.
    EXPECT_EQ(scene.carouselIndex, 1);
    uint32_t expected = stateBeforeChange;
    const int32_t corner = nextRandom(expected) % 4;
    EXPECT_EQ(scene.randomState, expected);
    EXPECT_EQ(scene.carouselX, (corner & 1) ? 220 : 0);
    EXPECT_EQ(scene.carouselY, (corner & 2) ? 122 : 0);
    EXPECT_TRUE(all(901, 1502, [&](int i) { return alpha[i] == 0; }));
    EXPECT_EQ(alpha[1502], 1);
}

TEST_F(MainSceneTest, CarouselWrapsFromTheSixthLogoToTheFirst) {
    scene.carouselIndex = 5;
    scene.carouselDelay = -1.0f;
    scene.carouselPhase = 8.5f;
    EXPECT_EQ(advanceCarousel(scene), 0);
    EXPECT_EQ(scene.carouselIndex, 0);
    EXPECT_EQ(scene.carouselDelay, 10.0f);
}

TEST_F(MainSceneTest, PulsingLogoBoxAtBothEndsOfTheZoom) {
    const PulseBox full = pulseBox(1.0f);
    EXPECT_EQ((std::vector<int32_t>{full.left, full.top, full.columns, full.rows}),
              (std::vector<int32_t>{0, 79, 321, 43}));
    const PulseBox small = pulseBox(0.4f);
    EXPECT_EQ((std::vector<int32_t>{small.left, small.top, small.columns, small.rows}),
              (std::vector<int32_t>{96, 91, 129, 18}));
}

TEST_F(MainSceneTest, PulsingLogoStretchesCornerToCornerAndSkipsBlack) {
    // Each logo pixel carries its own position; row 10 is black.
    std::vector<uint32_t> pixels(286 * 42);
    for (uint32_t y = 0; y < 42; ++y)
        for (uint32_t x = 0; x < 286; ++x) pixels[y * 286 + x] = y == 10 ? 0xFF000000u : (y << 16) | (x + 1);
    const Image logo = {pixels.data(), 286, 42, -1};
    uint32_t* screen = demoState.framebuffer.pixels;
    std::fill(screen, screen + FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT, 0x123456u);

    drawPulsingLogo(logo, 0.0f);  // m = 0.7: columns 48 to 272, rows 85 to 114
    int32_t minX = 320, maxX = -1, minY = 200, maxY = -1, keptRows = 0;
    for (int32_t y = 0; y < 200; ++y) {
        bool rowKept = true;
        for (int32_t x = 0; x < 320; ++x) {
            if (screen[y * 320 + x] == 0x123456u) continue;
            rowKept = false;
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        if (rowKept && y >= 85 && y <= 114) ++keptRows;
    }
    EXPECT_EQ((std::vector<int32_t>{minX, maxX, minY, maxY}), (std::vector<int32_t>{48, 272, 85, 114}));
    EXPECT_EQ(screen[85 * 320 + 48], 1u);                      // logo (0, 0)
    EXPECT_EQ(screen[114 * 320 + 272], (41u << 16) | 286u);    // logo (285, 41)
    EXPECT_EQ(keptRows, 1);  // the black row left the screen alone

    const Image missing = {nullptr, 0, 0, -1};
    drawPulsingLogo(missing, 0.0f);  // draws nothing rather than reading a null block
}

// Checked by eye as frames 59, 479, 1079 and 2579 of the scene: the first
// sprites rising, the first logo in a corner, no logo, a small pulse.
TEST_F(MainSceneTest, WholeFramesArePinned) {
    const std::vector<std::pair<int, uint64_t>> pinned = {
        {59, 11532980586076487000u}, {479, 17523239789305764438u}, {1079, 8746300480630388901u}, {2579, 7138454100717817225u}};
    size_t next = 0;
    for (int frame = 1; next < pinned.size(); ++frame) {
        drawMainSceneFrame(scene);
        if (frame != pinned[next].first) continue;
        EXPECT_EQ(framebufferHash(), pinned[next].second) << "frame " << frame;
        ++next;
    }
}

}  // namespace
