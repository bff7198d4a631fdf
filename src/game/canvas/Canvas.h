// The logical canvas on the window: the scale that maps 960 x 640 canvas units
// onto an "app_width" x "app_height" window, with equal bars on the long sides
// in fullscreen, and window pixels taken back into canvas units.
#pragma once

#include <cstdint>

namespace Kura {

namespace Canvas {

constexpr int32_t WIDTH = 960;
constexpr int32_t HEIGHT = 640;
// The settings' window size is counted against a screen half the canvas.
constexpr float BASE_WIDTH = 480.0f;
constexpr float BASE_HEIGHT = 320.0f;

struct Transform {
    int32_t offsetX = 0; // window pixels
    int32_t offsetY = 0;
    float scaleX = 1.0f; // window pixels per canvas unit
    float scaleY = 1.0f;
};

// The screen size matters only in fullscreen.
Transform Compute(int32_t appWidth, int32_t appHeight, bool fullscreen, int32_t screenWidth,
                  int32_t screenHeight);

// A window pixel in canvas units, rounded down, so pixels left of or above the
// canvas come out negative.
int32_t ToCanvasX(const Transform& transform, int32_t x);
int32_t ToCanvasY(const Transform& transform, int32_t y);

} // namespace Canvas

} // namespace Kura
