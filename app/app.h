#pragma once
// The shell as the demo sees it: the one App record, its input events and key
// codes, the sound format and callback, and the services the frame step
// calls. No platform header and no shell internals here: demo/ includes this
// file. Each service below says whether a backend writes it ("backend") or
// the shell has it once for every backend.
//
// Threads: everything here runs on the main thread, except a SoundCallback,
// which runs on the sound stream's thread (or in the host's audio pull).
//
// Units. The displays and the window fields of the App are in the desktop's
// coordinates, where the window is placed: device pixels on Win32 (the
// process is DPI aware) and in the browser (CSS pixels times the device pixel
// ratio); SDL's screen coordinates, which are device pixels on X11 and points
// where the desktop scales (a high-density Wayland or macOS screen). Pointer
// positions (getPointerPosition, EVENT_POINTER_MOVE, EVENT_TABLET) are pixels
// of the view the presenter draws into, from the client area's top-left
// corner, y downwards: device pixels on Win32 and in the browser, and on SDL,
// whose window asks for no high-density drawable, its points, which are then
// its drawable's pixels. So placeImage maps a pointer onto the image alike on
// every backend.
//
// A backend: what it writes, in the order it runs. app/skeleton is the
// compiled shape to copy (its PLATFORM marks are the hard parts: window, GL
// context, sound device, keys); app/headless implements every service without
// a window. The backend's folder app/<name>/ gets a CMakeLists.txt whose
// program links vitrelume_demo, app/CMakeLists.txt builds it, and test.sh
// builds and tests it.
//   main/WinMain  guardStandardStreams() first on POSIX (app/posix_stdio.h),
//                 then returns runApp().
//   runApp        returns runAppWith(startUp, tearDown, clock) (app/shell.h):
//                 the start line (LOG_STARTED), startUp, the App's one frame
//                 pacer on `clock` (systemFramePacerClock() where the main
//                 thread may sleep; a clock whose wait yields to the host's
//                 next frame where it may not, as in the browser), appProc
//                 once, tearDown, the end line (LOG_TERMINATED); 255 when
//                 startUp fails.
//   startUp(app)  in this order; a failure logs its line (app/log_lines.h),
//                 and the system's reason on a line of its own where there is
//                 one, and returns false; tearDown runs either way:
//                 new AppBackend in app->backend; the pointer (setPointer with
//                 the system's arrow, or builtinArrowPixels); the displays,
//                 at most APP_MAX_DISPLAYS (none: LOG_NO_DISPLAY);
//                 computeWindowGeometry from display 0; the window, hidden,
//                 framed, at the window fields (LOG_NO_WINDOW), then
//                 hasFocus = true and minimized = false; an OpenGL 2.0 context
//                 (LOG_NO_PIXEL_FORMAT, LOG_NO_GL_CONTEXT,
//                 LOG_GL_CONTEXT_NOT_CURRENT) with one vertical blank a swap
//                 where offered; startPresenter with the backend's
//                 GlProcLoader (it logs LOG_NO_PRESENTER, and a missing
//                 function is a fatalError); the sound device at SOUND_RATE
//                 (a failure logs, LOG_NO_AUDIO_DEVICE say, and the run goes
//                 on silent) and openSoundStream; raw mouse motion where the
//                 system has it; the tablet, or LOG_NO_TABLET.
//   tearDown(app) in reverse, each only if it was acquired: closeSoundStream
//                 before the device goes, stopPresenter before the context
//                 goes; delete the AppBackend.
//   fatalError    endWithFatalError(text, show) (app/shell.h): the line, then
//                 `show`, a message box captioned FATAL_ERROR_CAPTION where
//                 there is a desktop; exit 255.
//   the services marked "backend" below. Inside them:
//     setScreenMode: fullscreen is a frameless window covering the display
//                 that holds the window (no video mode change); window mode
//                 is the framed window at the window fields. The fall back:
//                 a frameless fullscreen window resized from outside (a new
//                 display resolution, say) calls setScreenMode(SCREEN_WINDOW).
//     pumpMessages: close sets closeRequested, minimising sets minimized,
//                 activation sets hasFocus (and clears minimized), a resize
//                 calls resizePresenterView with the view's pixel size. Input
//                 goes through app/input.h: the backend's own table onto
//                 VirtualKey and KeySide for pushVirtualKey, then
//                 pushCharacter, pushMouseButton with mousePressType,
//                 pushPointerMove, pushRawMotion, pushScroll (pushKey and
//                 pushEvent for anything else).
//     paceFrame is the shell's (app/frame_pacer.h): a backend writes none.
//   findResourceData (demo/resource.h), unless it links the embedded table.
// It reuses, never copies: the presenter (app/presenter.h), the input rules
// and keymap (app/input.h), the window geometry rule and the built-in arrow
// (app/shell.h), the frame pacer, the sound stream (app/sound_stream.h: a
// SoundDevice that signals its halves, or a RingSoundDevice that the host
// plays through pullSound), the log lines. A service never blocks for longer
// than one frame (paceFrame waits out the rest of the frame and no more) and
// never calls back into the demo.
#include <cstdint>
#include <cstring>

// ---- Input -----------------------------------------------------------------

enum AppEventType : int32_t {
    EVENT_KEY_DOWN = 0,
    EVENT_KEY_UP = 1,
    EVENT_DOUBLE_CLICK = 2,
    EVENT_CHAR = 3,
    EVENT_POINTER_MOVE = 4,
    EVENT_POINTER_DELTA = 5,
    EVENT_SCROLL = 6,
    EVENT_TABLET = 7,
};

// Seven 32-bit words: the type and a payload whose meaning depends on it.
// Float payloads (pointer delta, scroll, tablet pressure) are stored bit for bit.
struct AppEvent {
    int32_t type;
    int32_t payload[6];
};

inline float eventFloat(const AppEvent& e, int word) {
    float f;
    std::memcpy(&f, &e.payload[word], sizeof f);
    return f;
}
inline void setEventFloat(AppEvent& e, int word, float f) { std::memcpy(&e.payload[word], &f, sizeof f); }

// The dense key numbering 0..169 (-1: a key without a code).
typedef int32_t KeyCode;
enum : int32_t {
    KEY_NONE = 0,
    KEY_LEFT_BUTTON = 1,
    KEY_RIGHT_BUTTON = 2,
    KEY_MIDDLE_BUTTON = 4,
    KEY_X_BUTTON1 = 5,
    KEY_X_BUTTON2 = 6,
    KEY_SHIFT = 11,
    KEY_CONTROL = 12,
    KEY_ALT = 13,
    KEY_ESCAPE = 20,
    KEY_SPACE = 25,
    KEY_A = 51,
    KEY_LEFT_SHIFT = 123,
    KEY_RIGHT_SHIFT = 124,
    KEY_LEFT_CONTROL = 125,
    KEY_RIGHT_CONTROL = 126,
    KEY_LEFT_ALT = 127,
    KEY_RIGHT_ALT = 128,
    KEY_COUNT = 170,
};

enum { APP_EVENT_CAPACITY = 1024, APP_MAX_DISPLAYS = 16 };

// ---- Sound -----------------------------------------------------------------

// The one sound format, of every backend's device, of the browser page's
// audio (which is handed it by the program, web_app.cpp) and of the music
// engine (whose own rate demo/music_start.cpp holds to this one): SOUND_RATE
// frames a second, a frame being SOUND_CHANNELS signed 16-bit samples in the
// machine's byte order, left first.
typedef int16_t SoundSample;
enum : int32_t {
    SOUND_RATE = 44100,
    SOUND_CHANNELS = 2,
    SOUND_FRAME_BYTES = SOUND_CHANNELS * int32_t(sizeof(SoundSample)),
};

// Writes exactly `frameCount` frames (SOUND_CHANNELS x frameCount samples) to
// `samples`, `frameCount` being at most half the stream length. Runs on the
// stream's own thread, or inside pullSound where a host pulls the samples; the
// result is ignored.
typedef int (*SoundCallback)(SoundSample* samples, int32_t frameCount, void* userData);

// ---- The App -----------------------------------------------------------------

enum ScreenMode : int32_t { SCREEN_WINDOW = 0, SCREEN_FULLSCREEN = 1 };
// Linear: smooth filtering, fit to the window. Nearest: crisp pixels scaled
// by a whole number with black margins.
enum Interpolation : int32_t { INTERPOLATION_NEAREST = 0, INTERPOLATION_LINEAR = 1 };

struct DisplayInfo {
    char name[64];  // empty when unavailable or 64 characters or longer
    int32_t x, y, width, height;  // the display's rectangle in desktop coordinates (see Units)
};

struct Presenter;    // app/presenter.h
struct SoundStream;  // app/sound_stream.h
struct FramePacer;   // app/frame_pacer.h
struct AppBackend;   // the backend's own state (window, GL context, ...)

struct App {
    Interpolation interpolation = INTERPOLATION_LINEAR;
    ScreenMode screenMode = SCREEN_FULLSCREEN;  // applied for real by setScreenMode
    bool windowShown = false;
    bool closeRequested = false;  // never cleared
    bool hasFocus = false;        // input events are queued only while set
    bool minimized = false;       // the frame step presents nothing while set

    Presenter* presenter = nullptr;  // null until startPresenter succeeded
    SoundStream* sound = nullptr;    // null: sound disabled
    FramePacer* pacer = nullptr;     // null: frame steps do not wait

    AppEvent events[APP_EVENT_CAPACITY] = {};
    int32_t eventCount = 0;

    // In desktop coordinates (see Units): where window mode puts the window,
    // and the size of the display that fullscreen covers.
    int32_t windowX = 0, windowY = 0, windowHeight = 0, windowWidth = 0;
    int32_t fullscreenWidth = 0, fullscreenHeight = 0;
    int32_t displayCount = 0;
    DisplayInfo displays[APP_MAX_DISPLAYS] = {};

    AppBackend* backend = nullptr;
};

// ---- Entry points ----------------------------------------------------------------

int runApp();                               // backend: the whole life of the program
int32_t appProc(App* app, void* userData);  // the demo's entry procedure
[[noreturn]] void fatalError(const char* text);  // backend

// One line on standard output ("%s\n"), flushed at once; a line that cannot
// be written is dropped.
void logLine(const char* text);
// "<prefix> %02d:%02d:%02d %04d-%02d-%02d." with the local time.
void logTimeLine(const char* prefix);

// ---- Services the frame step uses -------------------------------------------------

void setScreenMode(App* app, ScreenMode mode);  // backend; an unchanged mode does nothing
void showWindow(App* app);   // backend: show, activate, raise, enable the tablet
void pumpMessages(App* app); // backend: dispatch pending window events into the queue
void swapBuffers(App* app);  // backend: show what was drawn (may wait for the vertical blank)
// Waits until the frame's 1/60 s is over, on the App's pacer; every step,
// shown or not. Without a pacer (app->pacer null) it returns at once.
void paceFrame(App* app);
void setWindowTitle(App* app, const char* title);           // backend
void getPointerPosition(App* app, int32_t* x, int32_t* y);  // backend: in view pixels (see Units)
// Backend. The pointer over the window: `width` x `height` pixels, rows top
// first, bytes red, green, blue, alpha in memory; the hot spot is the pixel
// (hotX, hotY) from the image's top-left corner. The backend copies the
// pixels before it returns: they stay the caller's. Null pixels, or a width
// or height of 0 or less, leave no image: the pointer is invisible over the
// window. A pointer the system cannot make leaves the previous one.
void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY);
void setInterpolation(App* app, Interpolation mode);

// Draws `width` x `height` pixels (rows top first, bytes red, green, blue,
// alpha in memory: red is the low byte of each word) scaled into the view and
// multiplied by `color`, which is 0x00RRGGBB (a grey level g is g x 0x010101).
// Main thread; the caller swaps afterwards.
bool presentFrame(Presenter* presenter, const uint32_t* pixels, int32_t width, int32_t height, uint32_t color);

// Starts or retargets the sound stream, on the main thread only. Without
// sound (no device, or one given up after a failure) it does nothing, and
// neither does a null `app`.
//  - `callback` null or `frames` 0: stopSound.
//  - `frames` equal to the running stream's length: only the callback and
//    `userData` change, together; the stream plays on without a gap.
//  - `frames` > 0, another length: the running stream stops, then a looping
//    buffer of `frames` frames starts, silent, refilled in halves of
//    frames / 2 (an odd last frame is never written, and fewer than 2 frames
//    play silence); the callback's first output is heard one buffer length
//    later. A buffer that cannot be made logs LOG_NO_SOUND_BUFFER, and sound
//    stays off for the rest of the run.
//  - `frames` < 0: the running stream stops and the callback and `userData`
//    are kept without a buffer: nothing plays and the callback is not called
//    until a start with a positive length.
// `userData` is handed to every call and must stay valid until the callback
// changes or stopSound returns.
void startSound(App* app, int32_t frames, SoundCallback callback, void* userData);
// Stops the stream and forgets the callback: when it returns, the callback is
// not running and is never called again. Main thread only.
void stopSound(App* app);
