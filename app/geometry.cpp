#include "app/shell.h"

// Window mode takes five sixths of the first display, centred; the offsets
// count from the virtual-screen origin, not from the display's own corner.
void computeWindowGeometry(App* app, int32_t displayWidth, int32_t displayHeight) {
    app->windowWidth = displayWidth - displayWidth / 6;
    app->windowHeight = displayHeight - displayHeight / 6;
    app->windowX = (displayWidth - app->windowWidth) / 2;
    app->windowY = (displayHeight - app->windowHeight) / 2;
    app->fullscreenWidth = displayWidth;
    app->fullscreenHeight = displayHeight;
}
