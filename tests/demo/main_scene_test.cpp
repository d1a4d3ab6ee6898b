// The main scene's set-up, sprites, carousel and pulsing logo, without a shell.
#include <gtest/gtest.h>

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
    void TearDown() override { releaseMainScene(scene); }
    // The number `calls` calls after `state`, and the state it leaves.
    static int32_t randomAfter(uint32_t& state, int calls) {
        int32_t r = 0;
        while (calls-- > 0) r = nextRandom(state);
        return r;
    }
    void expectCorner(int32_t r) {
        EXPECT_EQ(scene.carouselX, (r % 4) & 1 ? 220 : 0);
        EXPECT_EQ(scene.carouselY, (r % 4) & 2 ? 122 : 0);
    }
};

TEST_F(MainSceneTest, SetUpTakesTheFixedRandomSequenceInOrder) {
    uint32_t state = 1;
    EXPECT_EQ(nextRandom(state), 41);
    EXPECT_EQ(nextRandom(state), 18467);
    // 41 mod 3, 18467 mod (320 - 18), 6334 mod 400 + 240, 26500 mod 700 / 100 + 3.
    const Sprite& first = scene.sprites[0];
    EXPECT_EQ(std::vector<float>({float(first.kind), first.x, first.y, first.speed}),
              std::vector<float>({2.0f, 45.0f, 574.0f, 9.0f}));
    // 200 calls for the sprites, then one for the first corner.
    state = 1;
    expectCorner(randomAfter(state, 201));
    EXPECT_EQ(scene.randomState, state);
}

TEST_F(MainSceneTest, SpriteRespawnsOnceItsTruncatedTopPassesTheThreshold) {
    // Kind 0 is 35 high, so the threshold is -75; speed 3 rises 0.2 a frame.
    Sprite sprite = {100.0f, -75.3f, 3.0f, 0};
    uint32_t state = scene.randomState;
    moveSprite(scene, sprite);
    EXPECT_EQ(sprite.y, -75.5f);  // truncated -75: stays
    EXPECT_EQ(scene.randomState, state);

    // -76.0: kind, x and speed anew from three numbers (their use is pinned by
    // the sprites' hash below), y at the start line.
    sprite.y = -75.8f;
    moveSprite(scene, sprite);
    EXPECT_EQ(sprite.y, 240.0f);
    randomAfter(state, 3);
    EXPECT_EQ(scene.randomState, state);
}

TEST_F(MainSceneTest, CarouselTimelineAndItsCornerCalls) {
    const int32_t x = scene.carouselX, y = scene.carouselY;
    std::vector<int32_t> alpha;
    for (int frame = 0; frame < 901; ++frame) alpha.push_back(advanceCarousel(scene));
    EXPECT_EQ(std::vector<int32_t>({scene.carouselIndex, scene.carouselX, scene.carouselY}),
              std::vector<int32_t>({0, x, y}));
    auto count = [&](int from, int to, auto test) {
        int n = 0;
        for (int i = from; i < to; ++i) n += test(i) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(count(0, 181, [&](int i) { return alpha[i] == 0; }), 181);                  // waiting
    EXPECT_EQ(count(181, 361, [&](int i) { return alpha[i] > alpha[i - 1]; }), 180);      // fading in
    EXPECT_EQ(count(361, 721, [&](int i) { return alpha[i] == 255; }), 360);              // holding
    EXPECT_EQ(count(721, 901, [&](int i) { return alpha[i] < alpha[i - 1]; }), 180);      // fading out
    EXPECT_EQ(std::vector<int32_t>({alpha[181], alpha[360], alpha[721], alpha[900]}),
              std::vector<int32_t>({1, 255, 253, 0}));

    // The change of logo takes one number for the corner, then 600 frames wait.
    uint32_t state = scene.randomState;
    EXPECT_EQ(advanceCarousel(scene), 0);
    EXPECT_EQ(scene.carouselIndex, 1);
    expectCorner(randomAfter(state, 1));
    EXPECT_EQ(scene.randomState, state);
    for (int frame = 0; frame < 600; ++frame) ASSERT_EQ(advanceCarousel(scene), 0);
    EXPECT_EQ(advanceCarousel(scene), 1);

    scene.carouselIndex = 5;  // after the sixth logo comes the first
    scene.carouselDelay = -1.0f;
    scene.carouselPhase = 8.1f;
    advanceCarousel(scene);
    EXPECT_EQ(scene.carouselIndex, 0);
}

TEST_F(MainSceneTest, PulsingLogoBoxAtBothEndsOfTheZoom) {
    const PulseBox full = pulseBox(1.0f), small = pulseBox(0.4f);
    EXPECT_EQ(std::vector<int32_t>({full.left, full.top, full.columns, full.rows}),
              std::vector<int32_t>({0, 79, 321, 43}));
    EXPECT_EQ(std::vector<int32_t>({small.left, small.top, small.columns, small.rows}),
              std::vector<int32_t>({96, 91, 129, 18}));
    drawPulsingLogo(Image{nullptr, 0, 0, -1}, 0.0f);  // a missing logo draws nothing
}

// Checked by eye as frames 59, 479, 1079 and 2579: the first sprites rising
// with the first letters, the first logo in the top right corner, no logo
// between two, and the pulsing logo near its smallest. The sprites' own
// fields are pinned too: a rounding step done at another precision shows
// there long before it moves a pixel.
TEST_F(MainSceneTest, WholeFramesArePinned) {
    const std::vector<std::pair<int, uint64_t>> pinned = {{59, 11532980586076487000u},
                                                          {479, 17523239789305764438u},
                                                          {1079, 8746300480630388901u},
                                                          {2579, 7138454100717817225u}};
    for (int frame = 1, next = 0; next < int(pinned.size()); ++frame) {
        drawMainSceneFrame(scene);
        if (frame != pinned[next].first) continue;
        EXPECT_EQ(headlessHashPixels(demoState.framebuffer.pixels, FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT),
                  pinned[next++].second)
            << "frame " << frame;
    }
    static_assert(sizeof(Sprite) == 16, "four 32-bit fields");
    EXPECT_EQ(headlessHashPixels(reinterpret_cast<const uint32_t*>(scene.sprites), SPRITE_COUNT * 4), 17956021434449751948u);
}

}  // namespace
