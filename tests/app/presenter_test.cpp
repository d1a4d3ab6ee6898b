// The presenter over the headless backend's recording GL, with the few calls
// whose arguments matter recorded here.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/headless/headless.h"
#include "app/presenter.h"

namespace {

struct Seen {
    float quad[16] = {};
    float modulate[3] = {};
    std::vector<GLint> filters;
    GLint compiled = 1, linked = 1;
} seen;

void recordQuad(GLenum, GLsizeiptr, const void* data, GLenum) { std::memcpy(seen.quad, data, sizeof seen.quad); }
void recordModulate(GLint, GLfloat r, GLfloat g, GLfloat b) {
    seen.modulate[0] = r, seen.modulate[1] = g, seen.modulate[2] = b;
}
void recordFilter(GLenum, GLenum, GLint value) { seen.filters.push_back(value); }
void compileStatus(GLuint, GLenum, GLint* status) { *status = seen.compiled; }
void linkStatus(GLuint, GLenum, GLint* status) { *status = seen.linked; }

const GLint NEAREST = 0x2600, LINEAR = 0x2601;

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
    App* app = createHeadlessApp();
    Presenter p = {};
    p.gl = app->presenter->gl;
    p.gl.GetShaderiv = compileStatus;
    p.gl.GetProgramiv = linkStatus;
    seen = Seen();
    EXPECT_TRUE(setupPresenter(&p, INTERPOLATION_LINEAR, 640, 480));
    seen.compiled = 0;
    EXPECT_FALSE(setupPresenter(&p, INTERPOLATION_LINEAR, 640, 480));
    seen = Seen();
    seen.linked = 0;
    EXPECT_FALSE(setupPresenter(&p, INTERPOLATION_LINEAR, 640, 480));
    destroyHeadlessApp(app);
}

TEST(Presenter, FramePlacesTheQuadModulatesAndFilters) {
    App* app = createHeadlessApp();  // fullscreen on 1920 x 1080
    Presenter& p = *app->presenter;
    p.gl.BufferData = recordQuad;
    p.gl.Uniform3f = recordModulate;
    p.gl.TexParameteri = recordFilter;
    static uint32_t pixels[320 * 200];
    seen = Seen();
    p.interpolation = INTERPOLATION_NEAREST;
    ASSERT_TRUE(presentFrame(&p, pixels, 320, 200, 0xFF4000));

    // Scaled by 5 at (160, 40); the texture's first row at the top.
    const float l = 160.f / 1920 * 2 - 1, r = 1760.f / 1920 * 2 - 1;
    const float b = 40.f / 1080 * 2 - 1, t = 1040.f / 1080 * 2 - 1;
    const float quad[16] = {l, b, 0, 1, r, b, 1, 1, r, t, 1, 0, l, t, 0, 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(seen.quad[i], quad[i], 1e-6) << "component " << i;
    // Red, green and blue come from bits 16-23, 8-15 and 0-7.
    EXPECT_FLOAT_EQ(seen.modulate[0], 1.0f);
    EXPECT_FLOAT_EQ(seen.modulate[1], 64 / 255.0f);
    EXPECT_FLOAT_EQ(seen.modulate[2], 0.0f);
    EXPECT_EQ(seen.filters, (std::vector<GLint>{NEAREST, NEAREST}));

    p.interpolation = INTERPOLATION_LINEAR;
    ASSERT_TRUE(presentFrame(&p, pixels, 320, 200, 0xFFFFFF));
    EXPECT_EQ(seen.filters, (std::vector<GLint>{NEAREST, NEAREST, LINEAR, LINEAR}));
    EXPECT_EQ(headlessRecord(app).frames.size(), 2u);

    // A zero-sized view draws nothing rather than non-finite coordinates.
    p.viewWidth = 0;
    EXPECT_TRUE(presentFrame(&p, pixels, 320, 200, 0xFFFFFF));
    EXPECT_EQ(headlessRecord(app).frames.size(), 2u);
    destroyHeadlessApp(app);
}

namespace {
GlFunction loaderMissing(const char* name, void* context) {
    if (context && std::strcmp(name, static_cast<const char*>(context)) == 0) return nullptr;
    return reinterpret_cast<GlFunction>(&recordFilter);
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
