// Connects the scenario player's signals to the controller's slots. Kept apart
// because Boost.Signals2 is slow to compile. The signals of commands the player
// keeps to itself (the lists of choices, flags) need no slot.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioSignals.h"

namespace Kura {

void GameMain::connectSlots() {
    ScenarioSignals& s = m_pPlayer->signals();
    s.setMessageWindowCharacter.connect(&GameMain::slotSetMessageWindowCharacter);
    s.setCharaInfo.connect(&GameMain::slotSetCharaInfo);
    s.gotoNextScript.connect(&GameMain::slotGotoNextScript);
    s.waitSelectCommand.connect(&GameMain::slotWaitSelect);
    s.waitSelectInterruptCommand.connect(&GameMain::slotWaitSelect);

    s.effectSetBackgroundColor.connect(&GameMain::slotEffectSetBackgroundColor);
    s.effectWait.connect(&GameMain::slotEffectWait);
    s.effectFadeIn.connect(&GameMain::slotEffectFadeIn);
    s.effectFadeOut.connect(&GameMain::slotEffectFadeOut);

    s.soundLoadBGM.connect(&GameMain::slotSoundLoadBGM);
    s.soundLoadSE.connect(&GameMain::slotSoundLoadSE);
    s.soundPlayBGM.connect(&GameMain::slotSoundPlayBGM);
    s.soundPlaySE.connect(&GameMain::slotSoundPlaySE);
    s.soundStopBGM.connect(&GameMain::slotSoundStopBGM);
    s.soundStopSE.connect(&GameMain::slotSoundStopSE);

    s.windowInit.connect(&GameMain::slotWindowInit);
    s.windowLoad.connect(&GameMain::slotWindowLoad);
    s.windowSetVisible.connect(&GameMain::slotWindowSetVisible);
    s.windowOpen.connect(&GameMain::slotWindowOpen);
    s.windowClose.connect(&GameMain::slotWindowClose);
    s.windowSetPos.connect(&GameMain::slotWindowSetPos);
    s.windowSetSize.connect(&GameMain::slotWindowSetSize);
    s.windowSetRect.connect(&GameMain::slotWindowSetRect);
    s.windowSetFlip.connect(&GameMain::slotWindowSetFlip);
    s.windowMovePos.connect(&GameMain::slotWindowMovePos);
    s.windowSetDepth.connect(&GameMain::slotWindowSetDepth);
    s.windowPlay.connect(&GameMain::slotWindowPlay);
    s.windowStop.connect(&GameMain::slotWindowStop);
    s.imageWindowSetImageRect.connect(&GameMain::slotImageWindowSetImageRect);
    s.imageWindowGetImageWidth.connect(&GameMain::slotImageWindowGetImageWidth);
    s.imageWindowGetImageHeight.connect(&GameMain::slotImageWindowGetImageHeight);
    s.characterWindowAppearance.connect(&GameMain::slotCharacterWindowAppearance);
    s.characterWindowExit.connect(&GameMain::slotCharacterWindowExit);
    s.characterWindowSetVisibleName.connect(&GameMain::slotCharacterWindowSetVisibleName);
    s.characterWindowSetName.connect(&GameMain::slotCharacterWindowSetName);
    s.windowManagerAdd.connect(&GameMain::slotWindowManagerAdd);
    s.windowManagerClearAll.connect(&GameMain::slotWindowManagerClearAll);
}

} // namespace Kura
