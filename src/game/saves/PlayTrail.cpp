// Comparing trails: rolling forward follows a kept trail only while the play
// has not left it.
#include "game/saves/PlayTrail.h"

#include <algorithm>

namespace Kura {

bool PlayTrail::continues(const PlayTrail& other) const {
    if (beginScript != other.beginScript || randomState != other.randomState) return false;
    if (decisions.size() < other.decisions.size() || stops() < other.stops()) return false;
    return std::equal(other.decisions.begin(), other.decisions.end(), decisions.begin());
}

} // namespace Kura
