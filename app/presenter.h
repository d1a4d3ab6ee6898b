#pragma once
// OpenGL 2.0 presentation of the software framebuffer: one textured quad,
// scaled to the window and multiplied by a "modulate" colour (presentFrame in
// app/app.h). Shared by every backend; a backend only hands over a loader for
// the function table. Main thread only, with the context current.
#include <cstddef>
#include <cstdint>

#include "app/app.h"

// Minimal GL types, so that no platform GL header is needed here.
typedef unsigned int GLenum;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef char GLchar;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef std::ptrdiff_t GLsizeiptr;

#if defined(_WIN32)
#define VITRELUME_GLAPI __stdcall
#else
#define VITRELUME_GLAPI
#endif

// The presenter's 32 GL functions, in table order (the order of loading and
// of the check for a missing one): X(result type, name without "gl",
// parameters). Every list of them is an expansion of this one: the table
// below, the names, the loader, and the tables the browser and the headless
// fakes hand over.
#define PRESENTER_GL_FUNCTIONS(X) \
    X(GLuint, CreateShader, (GLenum type)) \
    X(void, ShaderSource, (GLuint shader, GLsizei count, const GLchar* const* source, const GLint* length)) \
    X(void, CompileShader, (GLuint shader)) \
    X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint* params)) \
    X(GLuint, CreateProgram, (void)) \
    X(void, AttachShader, (GLuint program, GLuint shader)) \
    X(void, BindAttribLocation, (GLuint program, GLuint index, const GLchar* name)) \
    X(void, LinkProgram, (GLuint program)) \
    X(void, GetProgramiv, (GLuint program, GLenum pname, GLint* params)) \
    X(void, GenBuffers, (GLsizei n, GLuint* buffers)) \
    X(void, BindBuffer, (GLenum target, GLuint buffer)) \
    X(void, EnableVertexAttribArray, (GLuint index)) \
    X(void, VertexAttribPointer, (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer)) \
    X(void, GenTextures, (GLsizei n, GLuint* textures)) \
    X(void, Enable, (GLenum cap)) \
    X(void, ActiveTexture, (GLenum texture)) \
    X(void, BindTexture, (GLenum target, GLuint texture)) \
    X(void, TexParameteri, (GLenum target, GLenum pname, GLint param)) \
    X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers)) \
    X(void, DeleteTextures, (GLsizei n, const GLuint* textures)) \
    X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage)) \
    X(void, UseProgram, (GLuint program)) \
    X(void, Uniform1i, (GLint location, GLint v0)) \
    X(void, Uniform3f, (GLint location, GLfloat v0, GLfloat v1, GLfloat v2)) \
    X(GLint, GetUniformLocation, (GLuint program, const GLchar* name)) \
    X(void, TexImage2D, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels)) \
    X(void, ClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
    X(void, Clear, (GLbitfield mask)) \
    X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count)) \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height)) \
    X(void, DeleteShader, (GLuint shader)) \
    X(void, DeleteProgram, (GLuint program))

#define PRESENTER_GL_SLOT(result, name, parameters) result(VITRELUME_GLAPI* name) parameters;
struct PresenterGl {
    PRESENTER_GL_FUNCTIONS(PRESENTER_GL_SLOT)
};
#undef PRESENTER_GL_SLOT

#define PRESENTER_GL_ONE(result, name, parameters) +1
enum { PRESENTER_GL_COUNT = 0 PRESENTER_GL_FUNCTIONS(PRESENTER_GL_ONE) };
#undef PRESENTER_GL_ONE
static_assert(PRESENTER_GL_COUNT == 32, "the presenter draws with 32 GL functions");

// Names of the functions, in table order ("glCreateShader", ...).
extern const char* const presenterGlNames[PRESENTER_GL_COUNT];
// The quad's shaders: GLSL 1.20, or GLSL ES 1.00 in the browser build.
extern const char* const presenterVertexShader;
extern const char* const presenterFragmentShader;

struct Presenter {
    PresenterGl gl;
    Interpolation interpolation;
    int32_t viewWidth;   // the client area, kept in step with the window
    int32_t viewHeight;
    GLuint vertexBuffer;
    GLuint texture;
    GLuint program;
};

// Any function, as a system's lookup hands it over; each table slot converts
// it back to its own type.
typedef void (*GlFunction)();
// Name ("glCreateShader") -> function, or null.
typedef GlFunction (*GlProcLoader)(const char* name, void* context);
// Fills the table through `getProc`. Returns the index of the first function
// still missing, or -1 when all were found.
int loadPresenterGl(PresenterGl* gl, GlProcLoader getProc, void* context);
// The function of `table` named `name`, or null: the lookup of a backend
// that fills a table of its own (the browser's WebGL, the headless fakes).
GlFunction findPresenterGl(const PresenterGl& table, const char* name);
// "Could not find function <name without gl>." for the function at `index`.
void missingGlFunctionText(int index, char* text, std::size_t size);

// The shell's presenter start-up: loads the table (a missing function is a
// fatalError with its "Could not find function" text), then sets up with the
// App's interpolation and the view of its screen mode. On failure logs
// "Failed to initialize OpenGL" and returns false; app->presenter is set only
// on success.
bool startPresenter(App* app, GlProcLoader getProc, void* context);
// Deletes the GL objects and the presenter; nothing when there is none.
void stopPresenter(App* app);

bool setupPresenter(Presenter* presenter, Interpolation interpolation, int32_t viewWidth, int32_t viewHeight);
void releasePresenter(Presenter* presenter);
// Keeps the view size and the viewport in step with the client area.
void resizePresenterView(App* app, int32_t width, int32_t height);

// Where the image goes in the view, in view pixels from the bottom-left corner.
struct QuadPlacement {
    float x0, y0, width, height;
};
QuadPlacement placeImage(Interpolation interpolation, int32_t viewWidth, int32_t viewHeight, int32_t width, int32_t height);
