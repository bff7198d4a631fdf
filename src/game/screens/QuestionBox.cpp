#include "game/screens/QuestionBox.h"

#include "of/Audio.h"
#include "of/Controller.h"
#include "of/SimpleMenu.h"

namespace Kura {

using namespace ScreenDrawing;

QuestionBox::Answer QuestionBox::step(const Controller& input) {
    const int32_t x = input.GetMouseX();
    const int32_t y = input.GetMouseY();
    const bool onYes = YES_BOX.contains(x, y);
    const bool onNo = NO_BOX.contains(x, y);
    if (input.IsMouseMoved() && (onYes || onNo)) m_AnswerYes = onYes;
    if (input.IsLMousePressed() && (onYes || onNo)) return answer(onYes);
    if (input.IsRMousePressed() || input.IsPressed(Controller::KEY_X)) return answer(false);
    if (input.IsPressed(Controller::KEY_Z) || input.IsPressed(Controller::KEY_RETURN))
        return answer(m_AnswerYes);
    for (int key :
         {Controller::KEY_LEFT, Controller::KEY_RIGHT, Controller::KEY_UP, Controller::KEY_DOWN}) {
        if (!input.IsPressed(key)) continue;
        m_AnswerYes = !m_AnswerYes;
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
        break;
    }
    return NONE;
}

QuestionBox::Answer QuestionBox::answer(bool yes) const {
    Audio::PlaySe(yes ? SimpleMenu::SE_DECIDE : SimpleMenu::SE_CANCEL);
    return yes ? YES : NO;
}

void QuestionBox::draw() const {
    Fill(FRAME, PANEL_FILL);
    Text(FRAME.x + TEXT_INSET, FRAME.y + TEXT_INSET, ScreenTextOf(m_Question), TEXT_COLOR);
    for (bool yes : {true, false}) {
        const Box& box = yes ? YES_BOX : NO_BOX;
        Fill(box, yes == m_AnswerYes ? CURSOR_FILL : ROW_FILL);
        Text(box.x + TEXT_INSET, box.y + TEXT_INSET,
             ScreenTextOf(yes ? ScreenText::YES : ScreenText::NO), TEXT_COLOR);
    }
}

} // namespace Kura
