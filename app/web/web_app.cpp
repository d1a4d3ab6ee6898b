// runApp in the browser: the page has had its start gesture; start every
// service in order, run the demo, tear down in reverse, each item only if it
// was acquired. The demo keeps its own loops: ASYNCIFY lets the pacer's
// clock hand the thread back to the browser every frame step.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/log_lines.h"
#include "app/presenter.h"
#include "app/shell.h"
#include "app/web/web_backend.h"

namespace {

App* liveApp = nullptr;

// The page's script (web_page.js) does the waiting and talks to the browser.
// The page's audio plays the shell's sound format: the rate is handed over
// here, and its worklet has a left and a right channel of 16-bit samples.
EM_ASYNC_JS(void, waitForStartGesture, (int soundRate), { await Module.vitrelumePage.offerStart(soundRate); });
static_assert(SOUND_CHANNELS == 2 && sizeof(SoundSample) == 2, "the page plays 16-bit stereo");
EM_ASYNC_JS(int, openPageAudio, (), { return await Module.vitrelumePage.openAudio(); });
EM_JS(void, closePageAudio, (), { Module.vitrelumePage.closeAudio(); });
EM_JS(void, listenForInput, (), { Module.vitrelumePage.listenForInput(); });
EM_JS(void, showFatalError, (const char* text), { Module.vitrelumePage.fatalText = UTF8ToString(text); });
EM_JS(double, screenWidth, (), { return screen.width; });
EM_JS(double, screenHeight, (), { return screen.height; });

// The screen the page is on, in device pixels, stands for the first display.
void recordDisplay(App* app) {
    const double ratio = emscripten_get_device_pixel_ratio();
    DisplayInfo& display = app->displays[0];
    display = {};
    std::snprintf(display.name, sizeof display.name, "%s", "SCREEN");
    display.width = static_cast<int32_t>(screenWidth() * ratio + 0.5);
    display.height = static_cast<int32_t>(screenHeight() * ratio + 0.5);
    app->displayCount = 1;
}

// WebGL 1 without alpha (the demo writes alpha 0), depth, stencil or
// antialiasing; the canvas stays black until the first frame.
bool createGlContext(App* app) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0) {
        logLine(LOG_NO_GL_CONTEXT);
        return false;
    }
    app->backend->glContext = context;
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        logLine(LOG_GL_CONTEXT_NOT_CURRENT);
        return false;
    }
    return true;
}

bool startUp(App* app) {
    app->backend = new AppBackend;
    liveApp = app;
    recordDisplay(app);
    computeWindowGeometry(app, app->displays[0].width, app->displays[0].height);
    app->hasFocus = true;
    app->minimized = false;

    if (!createGlContext(app)) return false;
    if (!startPresenter(app, webGlProc, nullptr)) return false;
    updateViewSize(app);

    if (openPageAudio()) {
        app->backend->soundOpen = true;
        openSoundStream(app, &app->backend->sound);
    } else {
        logLine(LOG_NO_AUDIO_DEVICE);
    }

    listenForInput();
    // The page reports no pen pressure: there is no tablet.
    logLine(LOG_NO_TABLET);
    return true;
}

void tearDown(App* app) {
    AppBackend* backend = app->backend;
    closeSoundStream(app);
    if (backend->soundOpen) closePageAudio();
    stopPresenter(app);
    if (backend->glContext > 0) emscripten_webgl_destroy_context(backend->glContext);
    liveApp = nullptr;
    delete backend;
    app->backend = nullptr;
}

}  // namespace

App* webApp() { return liveApp; }

int runApp() { return runAppWith(startUp, tearDown, pageFrameClock()); }

// The page shows the text in place of the picture when the program has ended.
void fatalError(const char* text) { endWithFatalError(text, showFatalError); }

// The page's audio worklet asks for `frames` frames; the answer stays valid
// until the next request.
extern "C" EMSCRIPTEN_KEEPALIVE SoundSample* webPullSound(int32_t frames) {
    static std::vector<SoundSample> samples;
    samples.assign(static_cast<size_t>(frames > 0 ? frames : 0) * SOUND_CHANNELS, 0);
    if (liveApp && frames > 0) pullSound(liveApp, samples.data(), frames);
    return samples.data();
}

int main() {
    waitForStartGesture(SOUND_RATE);
    // main handed the thread back to the browser at its first wait, which
    // counts as its return: the end has to be an explicit exit.
    std::exit(runApp());
}
