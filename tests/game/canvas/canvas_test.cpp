// The canvas transform: windowed scales, fullscreen letterboxing on either side,
// and window pixels taken back into canvas units.
#include "game/canvas/Canvas.h"

#include <gtest/gtest.h>

namespace {

using Kura::Canvas::Compute;
using Kura::Canvas::Transform;

TEST(CanvasTransform, ScaleAndBars) {
    struct Case {
        int w, h;
        bool fullscreen;
        int screenW, screenH;
        float scale;
        int offsetX, offsetY;
    } const cases[] = {
        {480, 320, false, 1920, 1080, 0.5f, 0, 0},
        {960, 640, false, 1920, 1080, 1.0f, 0, 0},
        // rw = 2.0, rh = 1.6875: the canvas is 1620 x 1080 with 150 pixels each side.
        {960, 640, true, 1920, 1080, 1.6875f, 150, 0},
        // A tall screen puts the bars above and below: (1024 - 640 * 4 / 3) / 2, truncated.
        {960, 640, true, 1280, 1024, 1280.0f / 960.0f, 0, 85},
        // Equal ratios take the width ratio, without bars.
        {960, 640, true, 1920, 1280, 2.0f, 0, 0},
    };
    for (const Case& c : cases) {
        Transform t = Compute(c.w, c.h, c.fullscreen, c.screenW, c.screenH);
        EXPECT_FLOAT_EQ(t.scaleX, c.scale) << c.screenW << "x" << c.screenH;
        EXPECT_FLOAT_EQ(t.scaleY, c.scale);
        EXPECT_EQ(t.offsetX, c.offsetX);
        EXPECT_EQ(t.offsetY, c.offsetY);
    }
}

TEST(CanvasTransform, WindowPixelsBackInCanvasUnits) {
    Transform half = Compute(480, 320, false, 0, 0);
    EXPECT_EQ(Kura::Canvas::ToCanvasX(half, 240), 480);
    EXPECT_EQ(Kura::Canvas::ToCanvasY(half, 319), 638);
    Transform wide = Compute(960, 640, true, 1920, 1080);
    EXPECT_EQ(Kura::Canvas::ToCanvasX(wide, 150), 0);
    EXPECT_EQ(Kura::Canvas::ToCanvasX(wide, 149), -1); // in the bar: outside the canvas
    EXPECT_EQ(Kura::Canvas::ToCanvasX(wide, 150 + 1620), 960);
}

} // namespace
