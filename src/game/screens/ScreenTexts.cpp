// Texts are read when shown, so they follow the settings the scripts share.
#include "game/screens/ScreenTexts.h"

#include "game/settings/Setting.h"
#include "util/ConvString.h"

namespace Kura {

namespace {

struct TextEntry {
    const char* key;
    const char* english;
};

constexpr TextEntry TEXTS[] = {
#define KURA_SCREEN_TEXT_ENTRY(ID, KEY, ENGLISH) {KEY, ENGLISH},
    KURA_SCREEN_TEXTS(KURA_SCREEN_TEXT_ENTRY)
#undef KURA_SCREEN_TEXT_ENTRY
};

} // namespace

std::wstring ScreenTextOf(ScreenText id) {
    const TextEntry& entry = TEXTS[static_cast<int>(id)];
    Setting* setting = Setting::get();
    const std::string text =
        setting ? setting->getText(entry.key, entry.english) : std::string(entry.english);
    return ConvString::AnsiToWide(ConvString::Utf8ToAnsi(text));
}

} // namespace Kura
