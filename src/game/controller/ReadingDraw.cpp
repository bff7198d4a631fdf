// The sign of the reading mode that is on, small in the canvas's top right
// corner, above the stage frame so it never covers the story's pictures much.
#include "game/controller/GameMain.h"

#include "game/canvas/Canvas.h"
#include "game/screens/ScreenTexts.h"
#include "of/ImageFont.h"

namespace Kura {

namespace {

constexpr int32_t SIGN_FONT_TYPE = 0;       // the small font
constexpr uint32_t SIGN_COLOR = 0xFF80E0FF; // 0xAABBGGRR: a warm yellow
constexpr int32_t SIGN_MARGIN = 4;          // from the canvas's edges

} // namespace

// Skipping shows over auto mode: it is what moves the story while both are on.
void GameMain::drawReadingIndicator() {
    ImageFont* font = ImageFont::Get();
    if (font == nullptr || m_TitleMode) return;
    if (!isSkipping() && !m_Reading.autoMode) return;
    const std::wstring sign =
        ScreenTextOf(isSkipping() ? ScreenText::SKIP_MODE : ScreenText::AUTO_MODE);
    font->SetFontType(SIGN_FONT_TYPE);
    font->SetColor(SIGN_COLOR);
    const int32_t width = font->GetWidth(SIGN_FONT_TYPE, sign);
    font->Draw(Canvas::WIDTH - width - SIGN_MARGIN, SIGN_MARGIN, sign.c_str());
}

} // namespace Kura
