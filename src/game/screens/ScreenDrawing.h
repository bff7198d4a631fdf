// What every screen over the story draws with: boxes of the canvas, filled
// and hit by the pointer alike, texts in the menus' font, the dimmed stage
// behind, and the colours the screens share so they look one family.
#pragma once

#include <cstdint>
#include <string>

namespace Kura::ScreenDrawing {

struct Box {
    int32_t x, y, w, h;
    bool contains(int32_t px, int32_t py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};

inline constexpr int32_t SCREEN_FONT_TYPE = 1; // the menus' font
inline constexpr int32_t HINT_FONT_TYPE = 0;   // the small one
inline constexpr int32_t TEXT_INSET = 8;
// Where every screen writes its title and the line that names its keys.
inline constexpr int32_t TITLE_X = 40;
inline constexpr int32_t TITLE_Y = 18;
inline constexpr int32_t HINT_X = 40;
inline constexpr int32_t HINT_Y = 614;
// No row, item or tab: none is under the pointer, or a key changed nothing.
inline constexpr int32_t NONE = -1;
// Fills in 0xRRGGBBAA.
inline constexpr uint32_t DIM = 0x000000D0; // over the whole canvas
inline constexpr uint32_t ROW_FILL = 0x203040FF;
inline constexpr uint32_t CURSOR_FILL = 0x5A3A3AFF;
inline constexpr uint32_t PANEL_FILL = 0x101828FF;
// Texts in the font's 0xAABBGGRR.
inline constexpr uint32_t TEXT_COLOR = 0xFFFFFFFF;
inline constexpr uint32_t FAINT_COLOR = 0xFFA0A0A0;

void Fill(const Box& box, uint32_t rgba);
void Text(int32_t x, int32_t y, const std::wstring& text, uint32_t abgr,
          int32_t fontType = SCREEN_FONT_TYPE);
// The stage stays visible behind a screen, dimmed: the story is paused, not gone.
void DimStage();
// The width of one full-width cell of the font, for laying out lines.
int32_t CellWidth(int32_t fontType = SCREEN_FONT_TYPE);

} // namespace Kura::ScreenDrawing
