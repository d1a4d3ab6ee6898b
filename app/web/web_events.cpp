#include "app/web/web_events.h"

void queueDomKey(App* app, bool down, int32_t keyCode, int32_t location) {
    pushVirtualKey(app, down ? EVENT_KEY_DOWN : EVENT_KEY_UP, keyCode,
                   location == DOM_KEY_LOCATION_RIGHT ? KEY_SIDE_RIGHT : KEY_SIDE_LEFT);
}

void queueDomMouseButton(App* app, bool down, int32_t button, int32_t detail) {
    pushMouseButton(app, down ? mousePressType(detail) : EVENT_KEY_UP, button);
}

void queueDomPointerMove(App* app, int32_t x, int32_t y, float dx, float dy) {
    pushRawMotion(app, dx, dy);
    pushPointerMove(app, x, y);
}
