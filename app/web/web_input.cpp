// The page's input listeners (web_page.js) call these; each event goes onto
// the App's queue as the window procedure would queue the matching message.
#include <emscripten.h>

#include "app/web/web_backend.h"
#include "app/web/web_events.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE void webKey(int32_t down, int32_t keyCode, int32_t location) {
    if (App* app = webApp()) queueDomKey(app, down != 0, keyCode, location);
}

EMSCRIPTEN_KEEPALIVE void webCharacter(int32_t codePoint) {
    if (App* app = webApp()) pushCharacter(app, uint32_t(codePoint));
}

EMSCRIPTEN_KEEPALIVE void webMouseButton(int32_t down, int32_t button, int32_t detail) {
    if (App* app = webApp()) queueDomMouseButton(app, down != 0, button, detail);
}

// Position in canvas pixels, kept for getPointerPosition.
EMSCRIPTEN_KEEPALIVE void webPointerMove(int32_t x, int32_t y, float dx, float dy) {
    App* app = webApp();
    if (!app) return;
    app->backend->pointerX = x;
    app->backend->pointerY = y;
    queueDomPointerMove(app, x, y, dx, dy);
}

EMSCRIPTEN_KEEPALIVE void webScroll(float notches) {
    if (App* app = webApp()) pushScroll(app, notches);
}

EMSCRIPTEN_KEEPALIVE void webFocus(int32_t focused) {
    if (App* app = webApp()) app->hasFocus = focused != 0;
}

// A hidden page (another tab, a minimized browser) presents nothing.
EMSCRIPTEN_KEEPALIVE void webVisibility(int32_t hidden) {
    if (App* app = webApp()) app->minimized = hidden != 0;
}

}  // extern "C"
