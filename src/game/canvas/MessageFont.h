// The two measures the message layout takes from the message font: a cell is
// the width of "あ", a line is the font's line height. The game's drawing and
// the check of a game both measure here, so the check sees the lines the
// player sees.
#pragma once

#include <cstdint>

namespace Kura {

class ImageFont;

namespace MessageFont {

struct Measures {
    int32_t cellWidth = 0;
    int32_t lineHeight = 0;
};

// Makes fontType the current font of fonts and measures it.
Measures Measure(ImageFont& fonts, int32_t fontType);

} // namespace MessageFont

} // namespace Kura
