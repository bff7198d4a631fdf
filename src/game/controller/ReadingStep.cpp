// Reading comfort in the frame step: the player's preferences as the
// controller applies them, the read marks, skipping (Ctrl held, or skip mode
// on Tab), auto mode (A), hiding the message (H or the middle button), a
// press that completes the typing, and typing at the player's text speed.
// Skipping only hurries what the player would otherwise wait for, so the
// story reaches the state normal play would.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/reading/ReadingKeys.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/InputState.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include "ofAppRunner.h"
#include "ofConstants.h"

#include <algorithm>

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\game\\GameMain";
// Read marks reach the disk at most this often while playing, and when the
// game ends: a crash loses a few seconds of marks, never the file.
constexpr int32_t MARKS_WRITE_INTERVAL_FRAMES = 5 * GameMain::FRAME_RATE;
// A wait or fade met while skipping is cut to this, so it still runs out
// through the frame step as it would have.
constexpr int32_t SKIPPED_WAIT_FRAMES = 1;
// The input state's key map is keyed by key codes, which are never negative;
// the mouse buttons take the codes below 0 in the reading keys' memory.
constexpr int32_t BUTTON_CODE_BASE = -1;

std::string SavePathOf(const char* file) {
    Setting* setting = Setting::get();
    if (setting == nullptr) return std::string();
    return setting->getSavePath(ScenarioPlayer::SAVE_FOLDER, file);
}

bool KeyDown(int32_t key) {
    return g_pInput != nullptr && g_pInput->IsKeyDown(key);
}

// Any key or button the controller knows, pressed this frame.
bool AnyPress(const Controller& input) {
    if (input.IsLMousePressed() || input.IsRMousePressed()) return true;
    for (int key = 0; key < Controller::KEY_NUM; ++key)
        if (input.IsPressed(key)) return true;
    return false;
}

} // namespace

void GameMain::loadPreferences() {
    m_Preferences =
        Preferences::Load(SavePathOf(Preferences::FILE_NAME), Preferences::FromSettings());
    m_ReadMarks = ReadMarks::Load(SavePathOf(ReadMarks::FILE_NAME));
    usePreferences();
}

// The volumes take effect here; the text speed and the rest are read where
// they matter, each frame. The screen mode the application sets at start.
void GameMain::usePreferences() {
    Audio::SetMasterVolumes(m_Preferences.musicVolume, m_Preferences.soundVolume);
}

void GameMain::applyPreferences() {
    usePreferences();
    const bool fullscreen = ofGetWindowMode() != OF_WINDOW;
    if ((m_Preferences.fullscreen != 0) != fullscreen) ofToggleFullscreen();
    const bool saved = m_Preferences.save(SavePathOf(Preferences::FILE_NAME));
    KURA_CHECK(saved, "saved", SOURCE_NAME, "Kura::GameMain::applyPreferences", __LINE__);
}

void GameMain::writeReadMarks() {
    if (!m_Reading.marksUnwritten) return;
    m_Reading.marksUnwritten = false;
    m_Reading.framesSinceMarksWritten = 0;
    const bool saved = m_ReadMarks.save(SavePathOf(ReadMarks::FILE_NAME));
    KURA_CHECK(saved, "saved", SOURCE_NAME, "Kura::GameMain::writeReadMarks", __LINE__);
}

void GameMain::setSkipMode(bool on) {
    m_Reading.skipMode = on;
}

void GameMain::setAutoMode(bool on) {
    m_Reading.autoMode = on;
}

bool GameMain::isSkipMode() const {
    return m_Reading.skipMode;
}

bool GameMain::isAutoMode() const {
    return m_Reading.autoMode;
}

bool GameMain::isSkipping() const {
    return !m_TitleMode && (m_Reading.skipMode || m_Reading.skipHeld);
}

bool GameMain::readingPressed(int32_t code, bool down) {
    bool& before = m_Reading.down[code];
    const bool pressed = down && !before;
    before = down;
    return pressed;
}

// Before the wait and the fades count down, so that skipping cuts them in the
// frame it begins.
void GameMain::readingKeysStep() {
    if (++m_Reading.framesSinceMarksWritten >= MARKS_WRITE_INTERVAL_FRAMES) writeReadMarks();
    const Controller* input = Controller::Get();
    const bool hidePressed =
        keyPressedNow(ReadingKeys::HIDE_LOWER) | keyPressedNow(ReadingKeys::HIDE_UPPER) |
        readingPressed(BUTTON_CODE_BASE - ReadingKeys::MIDDLE_BUTTON,
                       g_pInput != nullptr && g_pInput->IsButtonDown(ReadingKeys::MIDDLE_BUTTON));
    const bool tabPressed = keyPressedNow(ReadingKeys::TAB);
    const bool autoPressed =
        keyPressedNow(ReadingKeys::AUTO_LOWER) | keyPressedNow(ReadingKeys::AUTO_UPPER);
    m_Reading.skipHeld = KeyDown(ReadingKeys::CTRL_LEFT) || KeyDown(ReadingKeys::CTRL_RIGHT);
    if (m_TitleMode || m_pPlayer->isReplaying()) return;
    const int32_t state = m_pPlayer->getState();
    if (m_Reading.hidden) {
        // The press that shows the message again does nothing else.
        if (hidePressed || tabPressed || autoPressed || (input != nullptr && AnyPress(*input))) {
            m_Reading.hidden = false;
            m_Reading.inputHeld = true;
        }
        return;
    }
    if (hidePressed && state == ScenarioPlayer::STATE_MESSAGE) m_Reading.hidden = true;
    if (tabPressed) m_Reading.skipMode = !m_Reading.skipMode;
    if (autoPressed) m_Reading.autoMode = !m_Reading.autoMode;
    // Skip mode never passes a choice: the player makes it.
    if (state == ScenarioPlayer::STATE_SELECT_COMMAND ||
        state == ScenarioPlayer::STATE_SELECT_INTERRUPT)
        m_Reading.skipMode = false;
    if (isSkipping()) {
        m_Wait = std::min(m_Wait, SKIPPED_WAIT_FRAMES);
        m_FadeInLeft = std::min(m_FadeInLeft, SKIPPED_WAIT_FRAMES);
        m_FadeOutLeft = std::min(m_FadeOutLeft, SKIPPED_WAIT_FRAMES);
    }
}

// Every message shown is marked read; whether it had been read before decides
// whether skipping may pass it.
void GameMain::noteMessageShown() {
    const int64_t shown = m_pPlayer->getMessagesShown();
    if (shown == m_Reading.messageSeen) return;
    m_Reading.messageSeen = shown;
    m_Reading.autoFrames = 0;
    const MessageKey& key = m_pPlayer->getMessageKey();
    m_Reading.messageWasRead = m_ReadMarks.contains(key);
    if (m_ReadMarks.mark(key)) m_Reading.marksUnwritten = true;
}

bool GameMain::isAdvanceInput(bool pressedOnly) const {
    const Controller* input = Controller::Get();
    if (input == nullptr) return false;
    const bool keys = input->IsPressed(Controller::KEY_Z) ||
                      input->IsPressed(Controller::KEY_RETURN) ||
                      input->IsPressed(Controller::KEY_SPACE);
    return keys || (pressedOnly ? input->IsLMousePressed() : input->IsLMouseDown());
}

void GameMain::advanceMessage(bool withSound) {
    m_pPlayer->resume();
    if (withSound) Audio::PlaySe(SE_ADVANCE);
}

// Typing at the player's text speed: some bytes every some frames, or the
// whole message at once. Once it is complete the step hands on the message's
// own auto-advance wait, at once for a message shown whole, so that its
// marker comes with it.
void GameMain::typeAtRate() {
    const TypingRate rate = m_Preferences.typingRate();
    if (rate.frames == 0) m_pPlayer->completeMessage();
    if (m_pPlayer->isMessageComplete()) {
        m_pPlayer->typingStep();
        return;
    }
    if (m_MessageFrames % rate.frames != 0) return;
    for (int32_t step = 0; step < rate.bytes; ++step)
        m_pPlayer->typingStep();
}

bool GameMain::readingMessageStep() {
    noteMessageShown();
    const bool ready = m_pPlayer->isMessageCompleteAndReported() && m_Wait == 0;
    if (isSkipping()) {
        if (m_Reading.messageWasRead || m_Preferences.skipUnread != 0) {
            m_pPlayer->completeMessage();
            m_pPlayer->typingStep();
            if (m_pPlayer->isMessageCompleteAndReported() && m_Wait == 0) advanceMessage(false);
            return true;
        }
        m_Reading.skipMode = false;
    }
    if (m_Reading.inputHeld) {
        m_Reading.inputHeld = isAdvanceInput(false);
        typeAtRate();
        return true;
    }
    const bool completes = m_Preferences.clickCompletesTyping != 0;
    if (!m_pPlayer->isMessageComplete() && completes && isAdvanceInput(true)) {
        m_pPlayer->completeMessage();
        m_Reading.inputHeld = true;
        return true;
    }
    if (isAdvanceInput(false)) return false;
    typeAtRate();
    if (m_Reading.autoMode && ready) {
        const size_t characters = ConvString::AnsiToWide(m_pPlayer->getMessageText()).size();
        if (++m_Reading.autoFrames >= framesFromMs(m_Preferences.autoDelayFor(characters)))
            advanceMessage(true);
    }
    return true;
}

} // namespace Kura
