// The game controller's life: the one instance, its player, menus and window
// settings, the window lookup every window command goes through, waits, and
// milliseconds turned into frames at the measured frame rate.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/settings/GameWindowSettings.h"
#include "game/settings/Setting.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"
#include "util/AssertReport.h"

#include "ofAppRunner.h"
#include "ofFrameReadback.h"

#include <algorithm>
#include <filesystem>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";
constexpr int64_t MS_PER_SECOND = 1000;
// The most an 8-bit colour component holds; fades run from 0 to this.
constexpr int32_t ALPHA_OPAQUE = 255;

GameMain* g_pInstance = nullptr;

int32_t SettingInt(const char* key) {
    Setting* setting = Setting::get();
    return setting ? setting->getInt(key) : 0;
}

// The folder the progress file and the save slots share.
std::string SaveFolder() {
    Setting* setting = Setting::get();
    if (setting == nullptr) return std::string();
    const std::string progress =
        setting->getSavePath(ScenarioPlayer::SAVE_FOLDER, ScenarioPlayer::SAVE_FILE);
    return std::filesystem::path(progress).parent_path().string();
}

// The alpha of a fade that has left frames of length to run: opaque at its start.
int32_t FadeProgressAlpha(int32_t left, int32_t length) {
    return static_cast<int32_t>(static_cast<int64_t>(length - left) * ALPHA_OPAQUE / length);
}

} // namespace

void GameMain::create() {
    if (g_pInstance == nullptr) g_pInstance = new GameMain();
}

void GameMain::destroy() {
    delete g_pInstance;
    g_pInstance = nullptr;
}

GameMain* GameMain::get() {
    KURA_CHECK(g_pInstance != nullptr, "g_pInstance", SOURCE_NAME, "Kura::GameMain::get", __LINE__);
    return g_pInstance;
}

GameMain* GameMain::slotTarget(const char* function, int32_t line) {
    KURA_CHECK(g_pInstance != nullptr, "g_pInstance", SOURCE_NAME, function, line);
    return g_pInstance;
}

Window* GameMain::slotWindow(const char* function, int32_t line, int32_t window) {
    GameMain* self = slotTarget(function, line);
    return self ? self->getWindow(window) : nullptr;
}

GameMain::GameMain()
    : m_pPlayer(std::make_unique<ScenarioPlayer>()),
      m_pWindowSettings(std::make_unique<GameWindowSettings>()),
      m_pSlots(std::make_unique<SlotStore>(SaveFolder())) {
    Window::SetSettings(m_pWindowSettings.get());
    connectSlots();
    m_pCommandMenu = std::make_unique<SimpleMenu>(nullptr, SettingInt("cmd_wind_x"),
                                                  SettingInt("cmd_wind_y"), MENU_FONT_TYPE, 0, 1);
    m_pInterruptMenu = std::make_unique<SimpleMenu>(nullptr, 0, 0, MENU_FONT_TYPE, 0, 1);
    loadPreferences();
}

GameMain::~GameMain() {
    // A capture still asked for would reach this object after it is gone.
    ofReadNextFrame(nullptr);
    writeReadMarks();
    m_pScreen.reset();
    clearAllWindows();
    m_pInterruptMenu->DeleteChildren();
    m_pInterruptMenu.reset();
    m_pCommandMenu->DeleteChildren();
    m_pCommandMenu.reset();
    m_Characters.clear();
    // The player's signals reach only static slots, which find no instance now.
    m_pPlayer.reset();
    Window::SetSettings(nullptr);
}

Window* GameMain::getWindow(int32_t index) {
    const bool inList = index >= 0 && static_cast<size_t>(index) < mWindowManager.size();
    if (!KURA_CHECK(inList, "index>=0 && index<mWindowManager.size()", SOURCE_NAME,
                    "Kura::GameMain::getWindow", __LINE__))
        return nullptr;
    return mWindowManager[index];
}

void GameMain::setWait(int32_t frames, bool resume) {
    m_Wait = frames;
    m_ResumeAfterWait = resume;
}

int32_t GameMain::framesFromMs(int32_t ms) {
    return framesAtRate(ms, static_cast<int64_t>(ofGetFrameRate()));
}

// ms / (1000 / fps) computed as ms * fps / 1000, so that whole results such as
// 100 ms at 60 fps give exactly 6 frames.
int32_t GameMain::framesAtRate(int32_t ms, int64_t fps) {
    if (fps <= 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(ms) * fps / MS_PER_SECOND);
}

// A wait shorter than one frame still lasts one: a wait of 0 frames never runs
// out, so its resume would never come.
int32_t GameMain::waitFramesAtRate(int32_t ms, int64_t fps) {
    if (ms <= 0 || fps <= 0) return 0;
    return std::max(1, framesAtRate(ms, fps));
}

const CharacterRecord* GameMain::getCharacter(int32_t index) const {
    auto found = m_Characters.find(index);
    return found == m_Characters.end() ? nullptr : &found->second;
}

// Starts opaque and clears as the fade runs out.
int32_t GameMain::fadeInAlpha() const {
    if (m_FadeInLeft <= 0) return -1;
    return ALPHA_OPAQUE - FadeProgressAlpha(m_FadeInLeft, m_FadeInLength);
}

// Grows from clear; once the fade has run out nothing is drawn.
int32_t GameMain::fadeOutAlpha() const {
    if (m_FadeOutLeft <= 0) return -1;
    return FadeProgressAlpha(m_FadeOutLeft, m_FadeOutLength);
}

} // namespace Kura
