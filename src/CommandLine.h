// What the program was asked to do: play a game folder, check it without a
// window, or print its usage or version. Parsing needs nothing else of the
// engine, so it can be tried before any window or settings exist.
#pragma once

#include <string>
#include <vector>

namespace Kura {

struct CommandLine {
    enum Mode { PLAY, CHECK, HELP, VERSION, WRONG };
    Mode mode = PLAY;
    std::string gameFolder; // empty: the working directory
    std::string error;      // for WRONG, what was wrong
    std::string graphFile;  // --graph: where the check draws the story graph
    bool developer = false; // --dev: the problem banner and hot reload

    static CommandLine Parse(const std::vector<std::string>& arguments);
};

// The text --help prints, and WRONG prints after its error.
std::string UsageText();
// The exit status of a command line the program cannot follow.
inline constexpr int EXIT_USAGE = 2;
inline constexpr const char* PROGRAM_VERSION = "kura 1.0";

} // namespace Kura
