/* A measuring aid preloaded into the program: counts the frames it shows by
 * wrapping the two ways a frame reaches the window (glutSwapBuffers, and the
 * copy of part of the back buffer that glXGetProcAddress hands out), and keeps
 * in the file named by KURA_FRAME_FILE the frame count, the seconds from
 * process start to the first frame, and the seconds since boot of the last
 * frame. Not part of the program. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static long g_frames;
static double g_first_frame = -1.0;
static int g_fd = -1;

static double seconds_since_boot(void) {
    struct timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double)now.tv_sec + now.tv_nsec / 1e9;
}

/* Field 22 of /proc/self/stat: the start time in clock ticks since boot. */
static double process_start(void) {
    char text[1024] = {0};
    FILE* stat = fopen("/proc/self/stat", "r");
    if (stat == NULL) return 0.0;
    size_t got = fread(text, 1, sizeof text - 1, stat);
    fclose(stat);
    text[got] = '\0';
    char* field = strrchr(text, ')');
    for (int i = 2; field != NULL && i < 22; ++i)
        field = strchr(field + 1, ' ');
    return field ? strtod(field + 1, NULL) / (double)sysconf(_SC_CLK_TCK) : 0.0;
}

static void frame_shown(void) {
    const double now = seconds_since_boot();
    ++g_frames;
    if (g_first_frame < 0.0) {
        g_first_frame = now - process_start();
        const char* path = getenv("KURA_FRAME_FILE");
        if (path != NULL) g_fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (g_fd < 0) return;
    char line[128];
    int n = snprintf(line, sizeof line, "%ld %.3f %.6f\n", g_frames, g_first_frame, now);
    if (n > 0) pwrite(g_fd, line, (size_t)n, 0);
}

void glutSwapBuffers(void) {
    static void (*swap)(void);
    if (swap == NULL) swap = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    swap();
    frame_shown();
}

typedef void (*CopySubBuffer)(void*, unsigned long, int, int, int, int);
static CopySubBuffer g_copy_sub_buffer;

static void counted_copy_sub_buffer(void* display, unsigned long drawable, int x, int y, int w,
                                    int h) {
    g_copy_sub_buffer(display, drawable, x, y, w, h);
    frame_shown();
}

typedef void (*Proc)(void);

static Proc wrap_proc(Proc real, const unsigned char* name) {
    if (real == NULL || strcmp((const char*)name, "glXCopySubBufferMESA") != 0) return real;
    g_copy_sub_buffer = (CopySubBuffer)real;
    return (Proc)counted_copy_sub_buffer;
}

Proc glXGetProcAddress(const unsigned char* name) {
    static Proc (*real)(const unsigned char*);
    if (real == NULL) real = (Proc(*)(const unsigned char*))dlsym(RTLD_NEXT, "glXGetProcAddress");
    return wrap_proc(real(name), name);
}

Proc glXGetProcAddressARB(const unsigned char* name) {
    static Proc (*real)(const unsigned char*);
    if (real == NULL)
        real = (Proc(*)(const unsigned char*))dlsym(RTLD_NEXT, "glXGetProcAddressARB");
    return wrap_proc(real(name), name);
}
