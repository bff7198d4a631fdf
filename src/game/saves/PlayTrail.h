// A play's trail: where it began and every decision the player made since, in
// place of any interpreter state. The scenario is a program driven only by
// those decisions, so replaying the trail from its beginning rebuilds the
// story exactly, and an edited scenario still replays as far as it matches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kura {

struct PlayTrail {
    std::string beginScript;            // the scenario file the play started with
    uint64_t randomState = 0;           // the scripts' random numbers at that start
    std::vector<std::string> decisions; // each menu's decided path, UTF-8
    int32_t messages = 0;               // messages advanced since the beginning
    // What each reading of the clock answered, in order, so that a replay
    // reads the same times the play read.
    std::vector<int64_t> clockReadings;

    // Every point the story waited at and was moved on from: a message
    // advanced or a decision made. A position in the story is such a count.
    int32_t stops() const { return messages + static_cast<int32_t>(decisions.size()); }
    // True when this trail continues other: the same beginning, other's
    // decisions first, and at least as far.
    bool continues(const PlayTrail& other) const;
};

} // namespace Kura
