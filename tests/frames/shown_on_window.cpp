// Reads the window through Xlib rather than GL: the back buffer is what the
// program drew, the X server's copy is what a player sees. Kept apart from the
// tests because the X headers define names that clash with GoogleTest's.
#include "shown_on_window.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

namespace kura_test {

std::vector<Rgba> shownOnWindow(int w, int h) {
    std::vector<Rgba> px(static_cast<size_t>(w) * h);
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr) return px;
    // The screen at the window's place: exactly what is on show.
    const Window root = DefaultRootWindow(display);
    int x0 = 0, y0 = 0;
    Window child = 0;
    XTranslateCoordinates(display, glXGetCurrentDrawable(), root, 0, 0, &x0, &y0, &child);
    if (x0 < 0 || y0 < 0) return px; // partly off the screen: move it into view first
    XImage* image = XGetImage(display, root, x0, y0, w, h, AllPlanes, ZPixmap);
    if (image == nullptr) return px;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            px[static_cast<size_t>(y) * w + x] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
        }
    }
    XDestroyImage(image);
    return px;
}

std::vector<Rgba> drawnOpaque(int w, int h) {
    std::vector<Rgba> px = readWindow(w, h);
    for (Rgba& p : px)
        p.a = 255;
    return px;
}

int differing(const std::vector<Rgba>& a, const std::vector<Rgba>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += !(a[i] == b[i]);
    return n;
}

} // namespace kura_test
