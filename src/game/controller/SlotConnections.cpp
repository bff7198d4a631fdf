// Connects the scenario player's signals to the controller's slots. Kept apart
// because Boost.Signals2 is slow to compile. Of the player's news only the
// waits for a choice and the next script need a slot; what it shows and
// decides goes into the history (the player, and its signals with it, goes
// before the controller). The player's checkpoints keep the stage too.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioSignals.h"

namespace Kura {

void GameMain::connectSlots() {
    ScenarioSignals& s = m_pPlayer->signals();
#define KURA_CONNECT(NAME, SIGNATURE) s.on##NAME.connect(&GameMain::slot##NAME);
    KURA_SCENARIO_COMMANDS(KURA_SCENARIO_SKIP, KURA_CONNECT, KURA_CONNECT)
#undef KURA_CONNECT
    s.onGotoNextScript.connect(&GameMain::slotGotoNextScript);
    s.onWaitSelectCommand.connect(&GameMain::slotWaitSelect);
    s.onWaitSelectInterruptCommand.connect(&GameMain::slotWaitSelect);
    m_pPlayer->setStageKeeper(
        {[this] { return captureStage(); }, [this](const std::any& kept) { restoreStage(kept); }});
    s.onShowMessage.connect(
        [this](int32_t stop, const std::string& text) { recordMessage(stop, text); });
    s.onDecide.connect(
        [this](int32_t stop, const std::string& path) { recordDecision(stop, path); });
}

} // namespace Kura
