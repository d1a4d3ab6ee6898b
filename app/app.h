#pragma once
// The shell as the demo sees it: the one App record, its input events and key
// codes, the sound callback, and the services the frame step calls. No platform
// header and no shell internals here: demo/ includes this file.
//
// Threads: everything here runs on the main thread, except a SoundCallback,
// which runs on the sound stream's thread (or in the host's audio pull).
//
// A new backend lives in app/<name>/ and starts from app/headless, which
// implements every service below without a window. It provides:
//   runApp         start-up in order (start line, displays and
//                  computeWindowGeometry, a hidden window, the GL context and
//                  startPresenter, the sound device and openSoundStream, input),
//                  appProc once, teardown in reverse (closeSoundStream before the
//                  device goes), the end line; 255 when start-up fails.
//   fatalError     the line, a message box where there is a desktop, exit 255.
//   setScreenMode, showWindow, pumpMessages, swapBuffers, paceFrame,
//   setWindowTitle, getPointerPosition, setPointer   (declared below)
//   findResourceData (demo/resource.h), unless it links the embedded table.
// and reuses, never copies: the presenter (app/presenter.h), the keymap and
// event queue (keyFromVirtualKey, pushEvent, pushScroll, pushPointerDelta), the
// window geometry rule, the frame pacer (app/frame_pacer.h), the sound stream
// (app/sound_stream.h: a SoundDevice that signals its halves, or a
// RingSoundDevice that the host plays through pullSound), the log.
// A service never blocks for longer than one frame (paceFrame waits out the
// rest of the frame and no more) and never calls back into the demo.
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

// Writes exactly `frameCount` stereo frames (2 x frameCount signed 16-bit
// values, left first) to `samples`, `frameCount` being at most half the stream
// length. Runs on the stream's own thread, or inside pullSound where a host
// pulls the samples; the result is ignored.
typedef int (*SoundCallback)(int16_t* samples, int32_t frameCount, void* userData);

// ---- The App -----------------------------------------------------------------

enum ScreenMode : int32_t { SCREEN_WINDOW = 0, SCREEN_FULLSCREEN = 1 };
// Linear: smooth filtering, fit to the window. Nearest: crisp pixels scaled
// by a whole number with black margins.
enum Interpolation : int32_t { INTERPOLATION_NEAREST = 0, INTERPOLATION_LINEAR = 1 };

struct DisplayInfo {
    char name[64];  // empty when unavailable or 64 characters or longer
    int32_t x, y, width, height;
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

void setScreenMode(App* app, ScreenMode mode);  // backend
void showWindow(App* app);   // backend: show, activate, raise, enable the tablet
void pumpMessages(App* app); // backend: dispatch pending window events into the queue
void swapBuffers(App* app);  // backend: show what was drawn (may wait for the vertical blank)
void paceFrame(App* app);    // backend: wait until the frame's 1/60 s is over; every step, shown or not
void setWindowTitle(App* app, const char* title);           // backend
void getPointerPosition(App* app, int32_t* x, int32_t* y);  // backend: client coordinates
// `pixels` in red, green, blue, alpha byte order; null hides the pointer.
void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY);  // backend
void setInterpolation(App* app, Interpolation mode);

// Draws `width` x `height` pixels (rows top first, bytes red, green, blue,
// alpha in memory: red is the low byte of each word) scaled into the view and
// multiplied by `color`, which is 0x00RRGGBB (a grey level g is g x 0x010101).
// Main thread; the caller swaps afterwards.
bool presentFrame(Presenter* presenter, const uint32_t* pixels, int32_t width, int32_t height, uint32_t color);

// Starts the stream with a looping buffer of `frames` stereo frames (two
// halves of frames / 2), or only swaps the callback when the length is
// unchanged; a null callback or 0 frames stops it. `userData` is handed to
// every call and must stay valid until stopSound returns. Main thread only.
void startSound(App* app, int32_t frames, SoundCallback callback, void* userData);
// Stops the stream: when it returns, the callback is not running and is never
// called again. Main thread only.
void stopSound(App* app);
