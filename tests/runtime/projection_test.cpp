// The screen projection and drawing state, checked on real pixels: one unit per
// pixel at z = 0, origin at the top left, y growing downwards.
#include "gl_test_window.h"
#include "ofGraphics.h"

#include <gtest/gtest.h>

namespace {

using kura_test::Box;
using kura_test::Rgba;

bool lit(const Rgba& p) {
    return p.r != 0 || p.g != 0 || p.b != 0;
}

TEST(Projection, FilledRectangleCoversExactlyItsPixels) {
    kura_test::beginFrame();
    ofSetColor(255, 128, 0);
    ofRect(10, 20, 30, 40);
    EXPECT_EQ(kura_test::boundsWhere(lit), (Box{10, 20, 30, 40}));
    EXPECT_EQ(kura_test::pixelAt(10, 20), (Rgba{255, 128, 0, 255}));
    EXPECT_EQ(kura_test::pixelAt(39, 59), (Rgba{255, 128, 0, 255}));
    EXPECT_EQ(kura_test::pixelAt(40, 59), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(kura_test::pixelAt(39, 60), (Rgba{0, 0, 0, 255}));
    kura_test::beginFrame();
    ofRect(0, 0, kura_test::WINDOW_W, kura_test::WINDOW_H);
    EXPECT_EQ(kura_test::boundsWhere(lit), (Box{0, 0, kura_test::WINDOW_W, kura_test::WINDOW_H}));
}

TEST(MatrixStack, TranslateScaleAndRotateCompose) {
    kura_test::beginFrame();
    ofPushMatrix();
    ofTranslate(50, 60);
    ofScale(2, 3);
    ofRect(0, 0, 10, 10);
    ofPopMatrix();
    EXPECT_EQ(kura_test::boundsWhere(lit), (Box{50, 60, 20, 30}));

    kura_test::beginFrame();
    ofPushMatrix();
    ofTranslate(100, 100);
    ofRotate(90); // with y down, a quarter turn takes +x to +y
    ofRect(0, 0, 20, 10);
    ofPopMatrix();
    ofRect(5, 5, 4, 4); // the pop restored the transform before the push
    EXPECT_EQ(kura_test::boundsWhere(lit), (Box{5, 5, 95, 115}));
}

TEST(Blending, HalfTransparentWhiteOverBlackIsHalfGrey) {
    kura_test::beginFrame();
    ofEnableAlphaBlending();
    ofSetColor(255, 255, 255, 128);
    ofRect(0, 0, 10, 10);
    const Rgba blended = kura_test::pixelAt(5, 5);
    EXPECT_NEAR(blended.r, 128, 1);
    EXPECT_EQ(blended.r, blended.g);

    ofDisableAlphaBlending();
    ofRect(20, 0, 10, 10);
    EXPECT_EQ(kura_test::pixelAt(25, 5).r, 255);
}

TEST(Colour, ComponentsOutsideTheByteRangeAreClamped) {
    kura_test::beginFrame();
    ofSetColor(300, -5, 128, 255);
    ofRect(0, 0, 4, 4);
    EXPECT_EQ(kura_test::pixelAt(1, 1), (Rgba{255, 0, 128, 255}));
}

} // namespace
