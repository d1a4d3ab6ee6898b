// SDL events onto the queue through the Windows virtual-key numbering.
#include <gtest/gtest.h>

#include <cstring>

#include "app/sdl/sdl_input.h"
#include "tests/app/queued_events.h"

namespace {

SDL_Event keyEvent(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Event e = {};
    e.type = type;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event buttonEvent(Uint32 type, Uint8 button, Uint8 clicks) {
    SDL_Event e = {};
    e.type = type;
    e.button.button = button;
    e.button.clicks = clicks;
    return e;
}

}  // namespace

TEST(SdlInput, KeysMapOntoTheWindowsCodes) {
    App app;
    app.hasFocus = 1;
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RALT, SDLK_RALT));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, SDLK_RCTRL));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE, SDLK_SPACE));
    // On a French layout the key in the Q position types 'a'.
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_a));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_F24, SDLK_F24));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_0, SDLK_KP_0));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SLASH, SDLK_SLASH));
    queueSdlInputEvent(&app, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_EQUALS, SDLK_KP_EQUALS));
    const Events expected = {{EVENT_KEY_DOWN, KEY_ESCAPE}, {EVENT_KEY_DOWN, KEY_ALT}, {EVENT_KEY_DOWN, KEY_RIGHT_ALT},
                             {EVENT_KEY_UP, KEY_SHIFT},    {EVENT_KEY_UP, KEY_LEFT_SHIFT},
                             {EVENT_KEY_DOWN, KEY_CONTROL}, {EVENT_KEY_DOWN, KEY_RIGHT_CONTROL},
                             {EVENT_KEY_DOWN, KEY_SPACE},  {EVENT_KEY_DOWN, KEY_A},
                             {EVENT_KEY_DOWN, 120},        {EVENT_KEY_DOWN, 81},
                             {EVENT_KEY_DOWN, 152},        {EVENT_KEY_DOWN, -1}};
    EXPECT_EQ(queued(app), expected);
}

TEST(SdlInput, ButtonsDoubleClicksAndText) {
    App app;
    app.hasFocus = 1;
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3));  // starts a new pair
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1));
    queueSdlInputEvent(&app, buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X2, 1));
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "a\xC3\xA9\xE2\x82\xAC");  // a, e acute (2 bytes), euro sign (3 bytes)
    queueSdlInputEvent(&app, text);
    const Events expected = {{EVENT_KEY_DOWN, 1}, {EVENT_KEY_UP, 1}, {EVENT_DOUBLE_CLICK, 1}, {EVENT_KEY_UP, 1},
                             {EVENT_KEY_DOWN, 1}, {EVENT_KEY_DOWN, 4}, {EVENT_KEY_DOWN, 2}, {EVENT_KEY_DOWN, 6},
                             {EVENT_CHAR, 'a'},   {EVENT_CHAR, 0xE9},  {EVENT_CHAR, 0xAC}};
    EXPECT_EQ(queued(app), expected);
}

// The queue's own rules (merging, focus, capacity) are tested with the queue.
TEST(SdlInput, WheelFractionsAndMotion) {
    App app;
    app.hasFocus = 1;
    SDL_Event wheel = {}, fine = {}, sideways = {};
    wheel.type = fine.type = sideways.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    wheel.wheel.preciseY = 1.0f;
    fine.wheel.preciseY = 0.25f;  // a high-resolution wheel's quarter notch
    sideways.wheel.x = 1;
    sideways.wheel.preciseX = 1.0f;
    queueSdlInputEvent(&app, wheel);
    queueSdlInputEvent(&app, fine);
    ASSERT_EQ(app.eventCount, 1);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 1.25f);

    app.eventCount = 0;
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 400;
    queueSdlInputEvent(&app, motion);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_EQ(app.events[0].type, EVENT_POINTER_DELTA);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 1), 0.0f);
    EXPECT_EQ(app.events[1].type, EVENT_POINTER_MOVE);
    queueSdlInputEvent(&app, sideways);
    EXPECT_EQ(app.eventCount, 2) << "sideways scrolling is not the wheel's message";
}
