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
        } else if (!argument.empty() && argument[0] == '-') {
            return Wrong("unknown option: " + argument);
        } else if (folderGiven) {
            return Wrong("more than one game folder: " + argument);
        } else {
            line.gameFolder = argument;
            folderGiven = true;
        }
    }
    return line;
}

std::string UsageText() {
    return "usage: kura [GAME_FOLDER]\n"
           "       kura --check [GAME_FOLDER]\n"
           "       kura --help | --version\n"
           "\n"
           "GAME_FOLDER is the folder that holds data/ (default: the working directory);\n"
           "the game's log and saves are written there.\n"
           "  --check   play every route without a window and report what is wrong;\n"
           "            exit status 0 clean, 1 problems found, 2 could not run\n";
}

} // namespace Kura
