/* An opengl32.dll whose pixel format and context calls all succeed but that
   has no OpenGL function at all: the program must stop with its fatal error.
   No windows.h, whose own declarations of these names would clash. */
#define EXPORT __declspec(dllexport)
typedef int BOOL;
typedef void* HANDLE;

EXPORT void* wglGetProcAddress(const char* name) { (void)name; return 0; }
EXPORT HANDLE wglCreateContext(HANDLE dc) { (void)dc; return (HANDLE)1; }
EXPORT BOOL wglDeleteContext(HANDLE context) { (void)context; return 1; }
EXPORT BOOL wglMakeCurrent(HANDLE dc, HANDLE context) { (void)dc; (void)context; return 1; }
/* What the system's pixel format calls ask of an installed opengl32. */
EXPORT int wglChoosePixelFormat(HANDLE dc, const void* format) { (void)dc; (void)format; return 1; }
EXPORT BOOL wglSetPixelFormat(HANDLE dc, int index, const void* format) { (void)dc; (void)index; (void)format; return 1; }
EXPORT int wglDescribePixelFormat(HANDLE dc, int index, unsigned size, void* format) {
    (void)dc; (void)index; (void)size; (void)format;
    return 1;
}
EXPORT int wglGetPixelFormat(HANDLE dc) { (void)dc; return 1; }
EXPORT BOOL wglSwapBuffers(HANDLE dc) { (void)dc; return 1; }
