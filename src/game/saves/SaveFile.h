// The save file format: one JSON document holding a format version, a
// checksum and the save itself (the trail and what a slot shows). It is data
// only: reading it runs nothing, and a file that is torn, truncated, altered,
// hostile or from a newer format is refused as a whole.
#pragma once

#include "game/saves/PlayTrail.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Kura {

struct SaveRecord {
    PlayTrail trail;
    int32_t stops = 0;     // the position: stops passed when saved
    std::string script;    // the scenario file being played
    std::string message;   // the message on the screen, UTF-8
    int64_t savedAtMs = 0; // since the epoch, UTC
};

namespace SaveFile {

// Raised whenever the layout changes; a newer file is refused, not guessed at.
inline constexpr int32_t FORMAT_VERSION = 1;
// A trail holds a few bytes per decision; far beyond any story, far below
// what could hurt to read.
inline constexpr uintmax_t MAX_FILE_BYTES = 16 * 1024 * 1024;
// The format nests three deep; anything deeper is not a save.
inline constexpr int32_t MAX_NESTING = 4;

std::string Encode(const SaveRecord& record);
// Empty for anything that is not a whole, unaltered save of a known version.
std::optional<SaveRecord> Decode(const std::string& text);
// The first characters of the message, as a slot shows it.
std::string Excerpt(const std::string& message);

} // namespace SaveFile

} // namespace Kura
