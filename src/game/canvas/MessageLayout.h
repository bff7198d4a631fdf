// Where each character of the message goes: cells of the width of "あ" with a
// sixth of a cell between them, 24 cells a line, and the rule that keeps closing
// punctuation and small kana from beginning a line. Pure arithmetic, no drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kura::MessageLayout {

constexpr int32_t ORIGIN_X = 100; // canvas units
constexpr int32_t ORIGIN_Y = 500;
constexpr int32_t CELLS_PER_LINE = 24;
// Lines are 1.3 line heights apart.
constexpr int32_t LINE_SPACING_TENTHS = 13;
// Drawn behind a message the player may advance past.
constexpr wchar_t ADVANCE_MARKER = L'\u25BC';

struct Glyph {
    wchar_t character;
    int32_t x; // from the origin
    int32_t y;
};

// True for the characters that must not begin a line.
bool MustNotBeginLine(wchar_t character);

// The glyphs of text in drawing order (tabs take no place, a line feed starts
// a new line); withMarker adds the advance marker where the next character
// would go.
std::vector<Glyph> Layout(const std::wstring& text, int32_t cellWidth, int32_t lineHeight,
                          bool withMarker);

// How many lines of laid-out glyphs end below the canvas, where the player
// never sees them.
int32_t LinesBelowCanvas(const std::vector<Glyph>& glyphs, int32_t lineHeight);

} // namespace Kura::MessageLayout
