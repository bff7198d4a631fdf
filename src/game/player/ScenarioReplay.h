// Replaying a trail: the player goes back to the trail's beginning and runs
// the story without a screen, passing every message and answering every menu
// with the recorded decision, until it has passed as many stops as asked.
// Decisions are matched by their text, so a scenario edited since still
// replays; where it no longer matches, the replay stops and says so.
#pragma once

#include "game/saves/PlayTrail.h"

#include <cstdint>
#include <string>

namespace Kura {

class ScenarioPlayer;

struct ReplayOutcome {
    enum Where {
        AT_POSITION,      // stopped where asked
        DECISION_MISSING, // a menu no longer offers the recorded decision
        STORY_ENDED,      // the story ended (or stopped moving) before that
        MESSAGE_MOVED,    // the saved message stands at another stop now
        MESSAGE_CHANGED,  // the message at the position reads differently now
    };
    Where where = AT_POSITION;
    int32_t stops = 0;           // stops passed when the replay stopped
    int32_t begunAt = 0;         // where it began: a checkpoint's stops, 0 at the beginning
    std::string script;          // the scenario file it stopped in
    std::string missingDecision; // for DECISION_MISSING, UTF-8
};

namespace ScenarioReplay {

// The most resumes in a row that may pass without reaching a stop: a script
// that spins in yields without ever waiting is taken as ended, not followed
// for ever.
inline constexpr int32_t MAX_RESUMES_BETWEEN_STOPS = 100000;

// Replays trail up to `stops` stops (clamped to what the trail has seen) and
// leaves the player waiting there, its message shown whole. The player is in
// replaying mode only while this runs.
ReplayOutcome Replay(ScenarioPlayer& player, const PlayTrail& trail, int32_t stops);

// How far from the saved position a message that was moved by an edit (lines
// added or taken out before it) is still looked for.
inline constexpr int32_t MAX_MESSAGE_SHIFT = 3;

// The same for a save that shows message (narrow encoding): when the story
// shows another text at that position, the nearest stop showing the saved
// text is taken instead, if there is one within MAX_MESSAGE_SHIFT.
ReplayOutcome ReplayToMessage(ScenarioPlayer& player, const PlayTrail& trail, int32_t stops,
                              const std::string& message);

} // namespace ScenarioReplay

} // namespace Kura
