// One frame of drawing in the 960 x 640 canvas, back to front: background,
// message, windows, menus, the stage frame in the story, then the fades.
#include "game/controller/GameMain.h"

#include "game/canvas/Canvas.h"
#include "game/canvas/MessageFont.h"
#include "game/canvas/MessageLayout.h"
#include "game/player/ScenarioPlayer.h"
#include "game/settings/Setting.h"
#include "of/Draw2D.h"
#include "of/Icon.h"
#include "of/ImageFont.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"
#include "util/ConvString.h"

#include "ofAppRunner.h"
#include "ofGraphics.h"

#include <algorithm>

namespace Kura {

namespace {

constexpr uint32_t WHITE_RGBA = 0xFFFFFFFF; // in both colour packings
constexpr int32_t STAGE_FRAME_GREY = 114;
constexpr int32_t STAGE_FRAME_THICKNESS = 1;

} // namespace

void GameMain::draw() {
    ofClear(m_BackgroundColor.r, m_BackgroundColor.g, m_BackgroundColor.b, m_BackgroundColor.a);
    Draw2D().SetColors(WHITE_RGBA, WHITE_RGBA, WHITE_RGBA, WHITE_RGBA);
    // A hidden message takes its speaker's picture with it.
    const Window* hidden = m_Reading.hidden ? currentCharacterWindow() : nullptr;
    if (!m_Reading.hidden) drawMessage();
    ofSetColor(255, 255, 255);
    for (Window* window : mWindowManager)
        if (window != hidden) window->Draw();
    m_pCommandMenu->Draw();
    m_pInterruptMenu->Draw();
    if (!m_TitleMode) drawStageFrame();
    if (m_FadeInLeft > 0) drawFade(m_FadeInColor, fadeInAlpha());
    if (m_FadeOutLeft > 0) drawFade(m_FadeOutColor, fadeOutAlpha());
    drawReadingIndicator();
    drawSystemScreens();
    if (m_pScreen) m_pScreen->draw();
}

void GameMain::drawMessage() {
    ImageFont* font = ImageFont::Get();
    if (font == nullptr) return;
    const MessageFont::Measures measures = MessageFont::Measure(*font, MESSAGE_FONT_TYPE);
    font->SetColor(WHITE_RGBA);
    const std::wstring text = ConvString::AnsiToWide(m_pPlayer->getShownText());
    // The marker invites the player to advance, which only a message allows.
    const bool marker = m_pPlayer->getState() == ScenarioPlayer::STATE_MESSAGE &&
                        m_pPlayer->isMessageCompleteAndReported();
    if (text.empty() && !marker) return;
    wchar_t one[2] = {0, 0};
    for (const MessageLayout::Glyph& glyph :
         MessageLayout::Layout(text, measures.cellWidth, measures.lineHeight, marker)) {
        one[0] = glyph.character;
        font->Draw(MessageLayout::ORIGIN_X + glyph.x, MessageLayout::ORIGIN_Y + glyph.y, one);
    }
}

void GameMain::drawStageFrame() {
    Setting* setting = Setting::get();
    if (setting == nullptr) return;
    Draw2D drawer;
    drawer.SetTexture(nullptr, true);
    drawer.SetColor(STAGE_FRAME_GREY, STAGE_FRAME_GREY, STAGE_FRAME_GREY, 255);
    DrawFrame(setting->getInt("stg_wind_x"), setting->getInt("stg_wind_y"),
              setting->getInt("stg_wind_w"), setting->getInt("stg_wind_h"), STAGE_FRAME_THICKNESS);
    drawer.EndTexture();
}

// Covers the window's size in canvas units but never less than the canvas: a
// window smaller than the canvas (drawn scaled down) must still be covered whole.
void GameMain::drawFade(const ColorRgba& color, int32_t alpha) {
    Draw2D drawer;
    drawer.SetTexture(nullptr, false);
    drawer.SetColor(color.r, color.g, color.b, alpha);
    drawer.DrawRect(0, 0, std::max(ofGetWidth(), Canvas::WIDTH),
                    std::max(ofGetHeight(), Canvas::HEIGHT));
}

} // namespace Kura
