// The text service: its font list, colour packing, letter spacing, line height and
// where Draw puts the baseline.
#include "assert_log.h"
#include "gl_test_window.h"
#include "of/ImageFont.h"
#include "of/ofTrueTypeFontWS_v001.h"

#include <gtest/gtest.h>

namespace {

using Kura::ImageFont;
using kura_test::Box;
using kura_test::lit;
using kura_test::Rgba;

class ImageFontTest : public testing::Test {
protected:
    void SetUp() override {
        kura_test::openWindowOnce();
        ImageFont::Create();
        font().AddFont(kura_test::MINCHO, 16);
        font().AddFont(kura_test::GOTHIC, 20);
        kura_test::stdoutDuring([&] { font().AddFont("font/missing.ttf", 24); });
        kura_test::beginFrame();
    }
    void TearDown() override { ImageFont::Destroy(); }
    ImageFont& font() { return *ImageFont::Get(); }
};

TEST_F(ImageFontTest, UnloadableFontStillTakesItsPlaceInTheList) {
    EXPECT_EQ(font().GetFontCount(), 3u);
    EXPECT_TRUE(font().GetFont(1)->isLoaded());
    EXPECT_FALSE(font().GetFont(2)->isLoaded());
    font().SetFontType(2);
    kura_test::stdoutDuring([&] { font().Draw(10, 10, L"あ"); }); // the font's own report
    EXPECT_EQ(kura_test::boundsWhere(lit).w, 0);
}

TEST_F(ImageFontTest, ColourIsPackedAlphaBlueGreenRed) {
    font().SetFontType(1);
    font().SetColor(0xFF0000FFu);
    font().Draw(10, 10, L"永");
    int red = 0, other = 0;
    for (const Rgba& p : kura_test::readWindow()) {
        red += p.r == 255 && p.g == 0 && p.b == 0;
        other += p.g != 0 || p.b != 0;
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(other, 0);

    kura_test::beginFrame();
    font().SetColor(0x80FFFFFFu);
    font().Draw(10, 10, L"永");
    int brightest = 0;
    for (const Rgba& p : kura_test::readWindow())
        brightest = std::max<int>(brightest, p.r);
    EXPECT_NEAR(brightest, 128, 2);
}

TEST_F(ImageFontTest, LetterSpacingWidensEveryCharacter) {
    const std::wstring text = L"abcde";
    const float plain = font().GetFont(0)->stringWidth(text);
    font().SetLetterSpacing(2);
    EXPECT_EQ(font().GetWidth(0, text), static_cast<int16_t>(plain + 10));
    font().SetFontType(0);
    EXPECT_EQ(font().GetWidth(text), static_cast<int16_t>(plain + 10));
    font().SetLetterSpacing(-1);
    EXPECT_EQ(font().GetWidth(0, text), static_cast<int16_t>(plain - 5));
    font().SetLetterSpacing(32000);
    EXPECT_EQ(font().GetWidth(0, text), INT16_MAX) << "a measure past 16 bits is held at the top";
}

// Draw's y is the top of the line; the font's baseline goes two half line heights
// (each truncated) below it.
TEST_F(ImageFontTest, DrawPutsTheBaselineTwoHalfLineHeightsBelowY) {
    font().SetFontType(1);
    font().SetColor(0xFFFFFFFFu);
    font().Draw(10, 20, L"日本g");
    const std::vector<Rgba> viaImageFont = kura_test::readWindow();

    // The line height is that of one tall kanji.
    EXPECT_EQ(font().GetLineHeight(),
              static_cast<int16_t>(font().GetFont(1)->stringHeight(L"\u9B31")));
    const int half = font().GetLineHeight() / 2;
    kura_test::beginFrame();
    font().SetColor(0xFFFFFFFFu);
    font().GetFont(1)->drawString(L"日本g", 10, static_cast<float>(20 + 2 * half));
    EXPECT_TRUE(viaImageFont == kura_test::readWindow());
    const Box ink = kura_test::boundsWhere(lit);
    EXPECT_GE(ink.y, 20);
}

TEST_F(ImageFontTest, NarrowTextIsDrawnAsItsWideForm) {
    font().SetFontType(0);
    font().Draw(10, 10, "日本 abc");
    const std::vector<Rgba> narrow = kura_test::readWindow();
    kura_test::beginFrame();
    font().Draw(10, 10, L"日本 abc");
    EXPECT_TRUE(narrow == kura_test::readWindow());
    EXPECT_GT(kura_test::boundsWhere(lit).w, 40);
}

TEST_F(ImageFontTest, BadFontNumbersAreReportedAndSkipped) {
    int16_t width = 1;
    const std::string log = kura_test::reportsDuring([&] { width = font().GetWidth(3, L"x"); });
    EXPECT_EQ(width, 0);
    EXPECT_NE(log.find("Func=Kura::ImageFont::GetWidth\n"), std::string::npos);

    const std::string set = kura_test::reportsDuring([&] { font().SetFontType(-1); });
    EXPECT_NE(set.find("Func=Kura::ImageFont::SetFontType\n"
                       "mes=fontIndex>=0 && fontIndex<m_pImpl->font.size()\n"),
              std::string::npos);
    const std::string draw = kura_test::reportsDuring([&] { font().Draw(0, 0, L"x"); });
    EXPECT_NE(draw.find("mes=m_pImpl->fontIndex>=0 && m_pImpl->fontIndex<m_pImpl->font.size()"),
              std::string::npos);
    const std::string null =
        kura_test::reportsDuring([&] { font().Draw(0, 0, static_cast<const wchar_t*>(nullptr)); });
    EXPECT_NE(null.find("Func=Kura::ImageFont::Draw\nmes=text\n"), std::string::npos);
}

} // namespace
