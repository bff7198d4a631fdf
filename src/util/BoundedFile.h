// Reading back a file the game keeps for itself (progress, preferences, read
// marks, saves). Each kind has a size no real file of it comes near; a file far
// larger is not one of ours and is never read into memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Kura::BoundedFile {

// The whole file, or nothing when it is missing, unreadable or larger than
// maxBytes.
std::optional<std::string> Read(const std::string& path, std::uintmax_t maxBytes);

} // namespace Kura::BoundedFile
