// A window opened through the runtime exactly as the engine opens its own, so the
// tests see the display mode, projection and pixel formats the game gets.
#include "gl_test_window.h"

#include "ofAppGlutWindow.h"
#include "ofAppRunner.h"
#include "ofGraphics.h"

#include <FreeImage.h>
#include <GL/freeglut.h>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

namespace kura_test {

namespace {

// Frames are drawn and read by the tests themselves; freeglut only insists on
// having something to call.
void drawNothing() {}

// Tearing the window down lets the GL driver free what it holds before the
// leak checker looks.
void closeWindow() {
    glutExit();
}

// The GL driver is unloaded at exit, before the leak checker runs; its own
// allocations would then show up without a module name and could not be told
// apart from ours. Keeping it loaded lets the suppressions name it.
int pinDriver(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/dri/") != nullptr)
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

} // namespace

void pinGlDriver() {
    dl_iterate_phdr(pinDriver, nullptr);
}

void openWindowOnce(int w, int h) {
    static ofAppGlutWindow* window = nullptr;
    if (window != nullptr) return;
    window = new ofAppGlutWindow; // lives as long as the process, like the game's
    window->setGlutDisplayString("rgba double depth stencil alpha");
    ofSetupOpenGL(window, w, h, 0);
    glutDisplayFunc(drawNothing);
    pinGlDriver();
    std::atexit(closeWindow);
    for (int i = 0; i < 10; ++i)
        glutMainLoopEvent();
}

void beginFrame() {
    openWindowOnce();
    glViewport(0, 0, WINDOW_W, WINDOW_H);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4ub(255, 255, 255, 255);
    ofSetupScreenPerspective(WINDOW_W, WINDOW_H);
}

std::vector<Rgba> readWindow(int w, int h) {
    std::vector<Rgba> bottomUp(static_cast<size_t>(w) * h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<Rgba> topDown(bottomUp.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            topDown[static_cast<size_t>(y) * w + x] =
                bottomUp[static_cast<size_t>(h - 1 - y) * w + x];
    }
    return topDown;
}

Rgba pixelAt(int x, int y, int h) {
    Rgba px{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &px);
    return px;
}

void writePng(const std::string& path, int w, int h,
              const std::function<Rgba(int x, int y)>& colourAt) {
    FIBITMAP* dib = FreeImage_Allocate(w, h, 32);
    for (int y = 0; y < h; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
        for (int x = 0; x < w; ++x, line += 4) {
            const Rgba c = colourAt(x, y);
            line[FI_RGBA_RED] = c.r;
            line[FI_RGBA_GREEN] = c.g;
            line[FI_RGBA_BLUE] = c.b;
            line[FI_RGBA_ALPHA] = c.a;
        }
    }
    FreeImage_Save(FIF_PNG, dib, path.c_str());
    FreeImage_Unload(dib);
}

} // namespace kura_test
