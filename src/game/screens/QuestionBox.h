// A question put before something that cannot be taken back, in a box over the
// screen that asked it, with "Yes" and "No": chosen by a click, or by the
// arrow keys and Z. X or a right click answers "No", and so does a slip: the
// box opens on "No".
#pragma once

#include "game/screens/ScreenDrawing.h"
#include "game/screens/ScreenTexts.h"

namespace Kura {

class Controller;

class QuestionBox {
public:
    enum Answer { NONE, YES, NO };

    static constexpr ScreenDrawing::Box FRAME = {160, 230, 640, 180};
    static constexpr int32_t TEXT_INSET = 30;
    static constexpr ScreenDrawing::Box YES_BOX = {300, 340, 140, 44};
    static constexpr ScreenDrawing::Box NO_BOX = {520, 340, 140, 44};

    explicit QuestionBox(ScreenText question) : m_Question(question) {}

    // One frame of input; the answer comes with the menus' sound of deciding
    // or cancelling.
    Answer step(const Controller& input);
    void draw() const;

private:
    Answer answer(bool yes) const;

    ScreenText m_Question;
    bool m_AnswerYes = false;
};

} // namespace Kura
