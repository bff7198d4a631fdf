// The texture table: power-of-two uploads, the slot rules of the getters, release,
// loads over loaded slots, and slot numbers out of range.
#include "assert_log.h"
#include "gl_test_window.h"
#include "of/TextureManager.h"
#include "ofImage.h"
#include "ofTexture.h"

#include <GL/gl.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Kura::TextureManager;
using kura_test::Rgba;

std::string tempPath(const char* name) {
    return testing::TempDir() + "kura_tm_" + std::to_string(getpid()) + "_" + name;
}

class TextureManagerTest : public testing::Test {
protected:
    void SetUp() override {
        kura_test::openWindowOnce();
        TextureManager::Create();
        m_alpha = tempPath("alpha.png");
        kura_test::writePng(m_alpha, 300, 200, [](int x, int) {
            return Rgba{255, uint8_t(x), 0, uint8_t(x < 150 ? 255 : 64)};
        });
        m_small = tempPath("small.png");
        kura_test::writePng(m_small, 64, 32, [](int, int) { return Rgba{0, 0, 255, 255}; });
    }
    void TearDown() override {
        TextureManager::Destroy();
        std::remove(m_alpha.c_str());
        std::remove(m_small.c_str());
    }
    TextureManager& tm() { return *TextureManager::Get(); }

    std::string m_alpha, m_small;
};

GLint textureParameter(const ofTexture* tex, GLenum what) {
    GLint v = 0;
    glBindTexture(GL_TEXTURE_2D, tex->getTextureId());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
    glBindTexture(GL_TEXTURE_2D, 0);
    return v;
}

TEST_F(TextureManagerTest, PowerOfTwoTextureInThePicturesFormat) {
    ASSERT_TRUE(tm().LoadTexture(m_alpha, 5));
    ASSERT_TRUE(tm().LoadTexture(m_small, 7));
    const ofTexture* tex = tm().GetTexture(5);
    EXPECT_EQ(textureParameter(tex, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(textureParameter(tex, GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(textureParameter(tex, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(textureParameter(tm().GetTexture(7), GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(textureParameter(tm().GetTexture(7), GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(tm().GetWidth(5), 300);
    EXPECT_EQ(tm().GetHeight(5), 200);
    EXPECT_EQ(tm().GetFilePath(5), m_alpha);
    EXPECT_EQ(tm().GetImage(5)->getType(), OF_IMAGE_COLOR_ALPHA);
}

// Loads outside the table are refused with a report and change nothing; past
// the table the getters read slot 0, and a negative slot is reported.
TEST_F(TextureManagerTest, SlotsOutsideTheTable) {
    ASSERT_TRUE(tm().LoadTexture(m_small, 0));
    bool ok = true;
    const std::string high =
        kura_test::reportsDuring([&] { ok = tm().LoadTexture(m_alpha, 1024); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(high, "File=src\\of\\TextureManager\nLine=87\n"
                    "Func=Kura::TextureManager::LoadTexture\nmes=0\n");
    const std::string low = kura_test::reportsDuring([&] { ok = tm().LoadTexture(m_alpha, -1); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(low, high);
    EXPECT_EQ(tm().GetFilePath(0), m_small);
    EXPECT_EQ(tm().GetWidth(2000), 64);
    EXPECT_EQ(tm().GetHeight(1024), 32);
    EXPECT_EQ(tm().GetTexture(5000), tm().GetTexture(0));
    EXPECT_EQ(tm().GetImage(1024), tm().GetImage(0));
    int32_t width = -7;
    const std::string log = kura_test::reportsDuring([&] { width = tm().GetWidth(-1); });
    EXPECT_EQ(width, 0);
    EXPECT_NE(
        log.find("Func=Kura::TextureManager::GetWidth\nmes=texIdx>=0 && texIdx<MAX_TEXTURE_NUM"),
        std::string::npos);
    kura_test::reportsDuring([&] {
        EXPECT_EQ(tm().GetTexture(-3), nullptr);
        EXPECT_EQ(tm().GetFilePath(-3), "");
        EXPECT_EQ(tm().GetFilePath(1024), "");
    });
}

// A missing or undecodable file over a loaded slot empties it; the game goes on.
TEST_F(TextureManagerTest, UnusableFileOverALoadedSlotEmptiesIt) {
    const std::string bad = tempPath("bad.png");
    FILE* f = std::fopen(bad.c_str(), "wb");
    std::fputs("\x89PNG\r\n\x1a\n garbage", f);
    std::fclose(f);
    for (const std::string& file : {tempPath("missing.png"), bad}) {
        ASSERT_TRUE(tm().LoadTexture(m_alpha, 3));
        const GLuint oldName = tm().GetTexture(3)->getTextureId();
        bool ok = true;
        const std::string log = kura_test::stdoutDuring([&] { ok = tm().LoadTexture(file, 3); });
        EXPECT_FALSE(ok);
        EXPECT_NE(log.find("OF_ERROR"), std::string::npos);
        EXPECT_EQ(tm().GetTexture(3), nullptr);
        EXPECT_EQ(tm().GetWidth(3), 0);
        EXPECT_EQ(tm().GetHeight(3), 0);
        EXPECT_EQ(tm().GetFilePath(3), "");
        EXPECT_FALSE(glIsTexture(oldName));
    }
    std::remove(bad.c_str());
}

TEST_F(TextureManagerTest, ReleaseFreesTextureButKeepsSizeAndPath) {
    ASSERT_TRUE(tm().LoadTexture(m_alpha, 12));
    const GLuint name = tm().GetTexture(12)->getTextureId();
    tm().Release(12);
    EXPECT_EQ(tm().GetTexture(12), nullptr);
    EXPECT_EQ(tm().GetImage(12), nullptr);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(tm().GetWidth(12), 300);
    EXPECT_EQ(tm().GetHeight(12), 200);
    EXPECT_EQ(tm().GetFilePath(12), m_alpha);

    const std::string log = kura_test::reportsDuring([&] { tm().Release(-1); });
    EXPECT_EQ(log, "File=src\\of\\TextureManager\nLine=228\nFunc=Kura::TextureManager::Release\n"
                   "mes=texIdx>=0 && texIdx<MAX_TEXTURE_NUM\n");
}

TEST_F(TextureManagerTest, LoadingOverALoadedSlotReplacesThePicture) {
    ASSERT_TRUE(tm().LoadTexture(m_alpha, 4));
    const GLuint first = tm().GetTexture(4)->getTextureId();
    ASSERT_TRUE(tm().LoadTexture(m_small, 4));
    EXPECT_FALSE(glIsTexture(first) && first != tm().GetTexture(4)->getTextureId());
    EXPECT_EQ(tm().GetWidth(4), 64);
    EXPECT_EQ(tm().GetFilePath(4), m_small);
}

} // namespace
