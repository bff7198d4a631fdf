// The message layout: cell steps, full lines, characters that must not begin a
// line hanging at the end of a full one, tabs, line feeds, and the advance
// marker.
#include "game/canvas/MessageLayout.h"

#include <gtest/gtest.h>

namespace {

using Kura::MessageLayout::ADVANCE_MARKER;
using Kura::MessageLayout::Glyph;
using Kura::MessageLayout::Layout;

// With cells 32 wide a character takes 32 + 5 units; 24 cells are 768 units, so
// the 21st character (ending at 777) fills a line.
constexpr int CELL = 32;
constexpr int STEP = CELL + CELL / 6;
constexpr int LINE_HEIGHT = 34;
constexpr int LINE_STEP = 44; // 34 * 1.3, truncated
constexpr int PER_LINE = 21;
// Cells 7 wide take 7 + 1 units: 21 characters end exactly at the 168 of a line.
constexpr int EXACT_CELL = 7;

const std::wstring FULL(PER_LINE, L'あ');

struct Case {
    std::wstring text;
    int cell;
    bool marker;
    int index; // of the glyph checked; -1 for the last
    wchar_t character;
    int x, y;
};

TEST(MessageLayout, GlyphsStandInTheirCells) {
    const Case cases[] = {
        {L"ab", CELL, false, 1, L'b', STEP, 0},
        {FULL + L"い", CELL, false, PER_LINE - 1, L'あ', (PER_LINE - 1) * STEP, 0},
        {FULL + L"い", CELL, false, PER_LINE, L'い', 0, LINE_STEP},
        // A line that ends exactly at its full width is full.
        {std::wstring(PER_LINE + 1, L'a'), EXACT_CELL, false, PER_LINE, L'a', 0, LINE_STEP},
        // Two hanging characters both stay on the full line.
        {FULL + L"」。う", CELL, false, PER_LINE + 1, L'。', (PER_LINE + 1) * STEP, 0},
        {FULL + L"」。う", CELL, false, PER_LINE + 2, L'う', 0, LINE_STEP},
        // Tabs take no place; line feeds break; two leave a blank line.
        {L"a\tb\nc\n\nd", CELL, false, 1, L'b', STEP, 0},
        {L"a\tb\nc\n\nd", CELL, false, 2, L'c', 0, LINE_STEP},
        {L"a\tb\nc\n\nd", CELL, false, 3, L'd', 0, 3 * LINE_STEP},
        // A line feed behind a full line breaks it only once.
        {FULL + L"\nい", CELL, false, -1, L'い', 0, LINE_STEP},
        // The marker goes where the next character would; a full last line
        // breaks before it, unless its last character must not begin a line.
        {L"ab", CELL, true, 2, ADVANCE_MARKER, 2 * STEP, 0},
        {FULL, CELL, true, -1, ADVANCE_MARKER, 0, LINE_STEP},
        {FULL.substr(1) + L"。", CELL, true, -1, ADVANCE_MARKER, PER_LINE * STEP, 0},
    };
    for (const Case& c : cases) {
        std::vector<Glyph> glyphs = Layout(c.text, c.cell, LINE_HEIGHT, c.marker);
        const size_t at = c.index < 0 ? glyphs.size() - 1 : static_cast<size_t>(c.index);
        ASSERT_LT(at, glyphs.size());
        const std::string row = std::to_string(&c - cases);
        EXPECT_EQ(glyphs[at].character, c.character) << row;
        EXPECT_EQ(glyphs[at].x, c.x) << row;
        EXPECT_EQ(glyphs[at].y, c.y) << row;
    }
    EXPECT_TRUE(Layout(L"", CELL, LINE_HEIGHT, false).empty());
}

TEST(MessageLayout, ClosingPunctuationHangsAtTheEndOfAFullLine) {
    for (wchar_t closing : {L'、', L'。', L'」', L'』', L'】', L'っ', L'ゃ', L'ゅ', L'ょ', L'ッ',
                            L'ャ', L'ュ', L'ョ', L'ー', L'）'}) {
        std::vector<Glyph> glyphs = Layout(FULL + closing + L"い", CELL, LINE_HEIGHT, false);
        ASSERT_EQ(glyphs.size(), PER_LINE + 2u);
        EXPECT_EQ(glyphs[PER_LINE].x, PER_LINE * STEP) << static_cast<int>(closing);
        EXPECT_EQ(glyphs[PER_LINE].y, 0);
        EXPECT_EQ(glyphs[PER_LINE + 1].x, 0);
        EXPECT_EQ(glyphs[PER_LINE + 1].y, LINE_STEP);
    }
}

} // namespace
