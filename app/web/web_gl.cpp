// The presenter's 32 functions are WebGL 1 through emscripten's GLES2 layer,
// looked up by name from this table as from a GL library.
#include <GLES2/gl2.h>

#include <cstring>

#include "app/web/web_backend.h"

namespace {

struct GlFunction {
    const char* name;
    void* address;
};

#define GL_FUNCTION(name) \
    { #name, reinterpret_cast<void*>(&name) }
const GlFunction webGlFunctions[] = {
    GL_FUNCTION(glCreateShader),     GL_FUNCTION(glShaderSource),     GL_FUNCTION(glCompileShader),
    GL_FUNCTION(glGetShaderiv),      GL_FUNCTION(glCreateProgram),    GL_FUNCTION(glAttachShader),
    GL_FUNCTION(glBindAttribLocation), GL_FUNCTION(glLinkProgram),    GL_FUNCTION(glGetProgramiv),
    GL_FUNCTION(glGenBuffers),       GL_FUNCTION(glBindBuffer),       GL_FUNCTION(glEnableVertexAttribArray),
    GL_FUNCTION(glVertexAttribPointer), GL_FUNCTION(glGenTextures),   GL_FUNCTION(glEnable),
    GL_FUNCTION(glActiveTexture),    GL_FUNCTION(glBindTexture),      GL_FUNCTION(glTexParameteri),
    GL_FUNCTION(glDeleteBuffers),    GL_FUNCTION(glDeleteTextures),   GL_FUNCTION(glBufferData),
    GL_FUNCTION(glUseProgram),       GL_FUNCTION(glUniform1i),        GL_FUNCTION(glUniform3f),
    GL_FUNCTION(glGetUniformLocation), GL_FUNCTION(glTexImage2D),     GL_FUNCTION(glClearColor),
    GL_FUNCTION(glClear),            GL_FUNCTION(glDrawArrays),       GL_FUNCTION(glViewport),
    GL_FUNCTION(glDeleteShader),     GL_FUNCTION(glDeleteProgram),
};
#undef GL_FUNCTION

}  // namespace

void* webGlProc(const char* name, void*) {
    for (const GlFunction& function : webGlFunctions)
        if (std::strcmp(function.name, name) == 0) return function.address;
    return nullptr;
}
