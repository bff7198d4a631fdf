// The system menu over the paused story: Save, Load, Backlog, Preferences,
// Auto, Skip, Title and Quit, one under the other. The cursor follows the
// pointer and Up and Down; a click, Z or Return chooses; X or a right click
// closes the menu. Title and Quit ask first, in a box of their own, and a
// right click there goes back to the menu. The menu only answers what the
// player chose; the controller carries it out.
#pragma once

#include "game/screens/QuestionBox.h"
#include "game/screens/ScreenDrawing.h"
#include "game/screens/ScreenTexts.h"

#include <cstdint>
#include <optional>

namespace Kura {

class Controller;

// X(ITEM, LABEL, QUESTION): each item of the menu in its order, the text it
// shows and what it asks before it is carried out, if anything.
#define KURA_SYSTEM_MENU_ITEMS(X)                                                                  \
    X(SAVE, MENU_SAVE, std::nullopt)                                                               \
    X(LOAD, MENU_LOAD, std::nullopt)                                                               \
    X(BACKLOG, MENU_BACKLOG, std::nullopt)                                                         \
    X(PREFERENCES, MENU_PREFERENCES, std::nullopt)                                                 \
    X(AUTO, MENU_AUTO, std::nullopt)                                                               \
    X(SKIP, MENU_SKIP, std::nullopt)                                                               \
    X(TITLE, MENU_TITLE, ScreenText::CONFIRM_TITLE)                                                \
    X(QUIT, MENU_QUIT, ScreenText::CONFIRM_QUIT)

class SystemMenu {
public:
    enum Item {
#define KURA_SYSTEM_MENU_ITEM_ID(ITEM, LABEL, QUESTION) ITEM,
        KURA_SYSTEM_MENU_ITEMS(KURA_SYSTEM_MENU_ITEM_ID)
#undef KURA_SYSTEM_MENU_ITEM_ID
            ITEM_COUNT
    };
    struct Choice {
        enum Kind { NONE, CLOSE, ITEM };
        Kind kind = NONE;
        Item item = SAVE;
    };

    static constexpr ScreenDrawing::Box FIRST_ITEM = {350, 96, 260, 44};
    static constexpr int32_t ITEM_PITCH = 52;
    static constexpr int32_t PANEL_MARGIN = 20;
    // Held Up or Down moves the cursor again after this many hold intervals.
    static constexpr int32_t CURSOR_REPEAT_INTERVALS = 2;

    // Auto and Skip show whether their mode is on.
    SystemMenu(bool autoOn, bool skipOn) : m_AutoOn(autoOn), m_SkipOn(skipOn) {}

    Choice step(const Controller& input); // one frame of the player's input
    void draw() const;

    static ScreenDrawing::Box ItemBox(int32_t item);

private:
    Choice decide(Item item);
    int32_t itemAt(int32_t x, int32_t y) const;

    bool m_AutoOn;
    bool m_SkipOn;
    int32_t m_Cursor = 0;
    std::optional<QuestionBox> m_Question; // while Title or Quit asks
    Item m_Asking = SAVE;                  // the item that asks
};

} // namespace Kura
