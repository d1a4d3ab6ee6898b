#include "app/presenter.h"
#include "app/shell.h"

void setInterpolation(App* app, Interpolation mode) {
    if (mode == app->interpolation) return;
    app->interpolation = mode;
    // The placement changes under a resting pointer, so its position is
    // reported anew as if it had moved.
    int32_t x = 0, y = 0;
    getPointerPosition(app, &x, &y);
    pushPointerMove(app, x, y);
    if (app->presenter) app->presenter->interpolation = mode;
}
