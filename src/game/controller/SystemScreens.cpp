// The system menu, the backlog and the preferences in the frame loop. F1, or
// a right click while a message is shown, opens the menu; L opens the backlog. A right
// click in a menu of choices keeps its own meaning there, so it opens
// nothing. While either is open the story is paused as under the save
// screens. What the player chose is carried out here, by the same saving,
// loading and rolling back the keys use.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/InputState.h"
#include "of/Window.h"
#include "util/ConvString.h"

#include <cstdlib>

namespace Kura {

bool GameMain::systemStep() {
    Controller* input = Controller::Get();
    const bool menuKey = keyPressedNow(KEY_SYSTEM_MENU);
    const bool backlogKey = keyPressedNow(KEY_BACKLOG);
    if (input == nullptr) return false;
    const bool open = m_pSystemMenu || m_pBacklog || m_pPreferencesScreen;
    if (!open && !openSystemScreen(*input, menuKey, backlogKey)) return false;
    // Wheel steps over a screen would roll the story back once it closes.
    const int32_t wheelSteps = g_pInput != nullptr ? g_pInput->TakeWheelSteps() : 0;
    if (open && m_pBacklog)
        backlogStep(*input, wheelSteps);
    else if (open && m_pPreferencesScreen)
        preferencesStep(*input);
    else if (open)
        systemMenuStep(*input);
    input->Update();
    return true;
}

// Only over a story that has the input: not on the title, in a replay, while
// a save waits for its picture, or while the message is hidden (the press
// that shows it again does nothing else).
bool GameMain::openSystemScreen(const Controller& input, bool menuKey, bool backlogKey) {
    if (m_TitleMode || m_pPlayer->isReplaying() || m_AfterCapture != AfterCapture::NOTHING ||
        m_Reading.hidden)
        return false;
    const bool message = m_pPlayer->getState() == ScenarioPlayer::STATE_MESSAGE;
    if (menuKey || (message && input.IsRMousePressed()))
        m_pSystemMenu = std::make_unique<SystemMenu>(isAutoMode(), isSkipMode());
    else if (backlogKey)
        openBacklog();
    return m_pSystemMenu || m_pBacklog;
}

void GameMain::systemMenuStep(const Controller& input) {
    const SystemMenu::Choice choice = m_pSystemMenu->step(input);
    if (choice.kind == SystemMenu::Choice::CLOSE) closeSystemScreens();
    if (choice.kind == SystemMenu::Choice::ITEM) carryOut(choice.item);
}

void GameMain::carryOut(SystemMenu::Item item) {
    switch (item) {
    case SystemMenu::SAVE:
        // The save's picture is the story without the menu over it.
        closeSystemScreens();
        captureThen(AfterCapture::SAVE_SCREEN);
        break;
    case SystemMenu::LOAD:
        closeSystemScreens();
        openScreen(SlotScreen::LOAD);
        break;
    case SystemMenu::BACKLOG:
        openBacklog();
        break;
    case SystemMenu::PREFERENCES:
        m_pPreferencesScreen = std::make_unique<PreferencesScreen>(m_Preferences);
        break;
    case SystemMenu::AUTO:
        closeSystemScreens();
        setAutoMode(!isAutoMode());
        break;
    case SystemMenu::SKIP:
        closeSystemScreens();
        setSkipMode(!isSkipMode());
        break;
    case SystemMenu::TITLE:
        closeSystemScreens();
        returnToTitle();
        break;
    case SystemMenu::QUIT:
        // As Escape ends the program: the application's exit auto-saves.
        std::exit(EXIT_SUCCESS);
    default:
        break;
    }
}

void GameMain::openBacklog() {
    m_pBacklog = std::make_unique<BacklogScreen>(m_History.entries());
}

// Closing the backlog opened from the system menu goes back to the menu.
void GameMain::backlogStep(const Controller& input, int32_t wheelSteps) {
    const BacklogScreen::Action action = m_pBacklog->step(input, wheelSteps);
    if (action.kind == BacklogScreen::Action::CLOSE) {
        m_pBacklog.reset();
        if (!m_pSystemMenu) closeSystemScreens();
    }
    // Skipping or reading on by itself would leave the place gone back to.
    if (action.kind == BacklogScreen::Action::ROLL_BACK) {
        closeSystemScreens();
        setSkipMode(false);
        setAutoMode(false);
        rollBackTo(action.stop);
    }
}

// Each change is applied and kept at once; closing goes back to the menu.
void GameMain::preferencesStep(const Controller& input) {
    const PreferencesScreen::Action action = m_pPreferencesScreen->step(input);
    if (action == PreferencesScreen::CHANGED) {
        m_Preferences = m_pPreferencesScreen->preferences();
        applyPreferences();
    }
    if (action == PreferencesScreen::CLOSE) m_pPreferencesScreen.reset();
}

// The button or key that closed a screen must not also reach the story.
void GameMain::closeSystemScreens() {
    m_pPreferencesScreen.reset();
    m_pBacklog.reset();
    m_pSystemMenu.reset();
    m_ScreenInputHeld = true;
}

// The play is auto-saved first, as when the program ends, so the load
// screen can take the player back to it. The next play starts reading as usual.
void GameMain::returnToTitle() {
    autoSave();
    setAutoMode(false);
    setSkipMode(false);
    resetStage();
    m_ForwardTrail = PlayTrail();
    m_SavedTrail = PlayTrail();
    m_LastState = ScenarioPlayer::STATE_RUNNING;
    m_TitleMode = true;
    scenarioInit();
}

void GameMain::drawSystemScreens() const {
    if (m_pBacklog)
        m_pBacklog->draw();
    else if (m_pPreferencesScreen)
        m_pPreferencesScreen->draw();
    else if (m_pSystemMenu)
        m_pSystemMenu->draw();
}

void GameMain::recordMessage(int32_t stop, const std::string& text) {
    if (!m_TitleMode) m_History.add({stop, false, speakerName(), text});
}

void GameMain::recordDecision(int32_t stop, const std::string& path) {
    if (!m_TitleMode) m_History.add({stop, true, std::string(), path});
}

std::string GameMain::speakerName() const {
    const CharacterWindow* speaker = currentCharacterWindow();
    const CharacterRecord* record = speaker ? getCharacter(speaker->GetCharaIndex()) : nullptr;
    return record != nullptr ? ConvString::Utf8ToAnsi(record->name) : std::string();
}

} // namespace Kura
