// Options first or last, at most one game folder; an option the program does
// not know is an error rather than a folder, so a typing slip never starts a
// game from the wrong place.
#include "CommandLine.h"

namespace Kura {

namespace {

CommandLine Asked(CommandLine::Mode mode, const std::string& error = {}) {
    CommandLine line;
    line.mode = mode;
    line.error = error;
    return line;
}

CommandLine Wrong(const std::string& error) {
    return Asked(CommandLine::WRONG, error);
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool folderGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") return Asked(HELP);
        if (argument == "--version") return Asked(VERSION);
        if (argument == "--check") {
            line.mode = CHECK;
        } else if (argument == "--graph") {
            if (i + 1 == arguments.size()) return Wrong("--graph needs a file (.dot or .svg)");
            line.graphFile = arguments[++i];
            line.mode = CHECK;
        } else if (argument == "--dev") {
            line.developer = true;
        } else if (!argument.empty() && argument[0] == '-') {
            return Wrong("unknown option: " + argument);
        } else if (folderGiven) {
            return Wrong("more than one game folder: " + argument);
        } else {
            line.gameFolder = argument;
            folderGiven = true;
        }
    }
    if (line.developer && line.mode == CHECK)
        return Wrong("--dev plays the game; --check does not");
    return line;
}

std::string UsageText() {
    return "usage: kura [GAME_FOLDER]\n"
           "       kura --check [--graph FILE.dot|FILE.svg] [GAME_FOLDER]\n"
           "       kura --dev [GAME_FOLDER]\n"
           "       kura --help | --version\n"
           "\n"
           "GAME_FOLDER is the folder that holds data/ (default: the working directory);\n"
           "the game's log and saves are written there.\n"
           "  --check   play every route without a window and report what is wrong;\n"
           "            exit status 0 clean, 1 problems found, 2 could not run\n"
           "  --graph   with the check, write the story graph as Graphviz DOT, or\n"
           "            draw it with Graphviz's dot when the file ends in .svg\n"
           "  --dev     play with a banner showing the latest problem at its file and\n"
           "            line; Shift+R replays the play so far with the edited scene files\n";
}

} // namespace Kura
