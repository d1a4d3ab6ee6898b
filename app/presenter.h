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

struct PresenterGl {
    GLuint(VITRELUME_GLAPI* CreateShader)(GLenum type);
    void(VITRELUME_GLAPI* ShaderSource)(GLuint shader, GLsizei count, const GLchar* const* source, const GLint* length);
    void(VITRELUME_GLAPI* CompileShader)(GLuint shader);
    void(VITRELUME_GLAPI* GetShaderiv)(GLuint shader, GLenum pname, GLint* params);
    GLuint(VITRELUME_GLAPI* CreateProgram)(void);
    void(VITRELUME_GLAPI* AttachShader)(GLuint program, GLuint shader);
    void(VITRELUME_GLAPI* BindAttribLocation)(GLuint program, GLuint index, const GLchar* name);
    void(VITRELUME_GLAPI* LinkProgram)(GLuint program);
    void(VITRELUME_GLAPI* GetProgramiv)(GLuint program, GLenum pname, GLint* params);
    void(VITRELUME_GLAPI* GenBuffers)(GLsizei n, GLuint* buffers);
    void(VITRELUME_GLAPI* BindBuffer)(GLenum target, GLuint buffer);
    void(VITRELUME_GLAPI* EnableVertexAttribArray)(GLuint index);
    void(VITRELUME_GLAPI* VertexAttribPointer)(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer);
    void(VITRELUME_GLAPI* GenTextures)(GLsizei n, GLuint* textures);
    void(VITRELUME_GLAPI* Enable)(GLenum cap);
    void(VITRELUME_GLAPI* ActiveTexture)(GLenum texture);
    void(VITRELUME_GLAPI* BindTexture)(GLenum target, GLuint texture);
    void(VITRELUME_GLAPI* TexParameteri)(GLenum target, GLenum pname, GLint param);
    void(VITRELUME_GLAPI* DeleteBuffers)(GLsizei n, const GLuint* buffers);
    void(VITRELUME_GLAPI* DeleteTextures)(GLsizei n, const GLuint* textures);
    void(VITRELUME_GLAPI* BufferData)(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
    void(VITRELUME_GLAPI* UseProgram)(GLuint program);
    void(VITRELUME_GLAPI* Uniform1i)(GLint location, GLint v0);
    void(VITRELUME_GLAPI* Uniform3f)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2);
    GLint(VITRELUME_GLAPI* GetUniformLocation)(GLuint program, const GLchar* name);
    void(VITRELUME_GLAPI* TexImage2D)(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels);
    void(VITRELUME_GLAPI* ClearColor)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    void(VITRELUME_GLAPI* Clear)(GLbitfield mask);
    void(VITRELUME_GLAPI* DrawArrays)(GLenum mode, GLint first, GLsizei count);
    void(VITRELUME_GLAPI* Viewport)(GLint x, GLint y, GLsizei width, GLsizei height);
    void(VITRELUME_GLAPI* DeleteShader)(GLuint shader);
    void(VITRELUME_GLAPI* DeleteProgram)(GLuint program);
};

// Names of the 32 functions, in table order ("glCreateShader", ...).
extern const char* const presenterGlNames[32];
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

// Name -> function address, or null.
typedef void* (*GlProcLoader)(const char* name, void* context);
// Fills the table through `getProc`. Returns the index of the first function
// still missing, or -1 when all 32 were found.
int loadPresenterGl(PresenterGl* gl, GlProcLoader getProc, void* context);
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
