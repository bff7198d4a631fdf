// The message layout. A line breaks once it is full, unless the character that
// would begin the next line must not begin one; then that character hangs at the
// end of the full line and the break waits for the next character. A line feed
// breaks the line where it stands.
#include "game/canvas/MessageLayout.h"

#include "game/canvas/Canvas.h"

#include <algorithm>
#include <array>
#include <set>

namespace Kura::MessageLayout {

namespace {

constexpr std::array<wchar_t, 15> NO_LINE_START = {
    L'\u3001', L'\u3002', L'\u300D', L'\u300F', L'\u3011', L'\u3063', L'\u3083', L'\u3085',
    L'\u3087', L'\u30C3', L'\u30E3', L'\u30E5', L'\u30E7', L'\u30FC', L'\uFF09'};

// A sixth of a cell lies between two characters.
constexpr int32_t GAP_DIVISOR = 6;

} // namespace

bool MustNotBeginLine(wchar_t character) {
    return std::find(NO_LINE_START.begin(), NO_LINE_START.end(), character) != NO_LINE_START.end();
}

std::vector<Glyph> Layout(const std::wstring& text, int32_t cellWidth, int32_t lineHeight,
                          bool withMarker) {
    std::vector<Glyph> glyphs;
    glyphs.reserve(text.size() + 1);
    const int32_t lineWidth = cellWidth * CELLS_PER_LINE;
    const int32_t lineStep = lineHeight * LINE_SPACING_TENTHS / 10;
    int32_t x = 0;
    int32_t y = 0;
    bool wrapped = false; // the line just broke by itself, being full
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\t') continue;
        // An author's line feed starts a new line and takes no place itself;
        // one that ends a full line is that line's own break.
        if (text[i] == L'\n') {
            if (!wrapped) y += lineStep;
            x = 0;
            wrapped = false;
            continue;
        }
        glyphs.push_back({text[i], x, y});
        wrapped = false;
        x += cellWidth + cellWidth / GAP_DIVISOR;
        if (x < lineWidth) continue;
        // At the end of the text the last character itself decides.
        const wchar_t next = i + 1 < text.size() ? text[i + 1] : text[i];
        if (MustNotBeginLine(next)) continue;
        x = 0;
        y += lineStep;
        wrapped = true;
    }
    if (withMarker) glyphs.push_back({ADVANCE_MARKER, x, y});
    return glyphs;
}

int32_t LinesBelowCanvas(const std::vector<Glyph>& glyphs, int32_t lineHeight) {
    std::set<int32_t> lines;
    for (const Glyph& glyph : glyphs)
        if (ORIGIN_Y + glyph.y + lineHeight > Canvas::HEIGHT) lines.insert(glyph.y);
    return static_cast<int32_t>(lines.size());
}

} // namespace Kura::MessageLayout
