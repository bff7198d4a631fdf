// A checkpoint lies on a replay's way when the replay begins where the
// checkpoint's play began and has made the same decisions and read the same
// clock up to it: the scenario is driven by nothing else.
#include "game/player/PlayCheckpoints.h"

#include <algorithm>
#include <map>

namespace Kura {

namespace {

template <class T> bool IsPrefix(const std::vector<T>& part, const std::vector<T>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

bool SameBeginning(const PlayTrail& a, const PlayTrail& b) {
    return a.beginScript == b.beginScript && a.randomState == b.randomState;
}

} // namespace

PlayCheckpoints::Kept PlayCheckpoints::at(const PlayTrail& trail) const {
    for (auto kept = m_Kept.rbegin(); kept != m_Kept.rend(); ++kept) {
        const PlayTrail& here = (*kept)->trail;
        if (here.messages == trail.messages && SameBeginning(here, trail) &&
            here.decisions == trail.decisions && here.clockReadings == trail.clockReadings)
            return *kept;
    }
    return nullptr;
}

void PlayCheckpoints::add(Kept checkpoint) {
    if (m_Kept.size() >= MAX_KEPT) m_Kept.erase(m_Kept.begin());
    m_Kept.push_back(std::move(checkpoint));
}

// The latest first, and of two at one place the one kept last: checking that a checkpoint lies on
// the way and that its scene files are unchanged costs more than finding the candidates.
PlayCheckpoints::Kept
PlayCheckpoints::latestOn(const PlayTrail& trail, int32_t stops,
                          const std::function<bool(const std::string&)>& unchanged) const {
    std::vector<const Kept*> candidates;
    for (auto kept = m_Kept.rbegin(); kept != m_Kept.rend(); ++kept)
        if ((*kept)->trail.stops() <= stops && SameBeginning((*kept)->trail, trail))
            candidates.push_back(&*kept);
    std::stable_sort(candidates.begin(), candidates.end(), [](const Kept* a, const Kept* b) {
        return (*a)->trail.stops() > (*b)->trail.stops();
    });
    std::map<std::string, bool> seen; // a scene file is looked at once
    auto isUnchanged = [&](const std::string& path) {
        auto found = seen.find(path);
        return found != seen.end() ? found->second
                                   : seen.emplace(path, unchanged(path)).first->second;
    };
    for (const Kept* kept : candidates) {
        const PlayTrail& here = (*kept)->trail;
        if (IsPrefix(here.decisions, trail.decisions) &&
            IsPrefix(here.clockReadings, trail.clockReadings) &&
            std::all_of((*kept)->scenes.begin(), (*kept)->scenes.end(), isUnchanged))
            return *kept;
    }
    return nullptr;
}

} // namespace Kura
