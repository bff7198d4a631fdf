// Where the save and load screens put things in the 960 x 640 canvas: page
// tabs along the top, one row per slot, a hint at the foot, and the question
// Drawing and pointer hits share it.
#pragma once

#include "game/screens/ScreenDrawing.h"

#include <cstdint>

namespace Kura::SlotScreenLayout {

using ScreenDrawing::Box;

inline constexpr Box TITLE = {40, 18, 300, 36};
inline constexpr int32_t TAB_X = 330;
inline constexpr int32_t TAB_PITCH = 95;
inline constexpr Box FIRST_TAB = {TAB_X, 16, 88, 36};
inline constexpr int32_t LAST_TAB_EXTRA_WIDTH = 60; // its label is a word, not a number
inline constexpr Box FIRST_ROW = {40, 66, 880, 84};
inline constexpr int32_t ROW_PITCH = 90;
// The thumbnail in a row keeps its own shape at three quarters of its size.
inline constexpr Box ROW_THUMBNAIL = {6, 2, 120, 80};
inline constexpr int32_t ROW_TEXT_X = 150;
inline constexpr int32_t ROW_LINE_PITCH = 26;
inline constexpr int32_t ROW_TEXT_TOP = 6;

inline Box Tab(int32_t page, bool last) {
    Box tab = FIRST_TAB;
    tab.x += page * TAB_PITCH;
    if (last) tab.w += LAST_TAB_EXTRA_WIDTH;
    return tab;
}

inline Box Row(int32_t row) {
    Box box = FIRST_ROW;
    box.y += row * ROW_PITCH;
    return box;
}

} // namespace Kura::SlotScreenLayout
