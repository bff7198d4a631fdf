// The wide-string TrueType font: lazy glyph loading, where glyphs land, and the
// rules for spaces, newlines, characters past the table and unusable files.
#include "gl_test_window.h"
#include "of/ofTrueTypeFontWS_v001.h"
#include "ofGraphics.h"

#include <GL/gl.h>
#include <cstdio>
#include <ft2build.h>
#include <gtest/gtest.h>
#include <tuple>
#include FT_FREETYPE_H

namespace {

using kura_test::Box;
using kura_test::lit;
using kura_test::Rgba;

constexpr int SIZE = 24;

// Bitmap width of one character as FreeType renders it at the font's size.
int renderedWidth(wchar_t c) {
    FT_Library lib;
    FT_Face face;
    FT_Init_FreeType(&lib);
    FT_New_Face(lib, kura_test::MINCHO, 0, &face);
    FT_Set_Char_Size(face, SIZE * 64, SIZE * 64, 96, 96);
    FT_Load_Char(face, c, FT_LOAD_RENDER);
    const int width = static_cast<int>(face->glyph->bitmap.width);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return width;
}

class FontTest : public testing::Test {
protected:
    void SetUp() override {
        kura_test::openWindowOnce();
        ASSERT_TRUE(m_font.loadFont(kura_test::MINCHO, SIZE, true, true, false));
        kura_test::beginFrame();
        ofSetColor(255, 255, 255);
    }
    ofTrueTypeFontWS m_font;
};

// Texture names are handed out in sequence: had the font taken a name for every
// table entry at load, the next free name would lie past 100000.
TEST_F(FontTest, LoadingRasterisesOnlyTheSpaceWidthGlyphAndNamesNoOthers) {
    EXPECT_EQ(m_font.getGlyphLoadCount(), 1);
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_LT(next, 1000u);
    glDeleteTextures(1, &next);
}

TEST_F(FontTest, JapaneseTextLandsInItsBoxAndLoadsEachNewGlyphOnce) {
    const std::wstring text = L"日本語の文字日本";
    const int distinct = 6; // 日 本 語 の 文 字
    m_font.drawString(text, 20, 100);
    EXPECT_EQ(m_font.getGlyphLoadCount(), 1 + distinct);

    const ofRectangle expected = m_font.getStringBoundingBox(text, 20, 100);
    const Box got = kura_test::boundsWhere(lit);
    ASSERT_GT(got.w, 0);
    // Ink lies inside the measured quads, within their transparent border.
    EXPECT_GE(got.x, expected.x);
    EXPECT_LE(got.x, expected.x + 6);
    EXPECT_GE(got.y, expected.y);
    EXPECT_LE(got.y, expected.y + 6);
    EXPECT_LE(got.x + got.w, expected.x + expected.width);
    EXPECT_GE(got.x + got.w, expected.x + expected.width - 8);
    EXPECT_LE(got.y + got.h, expected.y + expected.height);
    // The baseline is at y: ink of these characters sits just above it.
    EXPECT_LT(got.y + got.h, 100 + 10);
    EXPECT_GT(got.y + got.h, 100 - 5);

    m_font.drawString(text, 20, 160);
    m_font.stringWidth(text);
    EXPECT_EQ(m_font.getGlyphLoadCount(), 1 + distinct);
}

TEST_F(FontTest, SpaceAdvancesByTheWidthOfPNotItsAdvance) {
    const ofRectangle p = m_font.getStringBoundingBox(L"p", 0, 0);
    const ofRectangle spaceP = m_font.getStringBoundingBox(L" p", 0, 0);
    EXPECT_FLOAT_EQ(spaceP.x - p.x, static_cast<float>(renderedWidth(L'p')));
    EXPECT_EQ(spaceP.width, p.width);
}

// Spaces only, and characters past the table, draw nothing; the latter take no
// place either.
TEST_F(FontTest, SpacesOnlyAndCharactersPastTheTable) {
    m_font.drawString(L"  \U0001F600\t ", 20, 100);
    EXPECT_EQ(kura_test::boundsWhere(lit).w, 0);
    const ofRectangle box = m_font.getStringBoundingBox(L"   ", 5, 5);
    EXPECT_EQ(std::tie(box.x, box.y, box.width, box.height),
              std::make_tuple(-1.0f, -1.0f, 0.0f, 0.0f));
    const ofRectangle empty = m_font.getStringBoundingBox(L"", 5, 5);
    EXPECT_EQ(std::tie(empty.x, empty.width), std::make_tuple(0.0f, 0.0f));
    EXPECT_EQ(m_font.getStringBoundingBox(L"あ\U0001F600\tい", 0, 0).width,
              m_font.getStringBoundingBox(L"あい", 0, 0).width);
}

TEST_F(FontTest, DrawingSkipsNewlinesWhileMeasuringCountsThem) {
    m_font.drawString(L"あ\nい", 20, 100);
    const Box withNewline = kura_test::boundsWhere(lit);
    kura_test::beginFrame();
    m_font.drawString(L"あい", 20, 100);
    const Box oneLine = kura_test::boundsWhere(lit);
    EXPECT_EQ(withNewline.x, oneLine.x);
    EXPECT_EQ(withNewline.w, oneLine.w);
    EXPECT_EQ(withNewline.h, oneLine.h);

    const ofRectangle single = m_font.getStringBoundingBox(L"あ", 0, 0);
    const ofRectangle twoLines = m_font.getStringBoundingBox(L"あ\nあ", 0, 0);
    EXPECT_FLOAT_EQ(twoLines.height, single.height + static_cast<int>(SIZE * 1.43f));
    EXPECT_FLOAT_EQ(twoLines.width, single.width);
}

TEST_F(FontTest, MonochromeGlyphsAreFullyOnOrOff) {
    ofTrueTypeFontWS mono;
    ASSERT_TRUE(mono.loadFont(kura_test::MINCHO, SIZE, false, true, false));
    mono.drawString(L"永", 20, 100);
    int on = 0, partial = 0;
    for (const Rgba& p : kura_test::readWindow()) {
        on += p.r == 255;
        partial += p.r != 0 && p.r != 255;
    }
    EXPECT_GT(on, 30);
    EXPECT_EQ(partial, 0);
}

TEST_F(FontTest, ShapesNeedContoursAndThenFillTheGlyph) {
    testing::internal::CaptureStdout();
    m_font.drawStringAsShapes(L"口", 20, 100);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OF_ERROR: Error : contours not created for this font - call loadFont with "
              "makeContours set to true\n");

    ofTrueTypeFontWS shapes;
    ASSERT_TRUE(shapes.loadFont(kura_test::MINCHO, SIZE, true, true, true));
    shapes.drawStringAsShapes(L"口", 20, 100);
    const Box ink = kura_test::boundsWhere(lit);
    EXPECT_GT(ink.w, 10);
    EXPECT_GT(ink.h, 10);
    EXPECT_LE(ink.y + ink.h, 100 + 6);
    EXPECT_GE(ink.x, 20);
}

TEST(FontFailure, MissingOrBrokenFileLeavesTheFontUnloadedAndDrawsNothing) {
    kura_test::beginFrame();
    const std::string notAFont = testing::TempDir() + "kura_not_a_font.ttf";
    FILE* f = std::fopen(notAFont.c_str(), "w");
    std::fputs("plain text, not a font\n", f);
    std::fclose(f);

    for (const std::string& path : {std::string("/nonexistent/font.ttf"), notAFont}) {
        ofTrueTypeFontWS font;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(font.loadFont(path, SIZE, true, true, false));
        font.drawString(L"あ", 20, 100);
        font.drawString(L"い", 20, 100); // reported once only
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(font.isLoaded());
        EXPECT_NE(log.find("OF_ERROR: ofTrueTypeFontWS: could not load font " + path),
                  std::string::npos)
            << log;
        const std::string report = "OF_ERROR: Error : font not allocated (" + path +
                                   ") -- line 491 in src\\of\\ofTrueTypeFontWS_v001\n";
        EXPECT_NE(log.find(report), std::string::npos) << log;
        EXPECT_EQ(log.find(report), log.rfind(report)) << log;
        EXPECT_EQ(font.getStringBoundingBox(L" あ", 0, 0).width, 0.0f);
    }
    EXPECT_EQ(kura_test::boundsWhere(lit).w, 0);
    std::remove(notAFont.c_str());
}

} // namespace
