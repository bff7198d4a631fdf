// Textures: power-of-two allocation, picture-to-texture coordinates, upload
// orientation, and sizes the driver cannot hold. (What the driver allocates
// and freeing the name: the texture table's tests.)
#include "gl_test_window.h"
#include "ofImage.h"
#include "ofTexture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

using kura_test::Rgba;

TEST(Texture, AllocatesAtPowerOfTwoSizes) {
    kura_test::openWindowOnce();
    ofTexture tex;
    ASSERT_TRUE(tex.allocate(300, 200, GL_RGBA));
    EXPECT_TRUE(tex.isAllocated());
    EXPECT_EQ(tex.getTextureWidth(), 512);
    EXPECT_EQ(tex.getTextureHeight(), 256);
    EXPECT_EQ(tex.getWidth(), 300.0f);
    EXPECT_EQ(tex.getHeight(), 200.0f);

    ASSERT_TRUE(tex.allocate(64, 32, GL_RGB));
    EXPECT_EQ(tex.getTextureWidth(), 64);
    EXPECT_EQ(tex.getTextureHeight(), 32);
}

TEST(Texture, PixelPositionsBecomeFractionsOfTheAllocatedSize) {
    kura_test::openWindowOnce();
    std::vector<unsigned char> pixels(300 * 200 * 4, 255);
    ofTexture tex;
    ASSERT_TRUE(tex.allocate(300, 200, GL_RGBA));
    tex.loadData(pixels.data(), 300, 200, GL_RGBA);
    const ofPoint corner = tex.getCoordFromPoint(300, 200);
    EXPECT_FLOAT_EQ(corner.x, 300.0f / 512.0f);
    EXPECT_FLOAT_EQ(corner.y, 200.0f / 256.0f);
    const ofPoint mid = tex.getCoordFromPoint(150, 50);
    EXPECT_FLOAT_EQ(mid.x, 150.0f / 512.0f);
    EXPECT_FLOAT_EQ(mid.y, 50.0f / 256.0f);
}

// Top row of the picture must come out at the top of the screen, in its colours.
TEST(Texture, UploadedRowsKeepTheirOrder) {
    kura_test::openWindowOnce();
    const unsigned char rgb[2 * 2 * 3] = {255, 0, 0,   0,   255, 0,  // top: red, green
                                          0,   0, 255, 255, 255, 0}; // bottom: blue, yellow
    ofTexture tex;
    ASSERT_TRUE(tex.allocate(2, 2, GL_RGB));
    tex.loadData(rgb, 2, 2, GL_RGB);
    tex.bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    kura_test::beginFrame();
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(20, 0);
    glTexCoord2f(1, 1), glVertex2f(20, 20);
    glTexCoord2f(0, 1), glVertex2f(0, 20);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    tex.unbind();
    EXPECT_EQ(kura_test::pixelAt(2, 2), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(kura_test::pixelAt(17, 2), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(kura_test::pixelAt(2, 17), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(kura_test::pixelAt(17, 17), (Rgba{255, 255, 0, 255}));
}

TEST(Texture, SizeBeyondTheDriverLimitIsRefused) {
    kura_test::openWindowOnce();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ofTexture tex;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(tex.allocate(maxSize + 1, 4, GL_RGBA));
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(tex.isAllocated());
    EXPECT_NE(log.find("OF_ERROR: ofTexture: cannot allocate"), std::string::npos) << log;
}

} // namespace
