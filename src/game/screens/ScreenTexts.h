// Every text the screens over the story show (save and load, the system menu,
// the backlog, the preferences) and the signs of the reading modes: the
// settings key a game sets it with and the English text shown when the game
// does not.
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
    X(MENU_SAVE, "system_menu_save", "Save")                                                       \
    X(MENU_LOAD, "system_menu_load", "Load")                                                       \
    X(MENU_BACKLOG, "system_menu_backlog", "Backlog")                                              \
    X(MENU_PREFERENCES, "system_menu_preferences", "Preferences")                                  \
    X(MENU_AUTO, "system_menu_auto", "Auto")                                                       \
    X(MENU_SKIP, "system_menu_skip", "Skip")                                                       \
    X(MENU_TITLE, "system_menu_title", "Title")                                                    \
    X(MENU_QUIT, "system_menu_quit", "Quit")                                                       \
    X(ON, "screen_on", "ON")                                                                       \
    X(OFF, "screen_off", "OFF")                                                                    \
    X(CONFIRM_TITLE, "system_menu_title_ask", "Return to the title?")                              \
    X(CONFIRM_QUIT, "system_menu_quit_ask", "Quit the game?")                                      \
    X(MENU_HINT, "system_menu_hint", "Z: choose   X: back")                                        \
    X(BACKLOG_TITLE, "backlog_title", "Backlog")                                                   \
    X(BACKLOG_CHOICE, "backlog_choice", "Choice")                                                  \
    X(CONFIRM_ROLL_BACK, "backlog_return_ask", "Go back to this point?")                           \
    X(BACKLOG_HINT, "backlog_hint", "Z: go back here   X: close   Up/Down, wheel: scroll")         \
    X(PREF_TITLE, "preferences_title", "Preferences")                                              \
    X(PREF_TEXT_SPEED, "preferences_text_speed", "Text speed")                                     \
    X(PREF_INSTANT, "preferences_instant", "Instant")                                              \
    X(PREF_CLICK_COMPLETES, "preferences_click_completes", "Click shows whole text")               \
    X(PREF_AUTO_DELAY, "preferences_auto_delay", "Auto delay")                                     \
    X(PREF_MUSIC_VOLUME, "preferences_music_volume", "Music volume")                               \
    X(PREF_SOUND_VOLUME, "preferences_sound_volume", "Sound volume")                               \
    X(PREF_TYPING_SOUND, "preferences_typing_sound", "Typing sound")                               \
    X(PREF_FULLSCREEN, "preferences_fullscreen", "Fullscreen")                                     \
    X(PREF_SKIP_UNREAD, "preferences_skip_unread", "Skip unread text")                             \
    X(PREF_HINT, "preferences_hint", "Up/Down: choose   Left/Right: change   X: back")             \
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
