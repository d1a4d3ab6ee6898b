#pragma once
// The shell: the one App record and the services that the demo's frame step
// uses. Every backend (app/sdl, app/win32, app/headless) implements the
// functions marked "backend"; the rest is shared code in app/.
// No platform header may be included here: demo/ includes this file.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>

#include "app/presenter.h"

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

// Interleaved signed 16-bit stereo, `frameCount` frames, left first. Runs on
// the streaming thread. The result is ignored.
typedef int (*SoundCallback)(int16_t* samples, int32_t frameCount, void* userData);

// The audio output under the stream: one looping buffer of two halves that
// signals when playback crosses a half. The SDL backend, the Win32 backend and
// the tests' scripted device implement it.
struct SoundDevice {
    virtual ~SoundDevice() = default;
    // A looping buffer of `frames` stereo frames, silent, not yet playing.
    virtual bool createBuffer(int32_t frames) = 0;
    virtual void releaseBuffer() = 0;  // harmless when there is no buffer
    virtual bool play() = 0;
    // Waits until playback crossed a notification point or `milliseconds` passed.
    virtual void waitForNotification(int milliseconds) = 0;
    // Current play position in frames, 0 .. frames - 1.
    virtual int32_t playPosition() = 0;
    // Up to two regions for `count` frames from `first` (the second when the range wraps).
    virtual bool lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1,
                      int16_t** region2, int32_t* frames2) = 0;
    virtual bool unlock() = 0;
    // Called once on the streaming thread; best effort, may do nothing.
    virtual void raiseThreadPriority() {}
};

// ---- The App -----------------------------------------------------------------

struct DisplayInfo {
    char name[64];  // empty when unavailable or 64 characters or longer
    int32_t x, y, width, height;
};

struct AppBackend;  // the backend's own state (window, GL context, ...)

struct App {
    int32_t interpolation = 1;  // 1: linear + fit; 0: nearest + whole-number scale
    int32_t screenMode = 1;     // 1: fullscreen, 0: window
    int32_t windowShown = 0;
    int32_t closeRequested = 0;
    char exePath[260] = {};
    char documentsPath[260] = {};
    char sharedDataPath[260] = {};
    const char* commandLine = nullptr;
    int32_t hasFocus = 0;
    int32_t minimized = 0;
    Presenter presenter = {};

    // Sound stream (app/sound_stream.cpp). The device object is owned by the
    // backend; the stream only borrows it and drops it when sound fails.
    SoundDevice* soundDevice = nullptr;  // null: sound disabled
    std::thread soundThread;             // not joinable: no thread
    std::atomic<int32_t> soundStop{0};
    // Set by the streaming thread when a lock or unlock failed: it stops
    // filling, and the next startSound/stopSound (or teardown) releases the
    // buffer and drops the device on the main thread.
    std::atomic<int32_t> soundFailed{0};
    int32_t soundFrames = 0;  // > 0 exactly while a buffer exists
    // The callback and its user data change together: a fill takes both under
    // this lock, so it never pairs a new callback with old user data.
    std::mutex soundCallbackMutex;
    SoundCallback soundCallback = nullptr;
    void* soundUserData = nullptr;

    AppEvent events[APP_EVENT_CAPACITY] = {};
    int32_t eventCount = 0;

    int32_t windowX = 0, windowY = 0, windowHeight = 0, windowWidth = 0;
    int32_t fullscreenWidth = 0, fullscreenHeight = 0;
    int32_t displayCount = 0;
    DisplayInfo displays[APP_MAX_DISPLAYS] = {};

    int32_t tabletContext = 0;  // non-zero while a tablet context is open
    int32_t tabletMaxPressure = 0;

    AppBackend* backend = nullptr;
};

// ---- Entry points ----------------------------------------------------------------

int runApp();                               // backend: the whole life of the program
int32_t appProc(App* app, void* userData);  // the demo's entry procedure
[[noreturn]] void fatalError(const char* text);  // backend: message box, exit 255

// One line on standard output ("%s\n"), flushed at once.
void logLine(const char* text);
// "<prefix> %02d:%02d:%02d %04d-%02d-%02d." with the local time.
void logTimeLine(const char* prefix);

// ---- Services the frame step uses -------------------------------------------------

void setScreenMode(App* app, int32_t mode);  // backend
void showWindow(App* app);                   // backend: show, activate, raise, enable the tablet
void pumpMessages(App* app);                 // backend: dispatch pending window events
void swapBuffers(App* app);                  // backend: swap, then keep the 60 Hz pace
void setWindowTitle(App* app, const char* title);  // backend
void getPointerPosition(App* app, int32_t* x, int32_t* y);  // backend: client coordinates
void setInterpolation(App* app, int32_t mode);
// Pixels in red, green, blue, alpha byte order; null pixels hide the pointer.
void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY);  // backend
// The system arrow, into a 256 x 256 buffer; false when it cannot be read.
bool readDefaultPointer(int32_t* width, int32_t* height, uint32_t* pixels, int32_t* hotX, int32_t* hotY);  // backend
void initPointer(App* app);  // backend: the system arrow, or the built-in one
bool openTablet(App* app);   // backend

// The built-in 11 x 16 arrow (hot spot 0, 0), red-green-blue-alpha byte order.
enum { BUILTIN_ARROW_WIDTH = 11, BUILTIN_ARROW_HEIGHT = 16 };
extern const uint32_t builtinArrowPixels[BUILTIN_ARROW_WIDTH * BUILTIN_ARROW_HEIGHT];

// Window geometry rule: the window-mode rectangle from the first display's size.
void computeWindowGeometry(App* app, int32_t displayWidth, int32_t displayHeight);

// Event queue and keymap (app/input.cpp).
void pushEvent(App* app, const AppEvent& event);
KeyCode keyFromVirtualKey(int32_t virtualKey);
void pushScroll(App* app, float notches);             // merged into a last EVENT_SCROLL
void pushPointerDelta(App* app, float dx, float dy);  // merged into a last EVENT_POINTER_DELTA

// Sound stream (app/sound_stream.cpp).
void startSound(App* app, int32_t frames, SoundCallback callback, void* userData);
void stopSound(App* app);
void fillSound(App* app, int32_t firstFrame, int32_t frameCount);
void soundThreadProc(App* app);
