/* A measuring aid preloaded into the engine (LD_PRELOAD), not part of it: it
 * wraps the window system's idle and display callbacks and the buffer swap,
 * and writes one line per frame to the file named by KURA_FRAME_LOG:
 *
 *   <frame> <wall s> <update cpu us> <draw cpu us> <swapped 0|1>
 *
 * A frame is one idle call (the frame pacing's sleep, then update) and the
 * display calls that follow it (draw and swap). CPU is the whole process's,
 * so the GL driver's rasterising threads count with the draw that made them
 * work. The wall clock is CLOCK_REALTIME, comparable with the runner's. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*Callback)(void);

static Callback g_idle;
static Callback g_display;
static FILE* g_log;
static long g_frame = -1;
static double g_update_us;
static double g_draw_us;
static double g_frame_wall;
static int g_swapped;

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
    fprintf(g_log, "%ld %.6f %.1f %.1f %d\n", g_frame, g_frame_wall, g_update_us, g_draw_us,
            g_swapped);
    fflush(g_log);
}

static void timed_idle(void) {
    end_frame();
    ++g_frame;
    g_update_us = g_draw_us = 0.0;
    g_swapped = 0;
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
    g_swapped = 1;
}
