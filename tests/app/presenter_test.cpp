// The presenter over a recording fake of the OpenGL table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/presenter.h"

namespace {

struct GlRecord {
    std::vector<std::string> calls;
    std::vector<std::string> shaderSources;
    std::vector<std::string> uniformNames;
    float quad[16] = {};
    GLsizeiptr bufferSize = 0;
    GLenum bufferUsage = 0;
    float modulate[3] = {};
    GLsizei texWidth = 0, texHeight = 0;
    GLenum texFormat = 0, texType = 0;
    std::vector<GLint> filters;
    float clear[4] = {};
    GLenum drawMode = 0;
    GLsizei drawCount = 0;
    GLint compileStatus = 1, linkStatus = 1;
};
GlRecord rec;

void note(const char* name) { rec.calls.push_back(name); }

GLuint fCreateShader(GLenum type) { note("CreateShader"); return type == 0x8B31 ? 11 : 12; }
void fShaderSource(GLuint, GLsizei n, const GLchar* const* s, const GLint* len) {
    note("ShaderSource");
    EXPECT_EQ(n, 1);
    EXPECT_EQ(len, nullptr);
    rec.shaderSources.push_back(s[0]);
}
void fCompileShader(GLuint) { note("CompileShader"); }
void fGetShaderiv(GLuint, GLenum, GLint* p) { note("GetShaderiv"); *p = rec.compileStatus; }
GLuint fCreateProgram() { note("CreateProgram"); return 7; }
void fAttachShader(GLuint, GLuint) { note("AttachShader"); }
void fBindAttribLocation(GLuint, GLuint i, const GLchar* n) {
    note("BindAttribLocation");
    EXPECT_EQ(i, 0u);
    EXPECT_STREQ(n, "pos");
}
void fLinkProgram(GLuint) { note("LinkProgram"); }
void fGetProgramiv(GLuint, GLenum, GLint* p) { note("GetProgramiv"); *p = rec.linkStatus; }
void fGenBuffers(GLsizei, GLuint* b) { note("GenBuffers"); *b = 3; }
void fBindBuffer(GLenum, GLuint) { note("BindBuffer"); }
void fEnableVertexAttribArray(GLuint) { note("EnableVertexAttribArray"); }
void fVertexAttribPointer(GLuint i, GLint size, GLenum type, GLboolean norm, GLsizei stride, const void* p) {
    note("VertexAttribPointer");
    EXPECT_EQ(i, 0u);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(type, 0x1406u);
    EXPECT_EQ(norm, 0);
    EXPECT_EQ(stride, 16);
    EXPECT_EQ(p, nullptr);
}
void fGenTextures(GLsizei, GLuint* t) { note("GenTextures"); *t = 5; }
void fEnable(GLenum) { note("Enable"); }
void fActiveTexture(GLenum) { note("ActiveTexture"); }
void fBindTexture(GLenum, GLuint) { note("BindTexture"); }
void fTexParameteri(GLenum, GLenum, GLint v) { note("TexParameteri"); rec.filters.push_back(v); }
void fDeleteBuffers(GLsizei, const GLuint*) { note("DeleteBuffers"); }
void fDeleteTextures(GLsizei, const GLuint*) { note("DeleteTextures"); }
void fBufferData(GLenum, GLsizeiptr size, const void* data, GLenum usage) {
    note("BufferData");
    rec.bufferSize = size;
    rec.bufferUsage = usage;
    std::memcpy(rec.quad, data, sizeof rec.quad);
}
void fUseProgram(GLuint) { note("UseProgram"); }
void fUniform1i(GLint, GLint) { note("Uniform1i"); }
void fUniform3f(GLint, GLfloat r, GLfloat g, GLfloat b) {
    note("Uniform3f");
    rec.modulate[0] = r, rec.modulate[1] = g, rec.modulate[2] = b;
}
GLint fGetUniformLocation(GLuint, const GLchar* n) { note("GetUniformLocation"); rec.uniformNames.push_back(n); return 1; }
void fTexImage2D(GLenum, GLint, GLint, GLsizei w, GLsizei h, GLint, GLenum f, GLenum t, const void*) {
    note("TexImage2D");
    rec.texWidth = w, rec.texHeight = h, rec.texFormat = f, rec.texType = t;
}
void fClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    note("ClearColor");
    rec.clear[0] = r, rec.clear[1] = g, rec.clear[2] = b, rec.clear[3] = a;
}
void fClear(GLbitfield) { note("Clear"); }
void fDrawArrays(GLenum m, GLint, GLsizei c) { note("DrawArrays"); rec.drawMode = m; rec.drawCount = c; }
void fViewport(GLint, GLint, GLsizei, GLsizei) { note("Viewport"); }
void fDeleteShader(GLuint) { note("DeleteShader"); }
void fDeleteProgram(GLuint) { note("DeleteProgram"); }

const PresenterGl fakeGl = {
    fCreateShader, fShaderSource, fCompileShader, fGetShaderiv, fCreateProgram, fAttachShader, fBindAttribLocation,
    fLinkProgram, fGetProgramiv, fGenBuffers, fBindBuffer, fEnableVertexAttribArray, fVertexAttribPointer,
    fGenTextures, fEnable, fActiveTexture, fBindTexture, fTexParameteri, fDeleteBuffers, fDeleteTextures,
    fBufferData, fUseProgram, fUniform1i, fUniform3f, fGetUniformLocation, fTexImage2D, fClearColor, fClear,
    fDrawArrays, fViewport, fDeleteShader, fDeleteProgram,
};

Presenter freshPresenter() {
    rec = GlRecord();
    Presenter p = {};
    p.gl = fakeGl;
    return p;
}

void expectPlacement(QuadPlacement q, float x0, float y0, float w, float h) {
    EXPECT_NEAR(q.x0, x0, 1e-3);
    EXPECT_NEAR(q.y0, y0, 1e-3);
    EXPECT_NEAR(q.width, w, 1e-3);
    EXPECT_NEAR(q.height, h, 1e-3);
}

}  // namespace

TEST(Presenter, PlacesTheImageByWholeOrFittedScale) {
    expectPlacement(placeImage(INTERPOLATION_NEAREST, 1920, 1080, 320, 200), 160, 40, 1600, 1000);
    expectPlacement(placeImage(INTERPOLATION_LINEAR, 1920, 1080, 320, 200), 96, 0, 1728, 1080);
    // The odd pixel of a margin goes to the right and to the top.
    expectPlacement(placeImage(INTERPOLATION_NEAREST, 1601, 1081, 320, 200), 0, 40, 1600, 1000);
    // A view smaller than the image still scales by 1 and crops symmetrically.
    expectPlacement(placeImage(INTERPOLATION_NEAREST, 300, 150, 320, 200), -10, -25, 320, 200);
}

TEST(Presenter, SetupFailsOnAFailedCompileOrLink) {
    Presenter p = freshPresenter();
    ASSERT_TRUE(setupPresenter(&p, INTERPOLATION_LINEAR, 1920, 1080));
    EXPECT_EQ(rec.shaderSources, (std::vector<std::string>{presenterVertexShader, presenterFragmentShader}));
    EXPECT_EQ(p.program, 7u);
    EXPECT_EQ(p.viewWidth, 1920);

    p = freshPresenter();
    rec.compileStatus = 0;
    EXPECT_FALSE(setupPresenter(&p, INTERPOLATION_LINEAR, 640, 480));
    p = freshPresenter();
    rec.linkStatus = 0;
    EXPECT_FALSE(setupPresenter(&p, INTERPOLATION_LINEAR, 640, 480));
}

TEST(Presenter, FrameUploadsQuadUniformsAndImage) {
    Presenter p = freshPresenter();
    ASSERT_TRUE(setupPresenter(&p, INTERPOLATION_NEAREST, 1920, 1080));
    static uint32_t pixels[320 * 200];
    rec = GlRecord();
    ASSERT_TRUE(presentFrame(&p, pixels, 320, 200, 0x808080));

    const float l = 160.f / 1920 * 2 - 1, r = 1760.f / 1920 * 2 - 1;
    const float b = 40.f / 1080 * 2 - 1, t = 1040.f / 1080 * 2 - 1;
    const float quad[16] = {l, b, 0, 1, r, b, 1, 1, r, t, 1, 0, l, t, 0, 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(rec.quad[i], quad[i], 1e-6) << "component " << i;
    EXPECT_EQ(rec.bufferSize, 64);
    EXPECT_EQ(rec.bufferUsage, 0x88E4u);
    for (float m : rec.modulate) EXPECT_FLOAT_EQ(m, 128 / 255.0f);
    EXPECT_EQ(rec.texWidth, 320);
    EXPECT_EQ(rec.texHeight, 200);
    EXPECT_EQ(rec.texFormat, 0x1908u);
    EXPECT_EQ(rec.texType, 0x1401u);
    EXPECT_EQ(rec.filters, (std::vector<GLint>{0x2600, 0x2600}));
    EXPECT_FLOAT_EQ(rec.clear[3], 1.0f);
    EXPECT_EQ(rec.clear[0] + rec.clear[1] + rec.clear[2], 0.0f);
    EXPECT_EQ(rec.drawMode, 0x0006u);
    EXPECT_EQ(rec.drawCount, 4);

    // Red, green and blue come from bits 16-23, 8-15 and 0-7; uniforms are
    // looked up by name again on every frame; linear mode filters linearly.
    p.interpolation = INTERPOLATION_LINEAR;
    ASSERT_TRUE(presentFrame(&p, pixels, 320, 200, 0xFF4000));
    EXPECT_FLOAT_EQ(rec.modulate[0], 1.0f);
    EXPECT_FLOAT_EQ(rec.modulate[1], 64 / 255.0f);
    EXPECT_FLOAT_EQ(rec.modulate[2], 0.0f);
    EXPECT_EQ(rec.uniformNames, (std::vector<std::string>{"texture", "modulate", "texture", "modulate"}));
    EXPECT_EQ(rec.filters, (std::vector<GLint>{0x2600, 0x2600, 0x2601, 0x2601}));

    // A zero-sized view draws nothing rather than non-finite coordinates.
    p.viewWidth = 0;
    rec = GlRecord();
    EXPECT_TRUE(presentFrame(&p, pixels, 320, 200, 0xFFFFFF));
    EXPECT_TRUE(rec.calls.empty());
}

namespace {
void* loaderMissing(const char* name, void* context) {
    if (context && std::strcmp(name, static_cast<const char*>(context)) == 0) return nullptr;
    return reinterpret_cast<void*>(&fEnable);
}
}  // namespace

TEST(Presenter, LoaderReportsTheFirstMissingFunction) {
    PresenterGl gl = {};
    EXPECT_EQ(loadPresenterGl(&gl, loaderMissing, nullptr), -1);
    EXPECT_NE(gl.DeleteProgram, nullptr);
    char missing[] = "glEnableVertexAttribArray";
    EXPECT_EQ(loadPresenterGl(&gl, loaderMissing, missing), 11);
    char text[64];
    missingGlFunctionText(11, text, sizeof text);
    EXPECT_STREQ(text, "Could not find function EnableVertexAttribArray.");
    char last[] = "glDeleteProgram";
    EXPECT_EQ(loadPresenterGl(&gl, loaderMissing, last), 31);
    EXPECT_EQ(gl.DeleteProgram, nullptr);
}

// The backend's fatalError: the message, then exit code 255.
void fatalError(const char* text) {
    std::fprintf(stderr, "FATAL ERROR: %s\n", text);
    std::_Exit(255);
}

TEST(Presenter, StartUpStopsOnTheFirstMissingFunctionAndSizesTheView) {
    App app;
    char missing[] = "glClear";
    EXPECT_EXIT(startPresenter(&app, loaderMissing, missing), testing::ExitedWithCode(255),
                "FATAL ERROR: Could not find function Clear\\.");

    rec = GlRecord();
    app.windowWidth = 1600, app.windowHeight = 900, app.fullscreenWidth = 1920, app.fullscreenHeight = 1080;
    app.screenMode = SCREEN_WINDOW;
    ASSERT_TRUE(startPresenter(&app, [](const char* name, void*) -> void* {
        for (int i = 0; i < 32; ++i)
            if (std::strcmp(name, presenterGlNames[i]) == 0) return reinterpret_cast<void* const*>(&fakeGl)[i];
        return nullptr;
    }, nullptr));
    EXPECT_EQ(app.presenter->viewWidth, 1600);
    EXPECT_EQ(app.presenter->viewHeight, 900);
    stopPresenter(&app);
    EXPECT_EQ(app.presenter, nullptr);
}
