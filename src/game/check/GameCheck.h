// `kura --check`: the whole check of the game in the working directory, with
// no window, no GL and no audio device. Compiles every script, walks every
// route, checks what the settings and the commands name, prints the problems
// and a summary; and draws the story graph when asked.
#pragma once

#include <string>

namespace Kura::GameCheck {

inline constexpr int EXIT_CLEAN = 0;
inline constexpr int EXIT_PROBLEMS = 1;
inline constexpr int EXIT_CANNOT_RUN = 2;

// graphPath, when not empty, is where the story graph goes (DOT, or SVG
// drawn by Graphviz when it ends in .svg).
int Run(const std::string& graphPath);

} // namespace Kura::GameCheck
