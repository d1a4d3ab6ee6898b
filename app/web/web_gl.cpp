// The presenter's GL functions are WebGL 1 through emscripten's GLES2 layer,
// handed over as a table of the real functions and looked up by name in it as
// in a GL library.
#include <GLES2/gl2.h>

#include "app/web/web_backend.h"

namespace {

// Each function at the type of its slot, so a mismatch does not compile.
#define WEB_GL_FUNCTION(result, name, parameters) gl##name,
const PresenterGl webGlFunctions = {PRESENTER_GL_FUNCTIONS(WEB_GL_FUNCTION)};
#undef WEB_GL_FUNCTION

}  // namespace

GlFunction webGlProc(const char* name, void*) { return findPresenterGl(webGlFunctions, name); }
