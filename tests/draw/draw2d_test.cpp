// The 2D drawer on real pixels: textured quads (source rectangles and flips are
// read through the picture windows), filled rectangles, both colour packings,
// and use before initialisation.
#include "assert_log.h"
#include "gl_test_window.h"
#include "of/Draw2D.h"
#include "of/TextureManager.h"
#include "ofGraphics.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Kura::Draw2D;
using Kura::TextureManager;
using kura_test::Box;
using kura_test::lit;
using kura_test::Rgba;

// Red in the left 50 columns, green in the top 25 rows, blue everywhere: each
// quarter of the source rectangle (0, 0, 100, 50) has its own colour.
Rgba quarters(int x, int y) {
    return {uint8_t(x < 50 ? 255 : 0), uint8_t(y < 25 ? 255 : 0), 128, 255};
}

constexpr Rgba TOP_LEFT{255, 255, 128, 255};
constexpr Rgba TOP_RIGHT{0, 255, 128, 255};
constexpr Rgba BOTTOM_LEFT{255, 0, 128, 255};
constexpr Rgba BOTTOM_RIGHT{0, 0, 128, 255};

class Draw2DTest : public testing::Test {
protected:
    void SetUp() override {
        kura_test::openWindowOnce();
        ASSERT_TRUE(Draw2D::Init());
        TextureManager::Create();
        m_path = testing::TempDir() + "kura_d2d_" + std::to_string(getpid()) + ".png";
        kura_test::writePng(m_path, 300, 200, quarters);
        ASSERT_TRUE(TextureManager::Get()->LoadTexture(m_path, 1));
        kura_test::beginFrame();
    }
    void TearDown() override {
        TextureManager::Destroy();
        Draw2D::Term();
        std::remove(m_path.c_str());
    }
    std::string m_path;
};

TEST_F(Draw2DTest, TexturedQuadLandsInItsDestination) {
    Draw2D d;
    ASSERT_TRUE(d.SetTexture(TextureManager::Get()->GetTexture(1), true));
    d.DrawTexture(10, 20, 100, 50, 0, 0, 100, 50, false, false);
    d.EndTexture();
    EXPECT_EQ(kura_test::boundsWhere(lit), (kura_test::Box{10, 20, 100, 50}));
    EXPECT_EQ(kura_test::pixelAt(100, 30), TOP_RIGHT);
    EXPECT_EQ(kura_test::pixelAt(100, 60), BOTTOM_RIGHT);
    // The quarter boundaries fall exactly at source column 50 and row 25.
    EXPECT_EQ(kura_test::pixelAt(10 + 49, 20), TOP_LEFT);
    EXPECT_EQ(kura_test::pixelAt(10 + 50, 20), TOP_RIGHT);
    EXPECT_EQ(kura_test::pixelAt(10, 20 + 24), TOP_LEFT);
    EXPECT_EQ(kura_test::pixelAt(10, 20 + 25), BOTTOM_LEFT);
}

TEST_F(Draw2DTest, CurrentColourTintsTheTexture) {
    Draw2D d;
    d.SetTexture(TextureManager::Get()->GetTexture(1), true);
    d.SetColor(0x808080FFu);
    d.DrawTexture(0, 0, 100, 50, 0, 0, 100, 50, false, false);
    d.EndTexture();
    const Rgba p = kura_test::pixelAt(10, 10);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_NEAR(p.g, 128, 1);
    EXPECT_NEAR(p.b, 64, 1);
}

TEST_F(Draw2DTest, RectangleFillsItsPixelsInEitherColourForm) {
    Draw2D d;
    d.SetTexture(nullptr, true);
    d.SetColor(0x11223344u);
    d.DrawRect(30, 40, 20, 10);
    const Box box = kura_test::boundsWhere(lit);
    EXPECT_EQ(box, (kura_test::Box{30, 40, 20, 10}));
    EXPECT_EQ(kura_test::pixelAt(35, 45), (Rgba{0x11, 0x22, 0x33, 0x44}));

    ofEnableAlphaBlending();
    d.SetColor(255, 0, 0, 128);
    d.DrawRect(100, 100, 10, 10);
    d.SetColor(0xFF000080u);
    d.DrawRect(120, 100, 10, 10);
    ofDisableAlphaBlending();
    EXPECT_EQ(kura_test::pixelAt(105, 105), kura_test::pixelAt(125, 105));
    EXPECT_NEAR(kura_test::pixelAt(105, 105).r, 128, 1);
}

TEST_F(Draw2DTest, SelectingWithResetMakesTheColourOpaqueWhite) {
    Draw2D d;
    d.SetColor(0x00000000u);
    d.SetTexture(nullptr, true);
    d.DrawRect(0, 0, 4, 4);
    EXPECT_EQ(kura_test::pixelAt(1, 1), (Rgba{255, 255, 255, 255}));
    d.SetColor(0x0000FFFFu);
    d.SetTexture(nullptr, false);
    d.DrawRect(0, 0, 4, 4);
    EXPECT_EQ(kura_test::pixelAt(1, 1), (Rgba{0, 0, 255, 255}));
}

TEST_F(Draw2DTest, DrawingWithoutATextureIsReportedAndDrawsNothing) {
    Draw2D d;
    d.SetTexture(nullptr, true);
    const std::string log =
        kura_test::reportsDuring([&] { d.DrawTexture(0, 0, 50, 50, 0, 0, 50, 50, false, false); });
    EXPECT_NE(log.find("Func=Kura::Draw2D::DrawTexture"), std::string::npos);
    EXPECT_EQ(kura_test::boundsWhere(lit).w, 0);
}

TEST(Draw2DLifetime, UseBeforeInitIsReportedAndSecondInitRefused) {
    Draw2D d;
    const std::string colour = kura_test::reportsDuring([&] { d.SetColor(0xFFFFFFFFu); });
    EXPECT_EQ(colour.substr(colour.find("Func=")), "Func=Kura::Draw2D::SetColor\nmes=m_pImpl\n");
    EXPECT_FALSE(d.SetTexture(nullptr, true));

    ASSERT_TRUE(Draw2D::Init());
    bool second = true;
    const std::string init = kura_test::reportsDuring([&] { second = Draw2D::Init(); });
    EXPECT_FALSE(second);
    EXPECT_NE(init.find("Func=Kura::Draw2D::Init\nmes=m_pImpl==NULL\n"), std::string::npos);
    Draw2D::Term();
}

} // namespace
