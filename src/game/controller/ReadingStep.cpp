// The player's preferences as the controller applies them, and the skip and
// auto modes the player turns on and off.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "util/AssertReport.h"

#include "ofAppRunner.h"
#include "ofConstants.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";

std::string PreferencesPath() {
    Setting* setting = Setting::get();
    if (setting == nullptr) return std::string();
    return setting->getSavePath(ScenarioPlayer::SAVE_FOLDER, Preferences::FILE_NAME);
}

} // namespace

void GameMain::loadPreferences() {
    m_Preferences = Preferences::Load(PreferencesPath(), Preferences::FromSettings());
    usePreferences();
}

// Volumes and the screen mode take effect here; the text speed and the rest
// are read where they matter, each frame.
void GameMain::usePreferences() {
    Audio::SetMasterVolumes(m_Preferences.musicVolume, m_Preferences.soundVolume);
    const bool fullscreen = ofGetWindowMode() != OF_WINDOW;
    if ((m_Preferences.fullscreen != 0) != fullscreen) ofToggleFullscreen();
}

void GameMain::applyPreferences() {
    usePreferences();
    const bool saved = m_Preferences.save(PreferencesPath());
    KURA_CHECK(saved, "saved", SOURCE_NAME, "Kura::GameMain::applyPreferences", __LINE__);
}

void GameMain::setSkipMode(bool on) {
    m_SkipMode = on;
}

void GameMain::setAutoMode(bool on) {
    m_AutoMode = on;
}

bool GameMain::isSkipMode() const {
    return m_SkipMode;
}

bool GameMain::isAutoMode() const {
    return m_AutoMode;
}

} // namespace Kura
