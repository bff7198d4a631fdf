// The replay loop runs the player's state machine as the controller would,
// with no frame between steps: resume while running, advance a message at
// once, answer a menu from the trail.
#include "game/player/ScenarioReplay.h"

#include "game/player/PlayCheckpoints.h"
#include "game/player/ScenarioPlayer.h"
#include "util/ConvString.h"

#include <algorithm>

namespace Kura {

namespace {

// Menu decisions join the names of the items chosen on the way down.
constexpr char PATH_SEPARATOR = '-';

// True when the menu offers path (narrow encoding): an enabled item, or an
// enabled sub-item below one.
bool IsOffered(const CommandList& items, const std::string& path) {
    for (const CommandItem& item : items) {
        if (item.value == 0) continue;
        if (item.subItems.empty() && item.text == path) return true;
        for (const CommandItem& sub : item.subItems)
            if (sub.value != 0 && item.text + PATH_SEPARATOR + sub.text == path) return true;
    }
    return false;
}

// Where the story waits for the player: a message, or a menu not yet decided
// (after a decision the state stays "choosing" until the script sets another).
bool IsStop(const ScenarioPlayer& player) {
    return player.getState() == ScenarioPlayer::STATE_MESSAGE || player.isChoiceOpen();
}

class Replayer {
public:
    Replayer(ScenarioPlayer& player, const PlayTrail& trail) : m_Player(player), m_Trail(trail) {}

    // From the latest checkpoint on the way, or from the trail's beginning.
    ReplayOutcome run(int32_t target) {
        ReplayOutcome outcome;
        m_Player.beginReplayBefore(m_Trail, target);
        const auto from = m_Player.lastCheckpoint();
        outcome.begunAt = from ? from->trail.stops() : 0;
        int32_t idle = 0;
        while (outcome.where == ReplayOutcome::AT_POSITION) {
            const bool stop = IsStop(m_Player);
            if (!m_Player.isScriptRunning() || idle > ScenarioReplay::MAX_RESUMES_BETWEEN_STOPS) {
                outcome.where = ReplayOutcome::STORY_ENDED;
                break;
            }
            if (stop && m_Player.getTrail().stops() >= target) break;
            idle = stop ? 0 : idle + 1;
            step(outcome);
        }
        outcome.stops = m_Player.getTrail().stops();
        outcome.script = m_Player.getScriptName();
        return outcome;
    }

private:
    void step(ReplayOutcome& outcome) {
        const int32_t state = m_Player.getState();
        if (state == ScenarioPlayer::STATE_MESSAGE) m_Player.completeMessage();
        if (!m_Player.isChoiceOpen()) {
            m_Player.resume();
            return;
        }
        const size_t next = m_Player.getTrail().decisions.size();
        const std::string decision = next < m_Trail.decisions.size() ? m_Trail.decisions[next] : "";
        const std::string narrow = ConvString::Utf8ToAnsi(decision);
        const CommandList& menu = state == ScenarioPlayer::STATE_SELECT_COMMAND
                                      ? m_Player.getCommands()
                                      : m_Player.getInterruptCommands();
        if (decision.empty() || !IsOffered(menu, narrow)) {
            outcome.where = ReplayOutcome::DECISION_MISSING;
            outcome.missingDecision = decision;
            return;
        }
        m_Player.select(narrow);
    }

    ScenarioPlayer& m_Player;
    const PlayTrail& m_Trail;
};

} // namespace

// A story that ends before the position is replayed once more, to the last
// stop it reached, so the player is left where the story still waits.
ReplayOutcome ScenarioReplay::Replay(ScenarioPlayer& player, const PlayTrail& trail,
                                     int32_t stops) {
    const PlayTrail saved = trail; // the player's own trail starts over below
    player.setReplaying(true);
    const int32_t target = std::min(stops, saved.stops());
    ReplayOutcome outcome = Replayer(player, saved).run(target);
    if (outcome.where == ReplayOutcome::STORY_ENDED && outcome.stops > 0) {
        const ReplayOutcome shorter = Replayer(player, saved).run(outcome.stops - 1);
        outcome.stops = shorter.stops;
        outcome.begunAt = shorter.begunAt;
    }
    player.completeMessage();
    player.setReplaying(false);
    return outcome;
}

// Nearer stops first, later before earlier: a line added before the message
// moves it on, which is the likelier edit.
ReplayOutcome ScenarioReplay::ReplayToMessage(ScenarioPlayer& player, const PlayTrail& trail,
                                              int32_t stops, const std::string& message) {
    const PlayTrail saved = trail;
    ReplayOutcome outcome = Replay(player, saved, stops);
    if (outcome.where != ReplayOutcome::AT_POSITION || player.getMessageText() == message)
        return outcome;
    for (int32_t shift = 1; shift <= MAX_MESSAGE_SHIFT; ++shift) {
        for (int32_t candidate : {stops + shift, stops - shift}) {
            if (candidate < 0) continue;
            PlayTrail longer = saved;
            longer.messages += shift; // lets the replay pass further messages
            ReplayOutcome moved = Replay(player, longer, candidate);
            if (moved.where == ReplayOutcome::AT_POSITION && moved.stops == candidate &&
                player.getMessageText() == message) {
                moved.where = ReplayOutcome::MESSAGE_MOVED;
                return moved;
            }
        }
    }
    outcome = Replay(player, saved, stops);
    outcome.where = ReplayOutcome::MESSAGE_CHANGED;
    return outcome;
}

} // namespace Kura
