/* A measuring aid preloaded into the engine (LD_PRELOAD), not part of it: it
 * wraps the window system's idle and display callbacks, the two ways a frame
 * reaches the window (buffer swap, copy of part of the back buffer) and the GL
 * calls that draw, and writes one line per frame to the file named by
 * KURA_FRAME_LOG:
 *
 *   <frame> <wall s> <idle cpu us> <display cpu us> <shown> <GL draw calls>
 *
 * A frame is one idle call (the frame pacing's sleep, then update, and in the
 * engine's loop the drawing as well) and the display calls that follow it.
 * CPU is the whole process's, so the GL driver's rasterising threads count
 * with the drawing that made them work. The wall clock is CLOCK_REALTIME,
 * comparable with the runner's. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

typedef void (*Callback)(void);

static Callback g_idle;
static Callback g_display;
static FILE* g_log;
static long g_frame = -1;
static double g_update_us;
static double g_draw_us;
static double g_frame_wall;
static int g_shown;
static int g_draw_calls;

static double cpu_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

static double wall_s(void) {
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

/* The log is opened lazily and flushed every frame: the engine is usually
 * ended by a signal, which skips stdio's own flushing. */
static void end_frame(void) {
    if (g_frame < 0) return;
    if (g_log == NULL) {
        const char* path = getenv("KURA_FRAME_LOG");
        if (path == NULL || (g_log = fopen(path, "w")) == NULL) return;
    }
    fprintf(g_log, "%ld %.6f %.1f %.1f %d %d\n", g_frame, g_frame_wall, g_update_us, g_draw_us,
            g_shown, g_draw_calls);
    fflush(g_log);
}

static void timed_idle(void) {
    end_frame();
    ++g_frame;
    g_update_us = g_draw_us = 0.0;
    g_shown = g_draw_calls = 0;
    const double start = cpu_us();
    g_idle();
    g_update_us = cpu_us() - start;
    g_frame_wall = wall_s();
}

static void timed_display(void) {
    const double start = cpu_us();
    g_display();
    g_draw_us += cpu_us() - start;
}

static void* next(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == NULL) {
        fprintf(stderr, "frame_clock: %s not found\n", name);
        abort();
    }
    return symbol;
}

void glutIdleFunc(Callback callback) {
    static void (*real)(Callback);
    if (real == NULL) real = (void (*)(Callback))next("glutIdleFunc");
    g_idle = callback;
    real(callback != NULL ? timed_idle : NULL);
}

void glutDisplayFunc(Callback callback) {
    static void (*real)(Callback);
    if (real == NULL) real = (void (*)(Callback))next("glutDisplayFunc");
    g_display = callback;
    real(callback != NULL ? timed_display : NULL);
}

void glutSwapBuffers(void) {
    static Callback real;
    if (real == NULL) real = (Callback)next("glutSwapBuffers");
    real();
    ++g_shown;
}

/* The copy of part of the back buffer is an extension: it is reached through
 * glXGetProcAddress, which hands out this wrapper in its place. */
typedef void (*CopySubBuffer)(void*, unsigned long, int, int, int, int);
static CopySubBuffer g_copy_sub_buffer;

static void counted_copy_sub_buffer(void* display, unsigned long drawable, int x, int y, int w,
                                    int h) {
    g_copy_sub_buffer(display, drawable, x, y, w, h);
    ++g_shown;
}

typedef void (*Proc)(void);

static Proc wrap_proc(Proc real, const unsigned char* name) {
    if (real == NULL || strcmp((const char*)name, "glXCopySubBufferMESA") != 0) return real;
    g_copy_sub_buffer = (CopySubBuffer)real;
    return (Proc)counted_copy_sub_buffer;
}

Proc glXGetProcAddress(const unsigned char* name) {
    static Proc (*real)(const unsigned char*);
    if (real == NULL) real = (Proc(*)(const unsigned char*))next("glXGetProcAddress");
    return wrap_proc(real(name), name);
}

Proc glXGetProcAddressARB(const unsigned char* name) {
    static Proc (*real)(const unsigned char*);
    if (real == NULL) real = (Proc(*)(const unsigned char*))next("glXGetProcAddressARB");
    return wrap_proc(real(name), name);
}

/* The GL calls that put pixels in the frame buffer. */
void glDrawArrays(unsigned mode, int first, int count) {
    static void (*real)(unsigned, int, int);
    if (real == NULL) real = (void (*)(unsigned, int, int))next("glDrawArrays");
    real(mode, first, count);
    ++g_draw_calls;
}

void glBegin(unsigned mode) {
    static void (*real)(unsigned);
    if (real == NULL) real = (void (*)(unsigned))next("glBegin");
    real(mode);
    ++g_draw_calls;
}

void glRectf(float x1, float y1, float x2, float y2) {
    static void (*real)(float, float, float, float);
    if (real == NULL) real = (void (*)(float, float, float, float))next("glRectf");
    real(x1, y1, x2, y2);
    ++g_draw_calls;
}

void glClear(unsigned mask) {
    static void (*real)(unsigned);
    if (real == NULL) real = (void (*)(unsigned))next("glClear");
    real(mask);
    ++g_draw_calls;
}
