// The progress file "save.kel": two Kel globals naming the current and the
// highest scene reached, written whole or not at all, and read back by running
// it in an interpreter of its own. Needs the Kel host interface.
#pragma once

#include <string>

namespace Kura::ScenarioProgress {

// The scene of a scenario file name: the (up to) three characters before its
// last ".kel", so "012.kel" gives "012". Empty when there is no such part.
std::string SceneOfScript(const std::string& name);

// A Kel expression whose value is exactly text: a double-quoted literal, with
// runs of backslashes in single quotes and joined on, because double-quoted
// literals have no escape for the backslash.
std::string KelStringExpression(const std::string& text);

// The two lines of the file.
std::string ProgressText(const std::string& nowScene, const std::string& maxScene);

// Replaces the file through a temporary file beside it, creating its folder
// when missing; false when it could not be written (the old file then stays).
bool Write(const std::string& path, const std::string& nowScene, const std::string& maxScene);

// Runs the file and reads both scenes; false (and both left as they are) when
// there is no file or it does not compile.
bool Read(const std::string& path, std::string& nowScene, std::string& maxScene);

} // namespace Kura::ScenarioProgress
