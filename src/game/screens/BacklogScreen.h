// The backlog: the history of the play, newest at the bottom, six entries to
// a page, each with its speaker's name (or "Choice" for a decision) and its
// text. The wheel and Up and Down scroll, the cursor follows the pointer; a
// click, Z or Return on an entry asks whether to go back there, and X or a
// right click closes the backlog. The screen only answers what the player
// chose; the controller rolls the story back.
#pragma once

#include "game/screens/MessageHistory.h"
#include "game/screens/QuestionBox.h"
#include "game/screens/ScreenDrawing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Kura {

class Controller;

class BacklogScreen {
public:
    struct Action {
        enum Kind { NONE, CLOSE, ROLL_BACK };
        Kind kind = NONE;
        int32_t stop = 0; // for ROLL_BACK: the stops passed before the entry
    };

    static constexpr int32_t VISIBLE_ROWS = 6;
    static constexpr ScreenDrawing::Box FIRST_ROW = {40, 66, 880, 84};
    static constexpr int32_t ROW_PITCH = 90;
    static constexpr int32_t TEXT_X = 170; // from the row's left, after the name
    static constexpr int32_t TEXT_TOP = 6;
    static constexpr int32_t LINE_PITCH = 26;
    static constexpr int32_t MAX_LINES = 3; // a longer text ends in an ellipsis
    // Held Up or Down moves the cursor again after this many hold intervals.
    static constexpr int32_t CURSOR_REPEAT_INTERVALS = 2;

    // The entries oldest first; the view opens on the newest.
    explicit BacklogScreen(const std::deque<MessageHistory::Entry>& entries);

    // One frame of input; wheelSteps above 0 are turned away from the player.
    Action step(const Controller& input, int32_t wheelSteps);
    void draw() const;

    static ScreenDrawing::Box RowBox(int32_t row); // row of the page, from the top

private:
    struct Shown {
        MessageHistory::Entry entry;
        std::wstring name;
        std::vector<std::wstring> lines;
    };

    int32_t count() const { return static_cast<int32_t>(m_Shown.size()); }
    void scroll(int32_t first);
    void moveCursor(int32_t cursor);
    Action ask(int32_t entry);
    int32_t entryAt(int32_t x, int32_t y) const;
    void drawRow(int32_t row) const;

    std::vector<Shown> m_Shown;
    int32_t m_First = 0;  // the entry at the top of the page
    int32_t m_Cursor = 0; // -1 with no entries
    std::optional<QuestionBox> m_Question;
};

} // namespace Kura
