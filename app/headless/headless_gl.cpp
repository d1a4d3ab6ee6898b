// Recording stand-ins for the presenter's 32 GL functions: shaders always
// compile, names count up, and every draw becomes one recorded frame with the
// grey level of the "modulate" uniform and the uploaded pixels.
#include <cmath>
#include <cstring>

#include "app/headless/headless_backend.h"

namespace {

enum : GLint { UNIFORM_TEXTURE = 1, UNIFORM_MODULATE = 2 };

AppBackend* recorder = nullptr;

GLuint nextName() { return recorder ? recorder->nextName++ : 1; }

GLuint fakeCreateShader(GLenum) { return nextName(); }
void fakeShaderSource(GLuint, GLsizei, const GLchar* const*, const GLint*) {}
void fakeCompileShader(GLuint) {}
void fakeGetShaderiv(GLuint, GLenum, GLint* params) { *params = 1; }
GLuint fakeCreateProgram() { return nextName(); }
void fakeAttachShader(GLuint, GLuint) {}
void fakeBindAttribLocation(GLuint, GLuint, const GLchar*) {}
void fakeLinkProgram(GLuint) {}
void fakeGetProgramiv(GLuint, GLenum, GLint* params) { *params = 1; }
void fakeGenNames(GLsizei n, GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) names[i] = nextName();
}
void fakeGenBuffers(GLsizei n, GLuint* names) { fakeGenNames(n, names); }
void fakeBindBuffer(GLenum, GLuint) {}
void fakeEnableVertexAttribArray(GLuint) {}
void fakeVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*) {}
void fakeGenTextures(GLsizei n, GLuint* names) { fakeGenNames(n, names); }
void fakeEnable(GLenum) {}
void fakeActiveTexture(GLenum) {}
void fakeBindTexture(GLenum, GLuint) {}
void fakeTexParameteri(GLenum, GLenum, GLint) {}
void fakeDeleteBuffers(GLsizei, const GLuint*) {}
void fakeDeleteTextures(GLsizei, const GLuint*) {}
void fakeBufferData(GLenum, GLsizeiptr, const void*, GLenum) {}
void fakeUseProgram(GLuint) {}
void fakeUniform1i(GLint, GLint) {}

// The presenter passes each channel as level / 255; the fades are grey.
void fakeUniform3f(GLint location, GLfloat red, GLfloat, GLfloat) {
    if (recorder && location == UNIFORM_MODULATE) recorder->level = int32_t(std::lround(red * 255.0f));
}

GLint fakeGetUniformLocation(GLuint, const GLchar* name) {
    if (std::strcmp(name, "texture") == 0) return UNIFORM_TEXTURE;
    if (std::strcmp(name, "modulate") == 0) return UNIFORM_MODULATE;
    return -1;
}

void fakeTexImage2D(GLenum, GLint, GLint, GLsizei width, GLsizei height, GLint, GLenum, GLenum, const void* data) {
    if (!recorder) return;
    recorder->uploadWidth = width;
    recorder->uploadHeight = height;
    const size_t count = width > 0 && height > 0 ? size_t(width) * size_t(height) : 0;
    const uint32_t* pixels = static_cast<const uint32_t*>(data);
    recorder->uploadHash = pixels ? headlessHashPixels(pixels, count) : 0;
    if (recorder->keepPixels && pixels) recorder->upload.assign(pixels, pixels + count);
    else recorder->upload.clear();
}

void fakeClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
void fakeClear(GLbitfield) {}

void fakeDrawArrays(GLenum, GLint, GLsizei) {
    if (!recorder) return;
    HeadlessFrame frame = {recorder->record.steps, recorder->level,      recorder->uploadWidth,
                           recorder->uploadHeight, recorder->uploadHash, std::move(recorder->upload)};
    recorder->upload.clear();
    if (recorder->onPresent) {
        recorder->onPresent(frame);
        // Handed on, not kept: the buffer goes back to the next upload.
        recorder->upload.swap(frame.pixels);
        recorder->upload.clear();
    }
    recorder->record.frames.push_back(std::move(frame));
}

void fakeViewport(GLint, GLint, GLsizei, GLsizei) {}
void fakeDeleteShader(GLuint) {}
void fakeDeleteProgram(GLuint) {}

// Each fake at the type of its slot, so a wrong signature does not compile.
#define RECORDING_GL_FAKE(result, name, parameters) fake##name,
const PresenterGl recordingGl = {PRESENTER_GL_FUNCTIONS(RECORDING_GL_FAKE)};
#undef RECORDING_GL_FAKE

}  // namespace

// Looked up by name through the shell's own loader, as a GL library would be.
GlFunction recordingGlProc(const char* name, void* context) {
    recorder = static_cast<AppBackend*>(context);
    return findPresenterGl(recordingGl, name);
}

void uninstallRecordingGl(AppBackend* backend) {
    if (recorder == backend) recorder = nullptr;
}

uint64_t headlessHashPixels(const uint32_t* pixels, size_t count) {
    // FNV-1a over whole pixels: quick, and any changed pixel changes it.
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i) {
        hash ^= pixels[i];
        hash *= 1099511628211ull;
    }
    return hash;
}
