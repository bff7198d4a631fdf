// Drawing the screens over the stage, which stays visible but dimmed: the
// story is paused behind them, not gone.
#include "game/screens/ScreenTexts.h"
#include "game/screens/SlotScreen.h"
#include "game/screens/SlotScreenLayout.h"
#include "of/Draw2D.h"
#include "of/TextureManager.h"
#include "util/ConvString.h"

#include "ofTexture.h"

#include <ctime>

namespace Kura {

namespace {

using namespace ScreenDrawing;

constexpr uint32_t NO_PICTURE_FILL = 0x101010FF;
constexpr uint32_t TAB_FILL = ROW_FILL;
constexpr uint32_t TAB_SHOWN_FILL = CURSOR_FILL;
constexpr uint32_t DAMAGED_COLOR = 0xFF6060FF; // red
constexpr size_t DATE_SIZE = 32;
constexpr int64_t MS_PER_SECOND = 1000;

// In the player's own time zone, to the minute.
std::wstring DateOf(int64_t savedAtMs) {
    const std::time_t seconds = static_cast<std::time_t>(savedAtMs / MS_PER_SECOND);
    std::tm local{};
    char text[DATE_SIZE] = "";
    if (localtime_r(&seconds, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return ConvString::AnsiToWide(text);
}

std::wstring SlotLabel(const SlotId& slot) {
    switch (slot.kind) {
    case SlotId::QUICK:
        return ScreenTextOf(ScreenText::QUICK_SLOT);
    case SlotId::AUTO:
        return ScreenTextOf(ScreenText::AUTO_SLOT) + L" " + std::to_wstring(slot.number);
    default:
        return ScreenTextOf(ScreenText::NUMBERED_SLOT) + std::to_wstring(slot.number);
    }
}

} // namespace

void SlotScreen::draw() const {
    DimStage();
    const ScreenText title = m_Mode == SAVE ? ScreenText::SAVE_TITLE : ScreenText::LOAD_TITLE;
    Text(SlotScreenLayout::TITLE.x, SlotScreenLayout::TITLE.y, ScreenTextOf(title), TEXT_COLOR);
    drawTabs();
    for (int32_t row = 0; row < static_cast<int32_t>(m_Rows.size()); ++row)
        drawRow(row);
    Text(HINT_X, HINT_Y, ScreenTextOf(ScreenText::HINT), FAINT_COLOR, HINT_FONT_TYPE);
    if (m_QuestionBox) m_QuestionBox->draw();
}

void SlotScreen::drawTabs() const {
    for (int32_t page = 0; page < pageCount(); ++page) {
        const bool special = page == NUMBERED_PAGES;
        const Box tab = SlotScreenLayout::Tab(page, special);
        Fill(tab, page == m_Page ? TAB_SHOWN_FILL : TAB_FILL);
        Text(tab.x + TEXT_INSET, tab.y + TEXT_INSET,
             special ? ScreenTextOf(ScreenText::QUICK_PAGE) : std::to_wstring(page + 1),
             TEXT_COLOR);
    }
}

void SlotScreen::drawRow(int32_t index) const {
    const Row& row = m_Rows[index];
    const Box box = SlotScreenLayout::Row(index);
    Fill(box, index == m_Cursor ? CURSOR_FILL : ROW_FILL);
    const Box picture{box.x + SlotScreenLayout::ROW_THUMBNAIL.x,
                      box.y + SlotScreenLayout::ROW_THUMBNAIL.y, SlotScreenLayout::ROW_THUMBNAIL.w,
                      SlotScreenLayout::ROW_THUMBNAIL.h};
    Fill(picture, NO_PICTURE_FILL);
    const int32_t texture = THUMBNAIL_TEXTURE_BASE + index;
    if (row.thumbnail) {
        TextureManager* textures = TextureManager::Get();
        Draw2D drawer;
        drawer.SetTexture(textures->GetTexture(texture), true);
        drawer.DrawTexture(picture.x, picture.y, picture.w, picture.h, 0, 0,
                           textures->GetWidth(texture), textures->GetHeight(texture), false, false);
        drawer.EndTexture();
    }
    const int32_t x = box.x + SlotScreenLayout::ROW_TEXT_X;
    int32_t y = box.y + SlotScreenLayout::ROW_TEXT_TOP;
    const std::wstring label = SlotLabel(row.slot);
    switch (row.read.status) {
    case SlotRead::EMPTY:
        Text(x, y, label + L"  " + ScreenTextOf(ScreenText::EMPTY), FAINT_COLOR);
        return;
    case SlotRead::DAMAGED:
        Text(x, y, label + L"  " + ScreenTextOf(ScreenText::DAMAGED), DAMAGED_COLOR);
        return;
    default:
        break;
    }
    const SaveRecord& record = row.read.record;
    Text(x, y, label + L"  " + DateOf(record.savedAtMs), TEXT_COLOR);
    y += SlotScreenLayout::ROW_LINE_PITCH;
    Text(x, y, ConvString::AnsiToWide(ConvString::Utf8ToAnsi(record.script)), FAINT_COLOR);
    y += SlotScreenLayout::ROW_LINE_PITCH;
    Text(x, y, ConvString::AnsiToWide(ConvString::Utf8ToAnsi(SaveFile::Excerpt(record.message))),
         TEXT_COLOR);
}

} // namespace Kura
