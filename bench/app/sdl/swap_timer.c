/* Preloaded into the program by frame_pace.sh: logs, for every buffer swap,
 * the monotonic time at entry and at exit and how long the main thread slept
 * since the previous swap. Nothing in the program knows about it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static int logFd = -1;
static double sleptSinceSwap;

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

static int onMainThread(void) { return syscall(SYS_gettid) == getpid(); }

__attribute__((constructor)) static void openLog(void) {
    const char* path = getenv("SWAP_TIMER_LOG");
    if (!path) return;
    logFd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    char line[64];
    int n = snprintf(line, sizeof line, "start %.9f\n", now());
    if (logFd >= 0 && write(logFd, line, n) < 0) logFd = -1;
}

int nanosleep(const struct timespec* request, struct timespec* remaining) {
    static int (*real)(const struct timespec*, struct timespec*);
    if (!real) real = (int (*)(const struct timespec*, struct timespec*))dlsym(RTLD_NEXT, "nanosleep");
    double before = now();
    int result = real(request, remaining);
    if (onMainThread()) sleptSinceSwap += now() - before;
    return result;
}

void SDL_GL_SwapWindow(void* window) {
    static void (*real)(void*);
    if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    double entry = now();
    real(window);
    double leave = now();
    char line[96];
    int n = snprintf(line, sizeof line, "swap %.9f %.9f %.9f\n", entry, leave, sleptSinceSwap);
    sleptSinceSwap = 0;
    if (logFd >= 0 && write(logFd, line, n) < 0) logFd = -1;
}
