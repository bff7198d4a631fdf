// One frame of game logic: the wait, the typing sound, the fades, then the
// title or the story as the scenario player's state asks, then input, windows
// and menus. Input read here is what the controller computed the frame before.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/settings/Setting.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/SimpleMenu.h"
#include "of/Window.h"
#include "util/ConvString.h"

namespace Kura {

namespace {

// The menus of the story list their choices in one column, sub-menus too.
constexpr int32_t STORY_COLUMNS = 1;

} // namespace

void GameMain::update() {
    if (screenStep() || systemStep()) return;
    saveKeysStep();
    readingKeysStep();
    if (m_Wait > 0) {
        --m_Wait;
        if (m_Wait == 0 && m_ResumeAfterWait) {
            m_ResumeAfterWait = false;
            m_pPlayer->resume();
        }
    }
    typingSound();
    if (m_FadeInLeft > 0) --m_FadeInLeft;
    if (m_FadeOutLeft > 0) --m_FadeOutLeft;
    if (m_Wait == 0) {
        if (m_TitleMode)
            titleStep();
        else
            gameStep();
    }
    if (Controller* input = Controller::Get()) input->Update();
    for (Window* window : mWindowManager)
        window->Update();
    if (!m_pInterruptMenu->IsActive()) m_pCommandMenu->Proc();
    m_pInterruptMenu->Proc();
}

// The speaking character's typing sound on every third frame while the message
// types; silenced once it is complete. Without a current character window
// there is no speaker and so no sound.
void GameMain::typingSound() {
    if (m_pPlayer->getState() != ScenarioPlayer::STATE_MESSAGE || m_Wait != 0) return;
    if (isSkipping() || m_Preferences.typingSound == 0) return;
    const CharacterWindow* speaker = currentCharacterWindow();
    Setting* setting = Setting::get();
    if (speaker == nullptr || setting == nullptr) return;
    const CharacterRecord* record = getCharacter(speaker->GetCharaIndex());
    const int32_t se = setting->getInt("se_start_idx_msg") + (record ? record->msgSeIndex : 0);
    if (!m_pPlayer->isMessageComplete()) {
        if (m_MessageFrames != 0 && m_MessageFrames % TYPING_SOUND_INTERVAL == 0) Audio::PlaySe(se);
    } else if (Audio::IsPlayingSe(se)) {
        Audio::StopSe(se);
    }
}

void GameMain::gameStep() {
    const int32_t state = m_pPlayer->getState();
    const bool choosing = state == ScenarioPlayer::STATE_SELECT_COMMAND ||
                          state == ScenarioPlayer::STATE_SELECT_INTERRUPT;
    const bool anotherChoice = m_SelectWaitPending && choosing;
    m_SelectWaitPending = false;
    if (state != m_LastState || anotherChoice) {
        onStateChanged(state);
        m_LastState = state;
    }
    switch (state) {
    case ScenarioPlayer::STATE_RUNNING:
        m_pPlayer->resume();
        break;
    case ScenarioPlayer::STATE_MESSAGE:
        messageStep();
        break;
    case ScenarioPlayer::STATE_SELECT_COMMAND:
        if (m_pCommandMenu->IsDecided())
            m_pPlayer->select(ConvString::WideToAnsi(m_pCommandMenu->GetResultPath()));
        break;
    case ScenarioPlayer::STATE_SELECT_INTERRUPT:
        if (m_pInterruptMenu->IsDecided())
            m_pPlayer->select(ConvString::WideToAnsi(m_pInterruptMenu->GetResultPath()));
        break;
    default:
        break;
    }
    // A frozen story does not count message frames; a timed wait does.
    if (!(m_Wait > 0 && !m_ResumeAfterWait)) ++m_MessageFrames;
}

void GameMain::onStateChanged(int32_t state) {
    switch (state) {
    case ScenarioPlayer::STATE_MESSAGE: {
        SimpleMenu& shown = m_pInterruptMenu->IsActive() ? *m_pInterruptMenu : *m_pCommandMenu;
        shown.Deactivate();
        shown.SetActive(false);
        m_MessageFrames = 0;
        break;
    }
    case ScenarioPlayer::STATE_SELECT_COMMAND:
        if (m_LastState == ScenarioPlayer::STATE_SELECT_INTERRUPT) {
            m_pInterruptMenu->Deactivate();
            m_pInterruptMenu->SetActive(false);
        }
        buildMenu(*m_pCommandMenu, m_pPlayer->getCommands(), STORY_COLUMNS, STORY_COLUMNS);
        break;
    case ScenarioPlayer::STATE_SELECT_INTERRUPT:
        buildMenu(*m_pInterruptMenu, m_pPlayer->getInterruptCommands(), STORY_COLUMNS,
                  STORY_COLUMNS);
        break;
    default:
        break;
    }
}

// Advancing is a click (or the button held down), Z, Return or Space. Past a
// complete message it plays the advance sound and resumes the story; a click
// also freezes the story for a moment. Otherwise it types one byte where idle
// typing types two. Without input the reading step types at the text speed.
void GameMain::messageStep() {
    if (readingMessageStep()) return;
    const Controller* input = Controller::Get();
    const bool clicked = input != nullptr && input->IsLMousePressed();
    if (m_pPlayer->isMessageCompleteAndReported() && m_Wait == 0) {
        setWait(clicked ? CLICK_FREEZE_FRAMES : 0, false);
        m_pPlayer->resume();
        Audio::PlaySe(SE_ADVANCE);
    } else {
        m_pPlayer->typingStep();
    }
}

} // namespace Kura
