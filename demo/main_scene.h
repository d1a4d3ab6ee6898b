#pragma once
// The main scene: background, 50 rising sprites, a carousel of six blended
// logos, a pulsing zoomed logo and the text scroller, over the music, until
// Space fades it to black.
#include <cstdint>

#include "demo/image.h"
#include "demo/scroller.h"

enum : int32_t { SPRITE_COUNT = 50, SPRITE_KINDS = 3, CAROUSEL_LOGO_COUNT = 6 };

struct Sprite {
    float x;      // left edge before the wobble
    float y;      // top edge before the wobble; decreases as the sprite rises
    float speed;  // 3.00 to 9.99: rise rate and wobble rate
    int32_t kind;  // which sprite picture
};

struct MainScene {
    Image spritePictures[SPRITE_KINDS];  // colorKey 0: black is left out
    Image background;
    Image pulsingLogo;
    Image carouselLogos[CAROUSEL_LOGO_COUNT];
    Sprite sprites[SPRITE_COUNT];
    float sceneTime;
    uint32_t randomState;
    int32_t carouselIndex;
    float carouselDelay;  // seconds left to wait
    float carouselPhase;  // 0..8: fade in, hold, fade out
    int32_t carouselX, carouselY;
    bool exiting;
    Scroller scroller;
};

// The box that the pulsing logo fills on screen at zoom m (0.4 to 1.0).
struct PulseBox {
    int32_t left, top, columns, rows;
};

// 0..32767 from a fixed-seed linear congruential generator; the order of the
// calls fixes every sprite and corner of a run.
int32_t nextRandom(uint32_t& state);

// Set-up up to the music: pictures, sprites, scroller, carousel and its first
// corner. No shell is needed.
void initMainScene(MainScene& scene);
// Steps 3 to 8 of one frame: background, sprites, carousel, pulsing logo and
// scroller, drawn into the framebuffer.
void drawMainSceneFrame(MainScene& scene);
// Frees every picture and the scroller. The scene is empty afterwards.
void releaseMainScene(MainScene& scene);

// One sprite's rise, with a respawn below the screen once it has left the top.
void moveSprite(MainScene& scene, Sprite& sprite);
// One carousel step; returns the alpha the logo is blended with.
int32_t advanceCarousel(MainScene& scene);
PulseBox pulseBox(float m);
// The logo zoomed into pulseBox(m) at the scene clock's m; black is transparent.
void drawPulsingLogo(const Image& logo, float sceneTime);

// The whole scene after the title: set-up, music, frames until the fade out
// that Space starts, then sound and music stopped.
void runMainScene();
