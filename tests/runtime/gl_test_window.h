// Test support: one real GL window per test process (under the private X server),
// a way to start a frame without the run loop, and framebuffer readback.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kura_test {

constexpr int WINDOW_W = 320;
constexpr int WINDOW_H = 240;
// The system's Japanese fonts, which the tests draw with.
constexpr const char* MINCHO = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf";
constexpr const char* GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

struct Rgba {
    uint8_t r, g, b, a = 255; // opaque unless said otherwise
    bool operator==(const Rgba&) const = default;
};
inline bool lit(const Rgba& p) { // anything but black
    return p.r != 0 || p.g != 0 || p.b != 0;
}

// Idempotent; the window stays open until the process ends. beginFrame and
// boundsWhere assume the default size; pixelAt and readWindow take any.
void openWindowOnce(int w = WINDOW_W, int h = WINDOW_H);
void pinGlDriver(); // keeps the driver loaded to the end, for the leak checker
void beginFrame();  // viewport, clear to black, the runtime's screen projection
// Window coordinates, top-left origin, from the back buffer of a window h high.
Rgba pixelAt(int x, int y, int h = WINDOW_H);

// The smallest rectangle holding every pixel for which keep(pixel) is true;
// w = 0 when there is none.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.x << ", " << b.y << ") " << b.w << " x " << b.h;
}
template <typename Pred> Box boundsWhere(Pred keep);
std::vector<Rgba> readWindow(int w = WINDOW_W, int h = WINDOW_H); // row 0 is the top row

// Writes a 32-bit PNG; colourAt(x, y) gives the pixel, y from the top.
void writePng(const std::string& path, int w, int h,
              const std::function<Rgba(int x, int y)>& colourAt);

template <typename Pred> Box boundsWhere(Pred keep) {
    const std::vector<Rgba> px = readWindow();
    int minX = WINDOW_W, minY = WINDOW_H, maxX = -1, maxY = -1;
    for (int y = 0; y < WINDOW_H; ++y) {
        for (int x = 0; x < WINDOW_W; ++x) {
            if (!keep(px[y * WINDOW_W + x])) continue;
            minX = x < minX ? x : minX;
            minY = y < minY ? y : minY;
            maxX = x > maxX ? x : maxX;
            maxY = y > maxY ? y : maxY;
        }
    }
    if (maxX < 0) return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

} // namespace kura_test
