// The program: the command line first; then, to play, the settings (the
// window's size is one of them), the one window and the run loop, or, to
// check, the route checker with no window at all. A game folder given on the
// command line becomes the working directory, so the game reads its "data/"
// and writes its log and saves there, as if it had been started in it.
#include "CommandLine.h"
#include "game/check/GameCheck.h"
#include "game/dev/DevMode.h"
#include "game/settings/Setting.h"
#include "testApp.h"

#include "ofAppGlutWindow.h"
#include "ofAppRunner.h"
#include "ofConstants.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* DISPLAY_MODE = "rgba double depth stencil alpha";
constexpr int EXIT_CANNOT_RUN = 2;

int Play(bool developer) {
    if (developer) Kura::DevMode::Start();
    Kura::Setting::create();
    Kura::Setting* setting = Kura::Setting::get();
    // Both live until the process ends; the usual end is inside the run loop.
    static ofAppGlutWindow window;
    window.setGlutDisplayString(DISPLAY_MODE);
    ofSetupOpenGL(&window, setting->getInt("app_width"), setting->getInt("app_height"), OF_WINDOW);
    static testApp app;
    ofRunApp(&app);
    Kura::Setting::destroy();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Line by line even into a pipe or a file, so a script's print and the
    // engine's reports show as they happen, not when the program ends.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    const Kura::CommandLine line = Kura::CommandLine::Parse({argv + 1, argv + argc});
    switch (line.mode) {
    case Kura::CommandLine::HELP:
        std::fputs(Kura::UsageText().c_str(), stdout);
        return 0;
    case Kura::CommandLine::VERSION:
        std::puts(Kura::PROGRAM_VERSION);
        return 0;
    case Kura::CommandLine::WRONG:
        std::fprintf(stderr, "kura: %s\n%s", line.error.c_str(), Kura::UsageText().c_str());
        return Kura::EXIT_USAGE;
    default:
        break;
    }
    // The graph's file is named from where the program was started.
    const std::string graphFile =
        line.graphFile.empty() ? std::string() : std::filesystem::absolute(line.graphFile).string();
    if (!line.gameFolder.empty() && chdir(line.gameFolder.c_str()) != 0) {
        std::fprintf(stderr, "kura: cannot enter %s: %s\n", line.gameFolder.c_str(),
                     std::strerror(errno));
        return EXIT_CANNOT_RUN;
    }
    return line.mode == Kura::CommandLine::CHECK ? Kura::GameCheck::Run(graphFile)
                                                 : Play(line.developer);
}
