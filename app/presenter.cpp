// OpenGL 2.0 presentation: the software image as one textured quad.
#include "app/presenter.h"

#include <cstdio>
#include <cstring>

#include "app/log_lines.h"

namespace {

// The few GL constants used here, so no platform GL header is needed.
enum : GLenum {
    PGL_TRIANGLE_FAN = 0x0006,
    PGL_TEXTURE_2D = 0x0DE1,
    PGL_UNSIGNED_BYTE = 0x1401,
    PGL_FLOAT = 0x1406,
    PGL_RGBA = 0x1908,
    PGL_NEAREST = 0x2600,
    PGL_LINEAR = 0x2601,
    PGL_TEXTURE_MAG_FILTER = 0x2800,
    PGL_TEXTURE_MIN_FILTER = 0x2801,
    PGL_COLOR_BUFFER_BIT = 0x4000,
    PGL_TEXTURE0 = 0x84C0,
    PGL_ARRAY_BUFFER = 0x8892,
    PGL_STATIC_DRAW = 0x88E4,
    PGL_FRAGMENT_SHADER = 0x8B30,
    PGL_VERTEX_SHADER = 0x8B31,
    PGL_COMPILE_STATUS = 0x8B81,
    PGL_LINK_STATUS = 0x8B82,
    PGL_TEXTURE_WRAP_S = 0x2802,
    PGL_TEXTURE_WRAP_T = 0x2803,
    PGL_CLAMP_TO_EDGE = 0x812F,
};

bool compileShader(const PresenterGl& gl, GLenum type, const char* source, GLuint* shader) {
    *shader = gl.CreateShader(type);
    gl.ShaderSource(*shader, 1, &source, nullptr);
    gl.CompileShader(*shader);
    GLint compiled = 0;
    gl.GetShaderiv(*shader, PGL_COMPILE_STATUS, &compiled);
    return compiled != 0;
}

void pointAttributeAtQuad(const PresenterGl& gl) {
    gl.VertexAttribPointer(0, 4, PGL_FLOAT, 0, 16, nullptr);
}

}  // namespace

// The browser's WebGL 1 differs from desktop OpenGL 2.0 in three ways, all
// chosen here: its shaders are GLSL ES 1.00 (no version line, a default float
// precision in the fragment shader); a 320 x 200 texture is not a power of
// two, so the default repeat wrap leaves it incomplete and it samples black;
// and 2D texturing needs no enable (enabling it is an error there).
#if defined(__EMSCRIPTEN__)
static const bool webGl = true;
const char* const presenterVertexShader =
    "attribute vec4 pos;varying vec2 uv;void main( void )    {    gl_Position = vec4( pos.xy, 0.0, 1.0 );    uv = "
    "pos.zw;    }";
const char* const presenterFragmentShader =
    "precision mediump float;varying vec2 uv;uniform sampler2D texture;uniform vec3 modulate;void main(void)    {    "
    "gl_FragColor = texture2D( texture, uv ) * vec4( modulate, 1.0 );    }";
#else
static const bool webGl = false;
const char* const presenterVertexShader =
    "#version 120\nattribute vec4 pos;varying vec2 uv;void main( void )    {    gl_Position = vec4( pos.xy, 0.0, "
    "1.0 );    uv = pos.zw;    }";
const char* const presenterFragmentShader =
    "#version 120\nvarying vec2 uv;uniform sampler2D texture;uniform vec3 modulate;void main(void)    {    "
    "gl_FragColor = texture2D( texture, uv ) * vec4( modulate, 1.0 );    }";
#endif

#define PRESENTER_GL_NAME(result, name, parameters) "gl" #name,
const char* const presenterGlNames[PRESENTER_GL_COUNT] = {PRESENTER_GL_FUNCTIONS(PRESENTER_GL_NAME)};
#undef PRESENTER_GL_NAME

// Each slot takes the function at its own type; a slot still null is missing.
int loadPresenterGl(PresenterGl* gl, GlProcLoader getProc, void* context) {
    int index = 0, missing = -1;
#define PRESENTER_GL_LOAD(result, name, parameters)                                     \
    gl->name = reinterpret_cast<decltype(gl->name)>(getProc("gl" #name, context)); \
    if (!gl->name && missing < 0) missing = index;                                  \
    ++index;
    PRESENTER_GL_FUNCTIONS(PRESENTER_GL_LOAD)
#undef PRESENTER_GL_LOAD
    return missing;
}

GlFunction findPresenterGl(const PresenterGl& table, const char* name) {
#define PRESENTER_GL_FIND(result, name_, parameters) \
    if (std::strcmp(name, "gl" #name_) == 0) return reinterpret_cast<GlFunction>(table.name_);
    PRESENTER_GL_FUNCTIONS(PRESENTER_GL_FIND)
#undef PRESENTER_GL_FIND
    return nullptr;
}

void missingGlFunctionText(int index, char* text, std::size_t size) {
    const char* name = index >= 0 && index < PRESENTER_GL_COUNT ? presenterGlNames[index] + 2 : "?";
    std::snprintf(text, size, FATAL_NO_GL_FUNCTION, name);
}

bool setupPresenter(Presenter* presenter, Interpolation interpolation, int32_t viewWidth, int32_t viewHeight) {
    const PresenterGl& gl = presenter->gl;
    presenter->interpolation = interpolation;
    presenter->viewWidth = viewWidth;
    presenter->viewHeight = viewHeight;

    GLuint vertexShader = 0, fragmentShader = 0;
    if (!compileShader(gl, PGL_VERTEX_SHADER, presenterVertexShader, &vertexShader)) return false;
    if (!compileShader(gl, PGL_FRAGMENT_SHADER, presenterFragmentShader, &fragmentShader)) return false;

    GLuint program = gl.CreateProgram();
    gl.AttachShader(program, fragmentShader);
    gl.AttachShader(program, vertexShader);
    gl.BindAttribLocation(program, 0, "pos");
    gl.LinkProgram(program);
    GLint linked = 0;
    gl.GetProgramiv(program, PGL_LINK_STATUS, &linked);
    if (!linked) return false;
    presenter->program = program;
    gl.DeleteShader(fragmentShader);
    gl.DeleteShader(vertexShader);

    gl.GenBuffers(1, &presenter->vertexBuffer);
    gl.BindBuffer(PGL_ARRAY_BUFFER, presenter->vertexBuffer);
    gl.EnableVertexAttribArray(0);
    pointAttributeAtQuad(gl);

    gl.GenTextures(1, &presenter->texture);
    if (!webGl) gl.Enable(PGL_TEXTURE_2D);
    gl.ActiveTexture(PGL_TEXTURE0);
    gl.BindTexture(PGL_TEXTURE_2D, presenter->texture);
    if (webGl) {
        gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_WRAP_S, PGL_CLAMP_TO_EDGE);
        gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_WRAP_T, PGL_CLAMP_TO_EDGE);
    }
    gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_MIN_FILTER, PGL_NEAREST);
    gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_MAG_FILTER, PGL_NEAREST);
    return true;
}

QuadPlacement placeImage(Interpolation interpolation, int32_t viewWidth, int32_t viewHeight, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return {0, 0, 0, 0};
    if (interpolation == INTERPOLATION_LINEAR) {
        float sx = static_cast<float>(viewWidth) / static_cast<float>(width);
        float sy = static_cast<float>(viewHeight) / static_cast<float>(height);
        float s = sx < sy ? sx : sy;
        float qw = static_cast<float>(width) * s, qh = static_cast<float>(height) * s;
        return {(static_cast<float>(viewWidth) - qw) * 0.5f, (static_cast<float>(viewHeight) - qh) * 0.5f, qw, qh};
    }
    int32_t sx = viewWidth / width, sy = viewHeight / height;
    int32_t s = sx < sy ? sx : sy;
    if (s < 1) s = 1;
    int32_t qw = width * s, qh = height * s;
    return {static_cast<float>((viewWidth - qw) / 2), static_cast<float>((viewHeight - qh) / 2),
            static_cast<float>(qw), static_cast<float>(qh)};
}

bool presentFrame(Presenter* presenter, const uint32_t* pixels, int32_t width, int32_t height, uint32_t color) {
    const PresenterGl& gl = presenter->gl;
    const float W = static_cast<float>(presenter->viewWidth), H = static_cast<float>(presenter->viewHeight);
    // A zero-sized view (a minimized window) has no finite coordinates.
    if (presenter->viewWidth <= 0 || presenter->viewHeight <= 0 || width <= 0 || height <= 0) return true;

    QuadPlacement q = placeImage(presenter->interpolation, presenter->viewWidth, presenter->viewHeight, width, height);
    float left = q.x0 / W * 2 - 1, right = (q.x0 + q.width) / W * 2 - 1;
    float bottom = q.y0 / H * 2 - 1, top = (q.y0 + q.height) / H * 2 - 1;
    // The first image row (v = 0) goes to the top of the view.
    const float quad[16] = {left, bottom, 0, 1, right, bottom, 1, 1, right, top, 1, 0, left, top, 0, 0};

    gl.BindBuffer(PGL_ARRAY_BUFFER, presenter->vertexBuffer);
    gl.BufferData(PGL_ARRAY_BUFFER, sizeof quad, quad, PGL_STATIC_DRAW);
    pointAttributeAtQuad(gl);

    gl.UseProgram(presenter->program);
    gl.Uniform1i(gl.GetUniformLocation(presenter->program, "texture"), 0);
    gl.Uniform3f(gl.GetUniformLocation(presenter->program, "modulate"), ((color >> 16) & 0xFF) / 255.0f,
                 ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f);

    gl.ActiveTexture(PGL_TEXTURE0);
    gl.BindTexture(PGL_TEXTURE_2D, presenter->texture);
    gl.TexImage2D(PGL_TEXTURE_2D, 0, PGL_RGBA, width, height, 0, PGL_RGBA, PGL_UNSIGNED_BYTE, pixels);
    GLint filter = presenter->interpolation == INTERPOLATION_LINEAR ? PGL_LINEAR : PGL_NEAREST;
    gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_MIN_FILTER, filter);
    gl.TexParameteri(PGL_TEXTURE_2D, PGL_TEXTURE_MAG_FILTER, filter);

    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(PGL_COLOR_BUFFER_BIT);
    gl.DrawArrays(PGL_TRIANGLE_FAN, 0, 4);
    return true;
}

void releasePresenter(Presenter* presenter) {
    const PresenterGl& gl = presenter->gl;
    gl.DeleteProgram(presenter->program);
    gl.DeleteBuffers(1, &presenter->vertexBuffer);
    gl.DeleteTextures(1, &presenter->texture);
}

bool startPresenter(App* app, GlProcLoader getProc, void* context) {
    Presenter* presenter = new Presenter{};
    const int missing = loadPresenterGl(&presenter->gl, getProc, context);
    if (missing >= 0) {
        char text[96];
        missingGlFunctionText(missing, text, sizeof text);
        fatalError(text);
    }
    const bool fullscreen = app->screenMode == SCREEN_FULLSCREEN;
    if (!setupPresenter(presenter, app->interpolation, fullscreen ? app->fullscreenWidth : app->windowWidth,
                        fullscreen ? app->fullscreenHeight : app->windowHeight)) {
        logLine(LOG_NO_PRESENTER);
        delete presenter;
        return false;
    }
    app->presenter = presenter;
    return true;
}

void stopPresenter(App* app) {
    if (!app->presenter) return;
    releasePresenter(app->presenter);
    delete app->presenter;
    app->presenter = nullptr;
}

void resizePresenterView(App* app, int32_t width, int32_t height) {
    Presenter* presenter = app->presenter;
    if (!presenter) return;  // no table yet: nothing can have been drawn
    presenter->gl.Viewport(0, 0, width, height);
    presenter->viewWidth = width;
    presenter->viewHeight = height;
}
