#include "demo/main_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "demo/demo_state.h"
#include "resources/resource_ids.h"

namespace {

const int SPRITE_PICTURES[SPRITE_KINDS] = {RESOURCE_ORB_LARGE, RESOURCE_ORB_MEDIUM, RESOURCE_ORB_SMALL};
const int CAROUSEL_PICTURES[CAROUSEL_LOGO_COUNT] = {RESOURCE_CARD_YEARS, RESOURCE_CARD_CODE,
                                                    RESOURCE_CARD_GRAPHICS, RESOURCE_CARD_MUSIC,
                                                    RESOURCE_CARD_GREETINGS, RESOURCE_CARD_EMBLEM};

const float FRAME_TIME = 0.06666667f;  // the scene clock's step, 1/15
const float SIXTIETH = 0.016666668f;   // 1/60
const float HUNDRED_EIGHTIETH = 0.0055555557f;  // 1/180

const int32_t SPRITE_START_Y = 240;  // just below the screen
// The rise per frame is speed x 0.25 x (4/15 as a float), in double.
const double SPRITE_RISE_FACTOR = 0.25;
const double SPRITE_RISE_FRAME = 0.2666666805744171;
const int32_t SPRITE_EXIT_MARGIN = 40;

const float CAROUSEL_FIRST_DELAY = 3.0f;
const float CAROUSEL_PAUSE = 10.0f;
const int32_t CAROUSEL_RIGHT = 220, CAROUSEL_BOTTOM = 122;  // corners for a 100 x 78 logo

// The zoom steps from the logo's own size; the box follows the screen width.
const int32_t PULSE_SOURCE_WIDTH = 286, PULSE_SOURCE_HEIGHT = 42;
const int32_t HALF_ONE_16_16 = 32767;  // just under one half: nearest-neighbour sampling

int32_t randomBelow(uint32_t& state, int32_t n) { return nextRandom(state) % std::max(n, 1); }

// kind, x, y and speed take one random number each, in this order; a respawn
// keeps y at the start line and so takes three.
void placeSprite(MainScene& scene, Sprite& sprite, bool initial) {
    sprite.kind = randomBelow(scene.randomState, SPRITE_KINDS);
    const int32_t width = scene.spritePictures[sprite.kind].width;
    sprite.x = float(randomBelow(scene.randomState, FRAMEBUFFER_WIDTH - width));
    sprite.y = float(initial ? randomBelow(scene.randomState, 400) + SPRITE_START_Y : SPRITE_START_Y);
    // The cast to float makes the division and the sum single precision.
    sprite.speed = float(randomBelow(scene.randomState, 700)) / 100.0f + 3.0f;
}

void pickCorner(MainScene& scene) {
    const int32_t corner = randomBelow(scene.randomState, 4);
    scene.carouselX = (corner & 1) ? CAROUSEL_RIGHT : 0;
    scene.carouselY = (corner & 2) ? CAROUSEL_BOTTOM : 0;
}

void drawWhole(const Image& picture, int32_t x, int32_t y) {
    blit(0, 0, picture, picture.width - 1, picture.height - 1, demoState.framebuffer, x, y);
}

// Every product and sum is single precision (float operands, SSE on x86-64);
// only cos and sin run in double, and their results are narrowed at once.
void drawSprite(const MainScene& scene, const Sprite& sprite) {
    const float p = sprite.speed * scene.sceneTime;
    const float wobbleY = float(std::cos(double(p / 13.0f))) * 40.0f + sprite.y;
    const float wobbleX = float(std::sin(double(p * 0.125f))) * 30.0f + sprite.x;
    drawWhole(scene.spritePictures[sprite.kind], int32_t(wobbleX), int32_t(wobbleY));
}

}  // namespace

int32_t nextRandom(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return int32_t((state >> 16) & 0x7FFFu);
}

void moveSprite(MainScene& scene, Sprite& sprite) {
    // Double precision, stored back as float.
    sprite.y = float(double(sprite.y) - double(sprite.speed) * SPRITE_RISE_FACTOR * SPRITE_RISE_FRAME);
    const int32_t height = scene.spritePictures[sprite.kind].height;
    if (int32_t(sprite.y) < -SPRITE_EXIT_MARGIN - height) placeSprite(scene, sprite, false);
}

// Waiting, then fade in (phase 0 to 1), hold (1 to 7), fade out (7 to 8) and
// a change of logo with a new corner and a new wait.
int32_t advanceCarousel(MainScene& scene) {
    if (scene.carouselDelay >= 0.0f) {
        scene.carouselDelay = scene.carouselDelay - SIXTIETH;
        scene.carouselPhase = 0.0f;
        return 0;
    }
    if (scene.carouselPhase > 8.0f) {
        scene.carouselPhase = 0.0f;
        scene.carouselDelay = CAROUSEL_PAUSE;
        pickCorner(scene);
        scene.carouselIndex = scene.carouselIndex + 1 == CAROUSEL_LOGO_COUNT ? 0 : scene.carouselIndex + 1;
        return 0;
    }
    if (scene.carouselPhase > 7.0f) {
        scene.carouselPhase = scene.carouselPhase + HUNDRED_EIGHTIETH;
        return int32_t((8.0f - scene.carouselPhase) * 255.0f);
    }
    if (scene.carouselPhase < 1.0f) {
        scene.carouselPhase = scene.carouselPhase + HUNDRED_EIGHTIETH;
        return int32_t(scene.carouselPhase * 255.0f);
    }
    scene.carouselPhase = scene.carouselPhase + SIXTIETH;
    return 255;
}

PulseBox pulseBox(float m) {
    const float halfHeight = m * 42.0f * 0.5f;
    const float halfWidth = m * float(FRAMEBUFFER_WIDTH) * 0.5f;
    PulseBox box;
    box.top = int32_t(100.0f - halfHeight);
    box.rows = int32_t(halfHeight + 100.0f) - box.top + 1;
    box.left = int32_t(160.0f - halfWidth);
    box.columns = int32_t(halfWidth + 160.0f) - box.left + 1;
    return box;
}

// Nearest-neighbour zoom in 16.16 steps, integer-only inside the pixel
// loops; black is transparent. The clipped ranges give the same pixels as a
// per-position test.
void drawPulsingLogo(const Image& logo, float sceneTime) {
    if (logo.pixels == nullptr || logo.width <= 0 || logo.height <= 0) return;
    // Narrowing cos and sin to float makes the product and the sum single precision.
    const float m = float(std::cos(double(sceneTime / 3.0f))) * float(std::sin(double(sceneTime * 0.25f))) * 0.3f +
                    0.7f;
    const PulseBox box = pulseBox(m);
    if (box.columns < 1 || box.rows < 1) return;
    const int32_t stepX = (PULSE_SOURCE_WIDTH * 65536) / box.columns;
    const int32_t stepY = (PULSE_SOURCE_HEIGHT * 65536) / box.rows;

    const int32_t rowBegin = std::max(0, -box.top);
    const int32_t rowEnd = std::min(box.rows, FRAMEBUFFER_HEIGHT - box.top);
    const int32_t columnBegin = std::max(0, -box.left);
    const int32_t columnEnd = std::min(box.columns, FRAMEBUFFER_WIDTH - box.left);
    for (int32_t i = rowBegin; i < rowEnd; ++i) {
        const int32_t sy = std::min((HALF_ONE_16_16 + i * stepY) >> 16, logo.height - 1);
        const uint32_t* sourceRow = logo.pixels + size_t(sy) * size_t(logo.width);
        uint32_t* target = demoState.framebuffer.pixels + (box.top + i) * FRAMEBUFFER_WIDTH + box.left;
        for (int32_t j = columnBegin; j < columnEnd; ++j) {
            const int32_t sx = std::min((HALF_ONE_16_16 + j * stepX) >> 16, logo.width - 1);
            const uint32_t p = sourceRow[sx];
            if (pixelColor(p) != 0) target[j] = p;
        }
    }
}

void initMainScene(MainScene& scene) {
    scene = MainScene{};
    for (int32_t kind = 0; kind < SPRITE_KINDS; ++kind) {
        scene.spritePictures[kind] = loadImage(SPRITE_PICTURES[kind]);
        scene.spritePictures[kind].colorKey = 0;
    }
    scene.sceneTime = 0.0f;
    scene.background = loadImage(RESOURCE_BACKGROUND);
    scene.pulsingLogo = loadImage(RESOURCE_PULSING_LOGO);
    scene.randomState = 1;
    for (Sprite& sprite : scene.sprites) placeSprite(scene, sprite, true);
    initScroller(scene.scroller);
    for (int32_t i = 0; i < CAROUSEL_LOGO_COUNT; ++i) scene.carouselLogos[i] = loadImage(CAROUSEL_PICTURES[i]);
    scene.carouselIndex = 0;
    scene.carouselDelay = CAROUSEL_FIRST_DELAY;
    scene.carouselPhase = 0.0f;
    pickCorner(scene);
    scene.exiting = false;
}

void drawMainSceneFrame(MainScene& scene) {
    clearFramebuffer();
    drawWhole(scene.background, 0, 0);
    scene.sceneTime = scene.sceneTime + FRAME_TIME;

    // A later sprite covers an earlier one.
    for (Sprite& sprite : scene.sprites) {
        moveSprite(scene, sprite);
        drawSprite(scene, sprite);
    }

    // Drawn also while waiting: alpha 0 still darkens the covered area a step.
    const int32_t alpha = std::min(std::max(advanceCarousel(scene), 0), 255);
    const Image& logo = scene.carouselLogos[scene.carouselIndex];
    blendBlit(logo, logo.width - 1, logo.height - 1, scene.carouselX, scene.carouselY, alpha);

    drawPulsingLogo(scene.pulsingLogo, scene.sceneTime);
    drawScroller(scene.scroller, scene.sceneTime);
}

void releaseMainScene(MainScene& scene) {
    for (Image& picture : scene.spritePictures) std::free(picture.pixels);
    std::free(scene.background.pixels);
    std::free(scene.pulsingLogo.pixels);
    for (Image& picture : scene.carouselLogos) std::free(picture.pixels);
    releaseScroller(scene.scroller);
    scene = MainScene{};
}
