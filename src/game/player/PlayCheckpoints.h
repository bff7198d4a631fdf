// Points of a play that a replay may start from instead of its beginning,
// kept in memory only: at each change of scene file the script has no running
// code left, so the play there is nothing but data (the script globals, the
// flags, the random numbers, the message and the trail so far) plus the stage
// of whoever hosts the player. A rollback then replays one scene, not the
// whole play.
#pragma once

#include "game/player/GlobalSnapshot.h"
#include "game/player/ScenarioPlayer.h"
#include "game/saves/PlayTrail.h"

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Kura {

struct PlayCheckpoint {
    PlayTrail trail;          // the play up to here, its clock readings included
    uint64_t randomState = 0; // the scripts' random numbers here
    GlobalSnapshot globals;
    FlagMap sceneFlags;
    FlagMap globalFlags;
    CommandList interruptCommands;
    std::string selectedText; // UTF-8
    // The message a scene that did not clear it leaves, as far as typed.
    std::string messageText;
    std::string shownText;
    size_t typedWidth = 0;
    size_t shownWidth = 0;
    int32_t autoAdvanceTime = ScenarioPlayer::AUTO_ADVANCE_NONE;
    int32_t menuWaits = 0;
    std::string scriptName;       // the scene file that begins here
    std::set<std::string> scenes; // every scene file the play ran to get here, as paths
    std::any stage;               // the host's, as its StageKeeper captured it
};

class PlayCheckpoints {
public:
    // A play of a hundred scene files keeps one for each; past this many the
    // oldest go first, so a long session does not grow without end.
    static constexpr size_t MAX_KEPT = 256;
    using Kept = std::shared_ptr<const PlayCheckpoint>;

    // The one kept at the place trail has reached; null when there is none.
    Kept at(const PlayTrail& trail) const;
    void add(Kept checkpoint);
    // The latest checkpoint that a replay of trail passes at or before `stops`
    // stops, whose scene files are all unchanged; null when there is none.
    Kept latestOn(const PlayTrail& trail, int32_t stops,
                  const std::function<bool(const std::string&)>& unchanged) const;
    void clear() { m_Kept.clear(); }

private:
    std::vector<Kept> m_Kept; // oldest first
};

} // namespace Kura
