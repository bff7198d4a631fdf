// Canvas transform arithmetic.
#include "game/canvas/Canvas.h"

#include <cmath>

namespace Kura {

namespace Canvas {

Transform Compute(int32_t appWidth, int32_t appHeight, bool fullscreen, int32_t screenWidth,
                  int32_t screenHeight) {
    const float sx = appWidth / BASE_WIDTH;
    const float sy = appHeight / BASE_HEIGHT;
    float k = 1.0f;
    Transform transform;
    if (fullscreen && appWidth > 0 && appHeight > 0) {
        const float rw = static_cast<float>(screenWidth) / appWidth;
        const float rh = static_cast<float>(screenHeight) / appHeight;
        if (rh < rw) {
            k = rh;
            transform.offsetX = static_cast<int32_t>((screenWidth - appWidth * k) / 2);
        } else {
            k = rw;
            transform.offsetY = static_cast<int32_t>((screenHeight - appHeight * k) / 2);
        }
    }
    transform.scaleX = k * sx / 2;
    transform.scaleY = k * sy / 2;
    return transform;
}

int32_t ToCanvasX(const Transform& transform, int32_t x) {
    return static_cast<int32_t>(std::floor((x - transform.offsetX) / transform.scaleX));
}

int32_t ToCanvasY(const Transform& transform, int32_t y) {
    return static_cast<int32_t>(std::floor((y - transform.offsetY) / transform.scaleY));
}

} // namespace Canvas

} // namespace Kura
