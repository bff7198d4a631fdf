// The preferences screen: one row for each of the player's preferences with
// its value between "<" and ">". Up and Down (or the pointer) choose a row,
// Left and Right or a click on an arrow change its value, and Z or a click on
// the value turns an on/off one over. Every change is answered at once, so
// the controller applies it while the screen is still open; X or a right
// click closes the screen.
#pragma once

#include "game/reading/Preferences.h"
#include "game/screens/ScreenDrawing.h"
#include "game/screens/ScreenTexts.h"

#include <cstdint>

namespace Kura {

class Controller;

// X(MEMBER, LABEL, SHOWN, STEP): each row in its order, the preference it
// changes, its text, how its value shows and how far one arrow moves it.
#define KURA_PREFERENCE_ROWS(X)                                                                    \
    X(textSpeed, PREF_TEXT_SPEED, SPEED, 1)                                                        \
    X(clickCompletesTyping, PREF_CLICK_COMPLETES, ON_OFF, 1)                                       \
    X(autoDelayMs, PREF_AUTO_DELAY, SECONDS, 250)                                                  \
    X(musicVolume, PREF_MUSIC_VOLUME, PERCENT, 10)                                                 \
    X(soundVolume, PREF_SOUND_VOLUME, PERCENT, 10)                                                 \
    X(typingSound, PREF_TYPING_SOUND, ON_OFF, 1)                                                   \
    X(fullscreen, PREF_FULLSCREEN, ON_OFF, 1)                                                      \
    X(skipUnread, PREF_SKIP_UNREAD, ON_OFF, 1)

class PreferencesScreen {
public:
    enum Shown { SPEED, ON_OFF, SECONDS, PERCENT };
    enum Action { NONE, CLOSE, CHANGED };

#define KURA_PREFERENCE_ROW_ONE(MEMBER, LABEL, SHOWN, STEP) +1
    static constexpr int32_t ROW_COUNT = 0 KURA_PREFERENCE_ROWS(KURA_PREFERENCE_ROW_ONE);
#undef KURA_PREFERENCE_ROW_ONE
    static constexpr ScreenDrawing::Box FIRST_ROW = {140, 76, 680, 52};
    static constexpr int32_t ROW_PITCH = 60;
    // The arrows and the value between them, from the row's left.
    static constexpr ScreenDrawing::Box LESS = {380, 4, 44, 44};
    static constexpr ScreenDrawing::Box VALUE = {430, 4, 184, 44};
    static constexpr ScreenDrawing::Box MORE = {620, 4, 44, 44};
    // Held Up, Down, Left or Right repeats after this many hold intervals.
    static constexpr int32_t REPEAT_INTERVALS = 2;

    explicit PreferencesScreen(const Preferences& preferences) : m_Preferences(preferences) {}

    const Preferences& preferences() const {
        return m_Preferences;
    }
    Action step(const Controller& input); // one frame of the player's input
    void draw() const;

    static ScreenDrawing::Box RowBox(int32_t row);
    // A part of a row, in canvas units.
    static ScreenDrawing::Box PartOf(int32_t row, const ScreenDrawing::Box& part);

private:
    Action change(int32_t row, int32_t direction); // -1 less, +1 more, 0 turned over
    int32_t rowAt(int32_t x, int32_t y) const;
    Action clicked(int32_t row, int32_t x, int32_t y);

    Preferences m_Preferences;
    int32_t m_Cursor = 0;
};

} // namespace Kura
