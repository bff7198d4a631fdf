// Hot reload replays the trail as a load does, to the stop the play has
// reached. Every kept compilation is dropped first: a scene's kept code is
// compiled again only when its own file changes, and the edit may be in a
// file it includes. The checkpoints go too: they hold the play as the old
// code left it, and would look current once the files are compiled again.
#include "game/controller/GameMain.h"

#include "game/player/ScenarioPlayer.h"
#include "game/player/ScenarioPlayerImpl.h"

namespace Kura {

bool GameMain::replayEditedScenes() {
    if (m_TitleMode || m_pPlayer->isReplaying()) return false;
    const PlayTrail trail = m_pPlayer->getTrail();
    m_pPlayer->impl().compiled = CompiledScenes();
    m_pPlayer->impl().checkpoints.clear();
    replayTo(trail, trail.stops());
    return true;
}

} // namespace Kura
