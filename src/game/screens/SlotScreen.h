// The save and load screens: a page of slots, each with its thumbnail, the
// date and time it was saved, its scene and the start of its message (or
// "empty", "damaged"); pages chosen by tabs or Left and Right; a slot chosen
// by Up, Down and Z or by a click; X or a right click goes back. A used slot
// asks before it is overwritten, a load asks before it replaces unsaved play,
// and a damaged slot offers its backup. The screen only answers what the
// player chose; the controller saves and loads.
#pragma once

#include "game/saves/SlotStore.h"
#include "game/screens/QuestionBox.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Kura {

class Controller;

class SlotScreen {
public:
    enum Mode { SAVE, LOAD };
    struct Action {
        enum Kind { NONE, CLOSE, SAVE, LOAD }; // a damaged slot loads its backup
        Kind kind = NONE;
        SlotId slot;
    };

    // The numbered pages, then (for loading) the quick and auto slots.
    static constexpr int32_t NUMBERED_PAGES = SlotStore::NUMBERED_SLOTS / SlotStore::SLOTS_PER_PAGE;
    // Thumbnails of the shown page go into these texture slots, above the
    // ones a game's settings hand out.
    static constexpr int32_t THUMBNAIL_TEXTURE_BASE = 1000;
    // Held Up or Down moves the cursor again after this many hold intervals.
    static constexpr int32_t CURSOR_REPEAT_INTERVALS = 2;

    SlotScreen(Mode mode, const SlotStore& slots, bool unsavedPlay);
    ~SlotScreen();
    SlotScreen(const SlotScreen&) = delete;
    SlotScreen& operator=(const SlotScreen&) = delete;

    Mode mode() const { return m_Mode; }
    Action step(const Controller& input); // one frame of the player's input
    void showSlots();                     // reads the page's slots again, after a save
    void draw() const;

private:
    enum Question { NO_QUESTION, OVERWRITE, LOAD_OVER, LOAD_BACKUP };
    struct Row {
        SlotId slot;
        SlotRead read;
        bool thumbnail = false;
    };

    int32_t pageCount() const;
    void turnPage(int32_t page);
    Action decide(int32_t row);
    Action answer(QuestionBox::Answer answer);
    static Action decided(Action action); // with the menus' sound of deciding
    int32_t rowAt(int32_t x, int32_t y) const;
    int32_t tabAt(int32_t x, int32_t y) const;
    void drawTabs() const;
    void drawRow(int32_t index) const;

    Mode m_Mode;
    const SlotStore& m_Slots;
    bool m_UnsavedPlay;
    int32_t m_Page = 0;
    int32_t m_Cursor = 0;
    std::vector<Row> m_Rows;
    Question m_Question = NO_QUESTION;
    std::optional<QuestionBox> m_QuestionBox; // while a question is put
};

} // namespace Kura
