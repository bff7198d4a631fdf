// Replacing a file so that a crash or a power cut at any moment leaves either
// the old content or the new one, never a part or nothing. Needs POSIX files.
#pragma once

#include <string>

namespace Kura::DurableFile {

// Writes text to "<path>.tmp", flushes it to the disk, renames it over path
// and flushes the folder, so that the rename itself survives. False when any
// step fails; the old file then stays and the temporary file is removed.
bool Replace(const std::string& path, const std::string& text);

} // namespace Kura::DurableFile
