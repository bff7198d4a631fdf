#include "game/canvas/MessageFont.h"

#include "of/ImageFont.h"

namespace Kura::MessageFont {

namespace {

constexpr wchar_t CELL_CHARACTER[] = L"\u3042";

} // namespace

Measures Measure(ImageFont& fonts, int32_t fontType) {
    fonts.SetFontType(fontType);
    return {fonts.GetWidth(fontType, CELL_CHARACTER), fonts.GetLineHeight()};
}

} // namespace Kura::MessageFont
