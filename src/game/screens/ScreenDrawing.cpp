#include "game/screens/ScreenDrawing.h"

#include "game/canvas/Canvas.h"
#include "of/Draw2D.h"
#include "of/ImageFont.h"

namespace Kura::ScreenDrawing {

void Fill(const Box& box, uint32_t rgba) {
    Draw2D drawer;
    drawer.SetTexture(nullptr, false);
    drawer.SetColor(rgba);
    drawer.DrawRect(box.x, box.y, box.w, box.h);
}

void Text(int32_t x, int32_t y, const std::wstring& text, uint32_t abgr, int32_t fontType) {
    ImageFont* font = ImageFont::Get();
    if (font == nullptr || text.empty()) return;
    font->SetFontType(fontType);
    font->SetColor(abgr);
    font->Draw(x, y, text.c_str());
}

void DimStage() {
    Fill({0, 0, Canvas::WIDTH, Canvas::HEIGHT}, DIM);
}

int32_t CellWidth(int32_t fontType) {
    ImageFont* font = ImageFont::Get();
    return font != nullptr ? font->GetWidth(fontType, L"\u3042") : 0;
}

} // namespace Kura::ScreenDrawing
