#include "game/screens/SystemMenu.h"

#include "of/Audio.h"
#include "of/Controller.h"
#include "of/SimpleMenu.h"

namespace Kura {

namespace {

using namespace ScreenDrawing;

// The mark of a mode that is on stands this far from the item's right edge.
constexpr int32_t MARK_INSET = 60;

struct ItemText {
    ScreenText label;
    std::optional<ScreenText> question;
};

constexpr ItemText ITEMS[] = {
#define KURA_SYSTEM_MENU_ITEM_TEXT(ITEM, LABEL, QUESTION) {ScreenText::LABEL, QUESTION},
    KURA_SYSTEM_MENU_ITEMS(KURA_SYSTEM_MENU_ITEM_TEXT)
#undef KURA_SYSTEM_MENU_ITEM_TEXT
};

} // namespace

Box SystemMenu::ItemBox(int32_t item) {
    Box box = FIRST_ITEM;
    box.y += item * ITEM_PITCH;
    return box;
}

SystemMenu::Choice SystemMenu::step(const Controller& input) {
    if (m_Question) {
        const QuestionBox::Answer answer = m_Question->step(input);
        if (answer != QuestionBox::NONE) m_Question.reset();
        return answer == QuestionBox::YES ? Choice{Choice::ITEM, m_Asking} : Choice{};
    }
    const int32_t item = itemAt(input.GetMouseX(), input.GetMouseY());
    if (input.IsMouseMoved() && item != NONE) m_Cursor = item;
    if (input.IsLMousePressed()) return item == NONE ? Choice{} : decide(Item(item));
    if (input.IsRMousePressed() || input.IsPressed(Controller::KEY_X)) {
        Audio::PlaySe(SimpleMenu::SE_CANCEL);
        return {Choice::CLOSE};
    }
    if (input.IsPressed(Controller::KEY_Z) || input.IsPressed(Controller::KEY_RETURN))
        return decide(Item(m_Cursor));
    const bool up = input.IsRepeat(Controller::KEY_UP, CURSOR_REPEAT_INTERVALS);
    if (up || input.IsRepeat(Controller::KEY_DOWN, CURSOR_REPEAT_INTERVALS)) {
        m_Cursor = (m_Cursor + (up ? ITEM_COUNT - 1 : 1)) % ITEM_COUNT;
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    }
    return {};
}

SystemMenu::Choice SystemMenu::decide(Item item) {
    m_Cursor = item;
    Audio::PlaySe(SimpleMenu::SE_DECIDE);
    if (!ITEMS[item].question) return {Choice::ITEM, item};
    m_Asking = item;
    m_Question.emplace(*ITEMS[item].question);
    return {};
}

int32_t SystemMenu::itemAt(int32_t x, int32_t y) const {
    for (int32_t item = 0; item < ITEM_COUNT; ++item)
        if (ItemBox(item).contains(x, y)) return item;
    return NONE;
}

void SystemMenu::draw() const {
    DimStage();
    const Box first = ItemBox(0);
    Fill({first.x - PANEL_MARGIN, first.y - PANEL_MARGIN, first.w + 2 * PANEL_MARGIN,
          ITEM_COUNT * ITEM_PITCH + 2 * PANEL_MARGIN - (ITEM_PITCH - first.h)},
         PANEL_FILL);
    for (int32_t item = 0; item < ITEM_COUNT; ++item) {
        const Box box = ItemBox(item);
        Fill(box, item == m_Cursor ? CURSOR_FILL : ROW_FILL);
        Text(box.x + TEXT_INSET, box.y + TEXT_INSET, ScreenTextOf(ITEMS[item].label), TEXT_COLOR);
        const bool on = (item == AUTO && m_AutoOn) || (item == SKIP && m_SkipOn);
        if (on)
            Text(box.x + box.w - MARK_INSET, box.y + TEXT_INSET, ScreenTextOf(ScreenText::ON),
                 TEXT_COLOR);
    }
    Text(HINT_X, HINT_Y, ScreenTextOf(ScreenText::MENU_HINT), FAINT_COLOR, HINT_FONT_TYPE);
    if (m_Question) m_Question->draw();
}

} // namespace Kura
