// Every text the save and load screens and the reading modes show: the settings key a game sets it
// with and the English text shown when the game does not.
#pragma once

#include <string>

namespace Kura {

#define KURA_SCREEN_TEXTS(X)                                                                       \
    X(SAVE_TITLE, "save_screen_title", "Save")                                                     \
    X(LOAD_TITLE, "load_screen_title", "Load")                                                     \
    X(QUICK_PAGE, "save_screen_quick_page", "Quick/Auto")                                          \
    X(NUMBERED_SLOT, "save_screen_slot", "No.")                                                    \
    X(QUICK_SLOT, "save_screen_quick", "Quick")                                                    \
    X(AUTO_SLOT, "save_screen_auto", "Auto")                                                       \
    X(EMPTY, "save_screen_empty", "empty")                                                         \
    X(DAMAGED, "save_screen_damaged", "damaged")                                                   \
    X(CONFIRM_OVERWRITE, "save_screen_overwrite", "Overwrite this save?")                          \
    X(CONFIRM_LOAD, "save_screen_load_over", "Load this save? Play since the last save is lost.")  \
    X(CONFIRM_BACKUP, "save_screen_backup", "This save is damaged. Load its backup?")              \
    X(YES, "save_screen_yes", "Yes")                                                               \
    X(NO, "save_screen_no", "No")                                                                  \
    X(HINT, "save_screen_hint", "Z: choose   X: back   Left/Right: page")                          \
    X(AUTO_MODE, "auto_mode_sign", "AUTO")                                                         \
    X(SKIP_MODE, "skip_mode_sign", "SKIP")

enum class ScreenText {
#define KURA_SCREEN_TEXT_ID(ID, KEY, ENGLISH) ID,
    KURA_SCREEN_TEXTS(KURA_SCREEN_TEXT_ID)
#undef KURA_SCREEN_TEXT_ID
};

// The text as the font draws it: the game's setting, else the English default.
std::wstring ScreenTextOf(ScreenText text);

} // namespace Kura
