// The browser probe page: the ground the web backend stands on, checked in
// headless Chromium by tests/web. It waits for a click or key, then runs a C++
// loop that yields to the browser once per frame (ASYNCIFY awaiting
// requestAnimationFrame, paced to 60 Hz), draws a 320 x 200 test picture
// through WebGL 1, plays the embedded song through an AudioWorklet that pulls
// from a C++ sound callback, and reports key presses on the console.
#include <emscripten.h>
#include <emscripten/html5.h>
#include <GLES2/gl2.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/presenter.h"
#include "demo/resource.h"
#include "ym/ym_music.h"

namespace {

enum { PICTURE_WIDTH = 320, PICTURE_HEIGHT = 200, MUSIC_RESOURCE = 217, SOUND_RATE = 44100 };

// The page's JavaScript (probe_page.js) does the waiting; these only call it.
EM_ASYNC_JS(void, waitForStartGesture, (), { await Module.probeWaitForStart(); });
EM_ASYNC_JS(void, waitForNextFrame, (), { await Module.probeWaitForNextFrame(); });
EM_JS(double, modulateLevel, (), { return Module.probe.modulate; });

const char* const vertexShaderSource =
    "attribute vec4 pos; varying vec2 uv;\n"
    "void main() { gl_Position = vec4(pos.xy, 0.0, 1.0); uv = pos.zw; }\n";
const char* const fragmentShaderSource =
    "precision mediump float; varying vec2 uv; uniform sampler2D texture; uniform vec3 modulate;\n"
    "void main() { gl_FragColor = texture2D(texture, uv) * vec4(modulate, 1.0); }\n";

struct Gl {
    GLuint program, buffer, texture;
    GLint modulate;
};

GLuint compile(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char text[512] = {};
        glGetShaderInfoLog(shader, sizeof text, nullptr, text);
        std::printf("probe: shader does not compile: %s\n", text);
    }
    return shader;
}

bool setupGl(Gl* gl) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.majorVersion = 1;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) return false;

    gl->program = glCreateProgram();
    glAttachShader(gl->program, compile(GL_VERTEX_SHADER, vertexShaderSource));
    glAttachShader(gl->program, compile(GL_FRAGMENT_SHADER, fragmentShaderSource));
    glBindAttribLocation(gl->program, 0, "pos");
    glLinkProgram(gl->program);
    GLint linked = 0;
    glGetProgramiv(gl->program, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    glUseProgram(gl->program);
    glUniform1i(glGetUniformLocation(gl->program, "texture"), 0);
    gl->modulate = glGetUniformLocation(gl->program, "modulate");

    glGenBuffers(1, &gl->buffer);
    glBindBuffer(GL_ARRAY_BUFFER, gl->buffer);
    glEnableVertexAttribArray(0);
    glGenTextures(1, &gl->texture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, gl->texture);
    // A 320 x 200 texture is not a power of two: with the default repeat
    // wrap WebGL 1 calls it incomplete and samples black.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return true;
}

// Every texel differs from its neighbours and red runs through all 256 levels,
// so the test can check placement, scale and the modulate rounding.
std::vector<uint32_t> makeTestPicture() {
    std::vector<uint32_t> pixels(PICTURE_WIDTH * PICTURE_HEIGHT);
    for (uint32_t y = 0; y < PICTURE_HEIGHT; ++y)
        for (uint32_t x = 0; x < PICTURE_WIDTH; ++x) {
            uint32_t red = x & 0xFF, green = y, blue = (x >> 8) * 128 + ((x + y) & 1) * 64 + 32;
            pixels[y * PICTURE_WIDTH + x] = red | green << 8 | blue << 16 | 0xFFu << 24;
        }
    return pixels;
}

// The drawing buffer follows the canvas's CSS size times the device pixel ratio.
void fitCanvas(int32_t* width, int32_t* height) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    *width = static_cast<int32_t>(cssWidth * ratio + 0.5);
    *height = static_cast<int32_t>(cssHeight * ratio + 0.5);
    int32_t current[2];
    emscripten_get_canvas_element_size("#canvas", &current[0], &current[1]);
    if (current[0] != *width || current[1] != *height) emscripten_set_canvas_element_size("#canvas", *width, *height);
}

void drawFrame(const Gl& gl, const uint32_t* pixels) {
    int32_t width = 0, height = 0;
    fitCanvas(&width, &height);
    if (width <= 0 || height <= 0) return;
    const QuadPlacement q = placeImage(0, width, height, PICTURE_WIDTH, PICTURE_HEIGHT);
    const float left = q.x0 / width * 2 - 1, right = (q.x0 + q.width) / width * 2 - 1;
    const float bottom = q.y0 / height * 2 - 1, top = (q.y0 + q.height) / height * 2 - 1;
    const float quad[16] = {left, bottom, 0, 1, right, bottom, 1, 1, right, top, 1, 0, left, top, 0, 0};

    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 16, nullptr);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, PICTURE_WIDTH, PICTURE_HEIGHT, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    const float level = static_cast<float>(modulateLevel());
    glUniform3f(gl.modulate, level, level, level);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
}

YmMusic* music = nullptr;
bool quit = false;

bool loadMusic() {
    const ResourceData song = findResourceData(MUSIC_RESOURCE);
    if (!song.bytes) return false;
    music = new YmMusic();
    music->release();
    music->fileData = static_cast<uint8_t*>(std::malloc(song.size));
    if (!music->fileData) return false;
    std::memcpy(music->fileData, song.bytes, song.size);
    music->fileSize = song.size;
    music->fileData = music->depack(song.size);
    if (!music->fileData || !music->parseFile()) return false;
    music->chip.resetChip();
    music->chip.setLowPass(true);
    music->loopEnabled = true;
    music->paused = 0;
    music->musicReady = 1;
    return true;
}

int soundCallback(int16_t* samples, int32_t frameCount, void*) {
    if (!music || !music->renderAudio(samples, frameCount)) std::memset(samples, 0, sizeof(int16_t) * 2 * frameCount);
    return 0;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
    std::printf("probe: key down %lu %s\n", event->keyCode, event->code);
    if (event->keyCode == 27) quit = true;
    return EM_TRUE;  // no page scrolling on Space
}

}  // namespace

// Called by the page's audio bridge for `frames` stereo frames; returns
// interleaved 16-bit samples that stay valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE int16_t* probePullSound(int32_t frames) {
    static std::vector<int16_t> buffer;
    buffer.resize(static_cast<size_t>(frames) * 2);
    soundCallback(buffer.data(), frames, nullptr);
    return buffer.data();
}

int main() {
    waitForStartGesture();
    Gl gl = {};
    if (!setupGl(&gl)) {
        std::printf("probe: no WebGL\n");
        return 1;
    }
    if (!loadMusic()) std::printf("probe: the song does not load\n");
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKeyDown);
    const std::vector<uint32_t> picture = makeTestPicture();
    std::printf("probe: running\n");
    while (!quit) {
        drawFrame(gl, picture.data());
        waitForNextFrame();
    }
    std::printf("probe: ended\n");
    return 0;
}
