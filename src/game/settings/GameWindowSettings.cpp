// The window settings adapter over Setting.
#include "game/settings/GameWindowSettings.h"

#include "game/settings/Setting.h"

namespace Kura {

namespace {

int32_t SettingInt(const char* key) {
    Setting* setting = Setting::get();
    return setting ? setting->getInt(key) : 0;
}

} // namespace

int32_t GameWindowSettings::GetImageWindowBaseIndex() const {
    return SettingInt("ImageWindowBaseIndex");
}

int32_t GameWindowSettings::GetCharacterWindowBaseIndex() const {
    return SettingInt("CharacterWindowBaseIndex");
}

int32_t GameWindowSettings::GetCharacterHaveIndexNum() const {
    return SettingInt("CharacterHaveIndexNum");
}

std::string GameWindowSettings::GetDataPath(const std::string& folder,
                                            const std::string& file) const {
    Setting* setting = Setting::get();
    return setting ? setting->getDataPath(folder, file, true) : std::string();
}

} // namespace Kura
