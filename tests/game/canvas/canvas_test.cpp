// The canvas transform: windowed scales, fullscreen letterboxing on either side,
// and window pixels taken back into canvas units.
#include "game/canvas/Canvas.h"

#include <gtest/gtest.h>

namespace {

using Kura::Canvas::Compute;
using Kura::Canvas::Transform;

TEST(CanvasTransform, WindowedScalesTheCanvasOntoTheWindow) {
    Transform half = Compute(480, 320, false, 1920, 1080);
    EXPECT_FLOAT_EQ(half.scaleX, 0.5f);
    EXPECT_FLOAT_EQ(half.scaleY, 0.5f);
    EXPECT_EQ(half.offsetX, 0);
    EXPECT_EQ(half.offsetY, 0);
    Transform full = Compute(960, 640, false, 1920, 1080);
    EXPECT_FLOAT_EQ(full.scaleX, 1.0f);
    EXPECT_FLOAT_EQ(full.scaleY, 1.0f);
}

TEST(CanvasTransform, FullscreenKeepsTheAspectWithBarsOnTheLongSides) {
    // rw = 2.0, rh = 1.6875: the canvas is 1620 x 1080 with 150 pixels each side.
    Transform wide = Compute(960, 640, true, 1920, 1080);
    EXPECT_FLOAT_EQ(wide.scaleX, 1.6875f);
    EXPECT_FLOAT_EQ(wide.scaleY, 1.6875f);
    EXPECT_EQ(wide.offsetX, 150);
    EXPECT_EQ(wide.offsetY, 0);
    // A tall screen puts the bars above and below.
    Transform tall = Compute(960, 640, true, 1280, 1024);
    EXPECT_FLOAT_EQ(tall.scaleX, 1280.0f / 960.0f);
    EXPECT_EQ(tall.offsetX, 0);
    EXPECT_EQ(tall.offsetY, 85); // (1024 - 640 * 4 / 3) / 2, truncated
    // Equal ratios take the width ratio, without bars.
    Transform equal = Compute(960, 640, true, 1920, 1280);
    EXPECT_FLOAT_EQ(equal.scaleX, 2.0f);
    EXPECT_EQ(equal.offsetX, 0);
    EXPECT_EQ(equal.offsetY, 0);
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
