// The save and load screens in the frame loop. While one is open the story is
// paused: no waits, typing or fades run and the story's menus read nothing, so
// Z and clicks reach the screen only. What the player chose there is carried
// out here, by the same saving and loading the keys use.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "of/Controller.h"
#include "of/InputState.h"

namespace Kura {

bool GameMain::screenStep() {
    Controller* input = Controller::Get();
    if (m_ScreenInputHeld) {
        m_ScreenInputHeld =
            input != nullptr && (input->IsLMouseDown() || input->IsDown(Controller::KEY_Z));
    }
    if (!m_pScreen && !m_ScreenInputHeld) return false;
    // Wheel steps made over a screen would roll the story back once it closes.
    if (g_pInput != nullptr) g_pInput->TakeWheelSteps();
    if (m_pScreen && input != nullptr) carryOut(m_pScreen->step(*input));
    if (input != nullptr) input->Update();
    return true;
}

// Nothing to save during a replay; a load screen opens on the title too.
void GameMain::openScreen(SlotScreen::Mode mode) {
    if (m_pPlayer->isReplaying() || (mode == SlotScreen::SAVE && m_TitleMode)) return;
    m_pScreen = std::make_unique<SlotScreen>(mode, *m_pSlots, isPlayUnsaved());
}

void GameMain::closeScreen() {
    m_pScreen.reset();
    m_Capture = Thumbnail();
    m_ScreenInputHeld = true;
}

void GameMain::carryOut(const SlotScreen::Action& action) {
    switch (action.kind) {
    case SlotScreen::Action::CLOSE:
        closeScreen();
        break;
    case SlotScreen::Action::SAVE:
        saveTo(action.slot);
        m_pScreen->showSlots();
        break;
    case SlotScreen::Action::LOAD:
        // A damaged slot's backup is what loads (the screen asked first).
        closeScreen();
        loadFrom(action.slot);
        break;
    default:
        break;
    }
}

} // namespace Kura
