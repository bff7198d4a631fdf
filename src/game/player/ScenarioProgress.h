// The progress file "save.kel": two Kel global lines naming the current and
// the highest scene reached, written whole or not at all, and read back as
// data (util/ProgressText), never run.
#pragma once

#include <string>

namespace Kura::ScenarioProgress {

// The scene of a scenario file name: the (up to) three characters before its
// last ".kel", so "012.kel" gives "012". Empty when there is no such part.
std::string SceneOfScript(const std::string& name);

// Replaces the file durably, creating its folder when missing; false when it
// could not be written (the old file then stays).
bool Write(const std::string& path, const std::string& nowScene, const std::string& maxScene);

// Reads both scenes; false (and both left as they are) when there is no file.
// A file that is not exactly the two lines the engine writes is reported once
// in the log and reads as no progress (both scenes empty).
bool Read(const std::string& path, std::string& nowScene, std::string& maxScene);

} // namespace Kura::ScenarioProgress
