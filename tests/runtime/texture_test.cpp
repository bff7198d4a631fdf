// Textures of sizes the driver cannot hold. (Power-of-two allocation and
// freeing the name: the texture table's tests; coordinates and row order: the
// 2D drawer's and the picture windows' exact pixels.)
#include "gl_test_window.h"
#include "ofTexture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

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
