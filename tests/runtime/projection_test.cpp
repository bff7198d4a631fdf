// The matrix stack and the colour state, checked on real pixels. (One unit per
// pixel, exact rectangles and blending are read through the 2D drawer's tests.)
#include "gl_test_window.h"
#include "ofGraphics.h"

#include <gtest/gtest.h>

namespace {

using kura_test::Box;
using kura_test::lit;
using kura_test::Rgba;

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

TEST(Colour, ComponentsOutsideTheByteRangeAreClamped) {
    kura_test::beginFrame();
    ofSetColor(300, -5, 128, 255);
    ofRect(0, 0, 4, 4);
    EXPECT_EQ(kura_test::pixelAt(1, 1), (Rgba{255, 0, 128, 255}));
}

} // namespace
