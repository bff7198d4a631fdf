// The message layout: cell steps, full lines, characters that must not begin a
// line hanging at the end of a full one, tabs, line feeds, and the advance
// marker.
#include "game/canvas/MessageLayout.h"

#include <gtest/gtest.h>

namespace {

using Kura::MessageLayout::Glyph;
using Kura::MessageLayout::Layout;

// With cells 32 wide a character takes 32 + 5 units; 24 cells are 768 units, so
// the 21st character (ending at 777) fills a line.
constexpr int CELL = 32;
constexpr int STEP = CELL + CELL / 6;
constexpr int LINE_HEIGHT = 34;
constexpr int LINE_STEP = 44; // 34 * 1.3, truncated
constexpr int PER_LINE = 21;

std::wstring Repeat(wchar_t c, int n) {
    return std::wstring(static_cast<size_t>(n), c);
}

TEST(MessageLayout, FullLineBreaksBeforeTheNextCharacter) {
    std::vector<Glyph> glyphs = Layout(Repeat(L'あ', PER_LINE + 1), CELL, LINE_HEIGHT, false);
    ASSERT_EQ(glyphs.size(), static_cast<size_t>(PER_LINE + 1));
    EXPECT_EQ(glyphs[1].x, STEP);
    EXPECT_EQ(glyphs[PER_LINE - 1].x, (PER_LINE - 1) * STEP);
    EXPECT_EQ(glyphs[PER_LINE - 1].y, 0);
    EXPECT_EQ(glyphs[PER_LINE].x, 0);
    EXPECT_EQ(glyphs[PER_LINE].y, LINE_STEP);
}

TEST(MessageLayout, ClosingPunctuationHangsAtTheEndOfAFullLine) {
    for (wchar_t closing : {L'、', L'。', L'」', L'』', L'】', L'っ', L'ゃ', L'ゅ', L'ょ', L'ッ',
                            L'ャ', L'ュ', L'ョ', L'ー', L'）'}) {
        std::wstring text = Repeat(L'あ', PER_LINE) + closing + L"い";
        std::vector<Glyph> glyphs = Layout(text, CELL, LINE_HEIGHT, false);
        ASSERT_EQ(glyphs.size(), text.size());
        EXPECT_EQ(glyphs[PER_LINE].x, PER_LINE * STEP) << static_cast<int>(closing);
        EXPECT_EQ(glyphs[PER_LINE].y, 0);
        EXPECT_EQ(glyphs[PER_LINE + 1].x, 0);
        EXPECT_EQ(glyphs[PER_LINE + 1].y, LINE_STEP);
    }
}

TEST(MessageLayout, TwoHangingCharactersBothStayOnTheFullLine) {
    std::wstring text = Repeat(L'あ', PER_LINE) + L"」。う";
    std::vector<Glyph> glyphs = Layout(text, CELL, LINE_HEIGHT, false);
    EXPECT_EQ(glyphs[PER_LINE + 1].y, 0);
    EXPECT_EQ(glyphs[PER_LINE + 2].x, 0);
    EXPECT_EQ(glyphs[PER_LINE + 2].y, LINE_STEP);
}

TEST(MessageLayout, TabsTakeNoPlaceAndLineFeedsBreakTheLine) {
    std::vector<Glyph> glyphs = Layout(L"a\tb\nc\n\nd", CELL, LINE_HEIGHT, false);
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_EQ(glyphs[1].character, L'b');
    EXPECT_EQ(glyphs[1].x, STEP);
    EXPECT_EQ(glyphs[2].x, 0);
    EXPECT_EQ(glyphs[2].y, LINE_STEP);
    EXPECT_EQ(glyphs[3].y, 3 * LINE_STEP); // two line feeds leave a blank line
    // A line feed behind a full line breaks it only once.
    glyphs = Layout(Repeat(L'あ', PER_LINE) + L"\nい", CELL, LINE_HEIGHT, false);
    EXPECT_EQ(glyphs.back().x, 0);
    EXPECT_EQ(glyphs.back().y, LINE_STEP);
}

TEST(MessageLayout, MarkerGoesWhereTheNextCharacterWould) {
    std::vector<Glyph> short_ = Layout(L"ab", CELL, LINE_HEIGHT, true);
    ASSERT_EQ(short_.size(), 3u);
    EXPECT_EQ(short_[2].character, Kura::MessageLayout::ADVANCE_MARKER);
    EXPECT_EQ(short_[2].x, 2 * STEP);

    // A full last line breaks before the marker, unless its last character
    // must not begin a line: then the marker follows it on the same line.
    std::vector<Glyph> full = Layout(Repeat(L'あ', PER_LINE), CELL, LINE_HEIGHT, true);
    EXPECT_EQ(full.back().x, 0);
    EXPECT_EQ(full.back().y, LINE_STEP);
    std::vector<Glyph> hanging =
        Layout(Repeat(L'あ', PER_LINE - 1) + L"。", CELL, LINE_HEIGHT, true);
    EXPECT_EQ(hanging.back().x, PER_LINE * STEP);
    EXPECT_EQ(hanging.back().y, 0);

    EXPECT_TRUE(Layout(L"", CELL, LINE_HEIGHT, false).empty());
}

} // namespace
