// OpenGL through WGL, with opengl32.dll loaded by name: the entry points, the
// pixel format, the context, the swap interval and the presenter's table.
#include <cstdio>

#include "app/log_lines.h"
#include "app/presenter.h"
#include "app/win32/win32_backend.h"

namespace {

// Some drivers answer wglGetProcAddress with small numbers instead of null.
bool isFunctionAddress(PROC address) {
    const intptr_t value = reinterpret_cast<intptr_t>(address);
    return value != 0 && value != 1 && value != 2 && value != 3 && value != -1;
}

// opengl32 exports the GL 1.1 functions itself; the driver has the rest.
GlFunction glFunction(const char* name, void* context) {
    AppBackend* backend = static_cast<AppBackend*>(context);
    if (FARPROC exported = GetProcAddress(backend->glModule, name)) return reinterpret_cast<GlFunction>(exported);
    PROC address = backend->wglGetProcAddress(name);
    return isFunctionAddress(address) ? reinterpret_cast<GlFunction>(address) : nullptr;
}

// "Failed to find <name>" when opengl32 lacks it.
template <typename Function>
bool findWglFunction(HMODULE gl, const char* name, Function* slot) {
    *slot = libraryFunction<Function>(gl, name);
    if (*slot) return true;
    char line[64];
    std::snprintf(line, sizeof line, LOG_NO_WGL_FUNCTION, name);
    logLine(line);
    return false;
}

bool loadWgl(AppBackend* backend) {
    backend->glModule = LoadLibraryA("opengl32.dll");
    if (!backend->glModule) {
        logLine(LOG_NO_GL_LIBRARY);
        return false;
    }
    HMODULE gl = backend->glModule;
    return findWglFunction(gl, "wglGetProcAddress", &backend->wglGetProcAddress) &&
           findWglFunction(gl, "wglCreateContext", &backend->wglCreateContext) &&
           findWglFunction(gl, "wglDeleteContext", &backend->wglDeleteContext) &&
           findWglFunction(gl, "wglMakeCurrent", &backend->wglMakeCurrent);
}

// Double-buffered RGBA: 32 colour, 24 depth and 8 stencil bits.
bool setPixelFormat(HDC deviceContext) {
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 24;
    format.cStencilBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    const int index = ChoosePixelFormat(deviceContext, &format);
    return index != 0 && SetPixelFormat(deviceContext, index, &format);
}

bool createContext(AppBackend* backend) {
    if (!setPixelFormat(backend->deviceContext)) {
        logLine(LOG_NO_PIXEL_FORMAT);
        return false;
    }
    backend->glContext = backend->wglCreateContext(backend->deviceContext);
    if (!backend->glContext) {
        logLine(LOG_NO_GL_CONTEXT);
        return false;
    }
    if (!backend->wglMakeCurrent(backend->deviceContext, backend->glContext)) {
        logLine(LOG_GL_CONTEXT_NOT_CURRENT);
        return false;
    }
    return true;
}

}  // namespace

bool startOpenGl(App* app) {
    AppBackend* backend = app->backend;
    if (!loadWgl(backend) || !createContext(backend)) return false;
    // One vertical blank per swap where the driver honours it.
    PROC swapInterval = backend->wglGetProcAddress("wglSwapIntervalEXT");
    if (isFunctionAddress(swapInterval)) {
        backend->wglSwapIntervalEXT = reinterpret_cast<decltype(backend->wglSwapIntervalEXT)>(
            reinterpret_cast<void (*)()>(swapInterval));
        backend->wglSwapIntervalEXT(1);
    }
    return startPresenter(app, glFunction, backend);
}

void stopOpenGl(App* app) {
    AppBackend* backend = app->backend;
    stopPresenter(app);
    if (backend->glContext) {
        backend->wglMakeCurrent(nullptr, nullptr);
        backend->wglDeleteContext(backend->glContext);
    }
    if (backend->glModule) FreeLibrary(backend->glModule);
}
