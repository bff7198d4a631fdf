// The program: settings first (the window's size is one of them), then the one
// window and the run loop. It takes no arguments and reads "data/" in the
// working directory.
#include "game/settings/Setting.h"
#include "testApp.h"

#include "ofAppGlutWindow.h"
#include "ofAppRunner.h"
#include "ofConstants.h"

#include <cstdio>

namespace {

constexpr const char* DISPLAY_MODE = "rgba double depth stencil alpha";

} // namespace

int main() {
    // Line by line even into a pipe or a file, so a script's print and the
    // engine's reports show as they happen, not when the program ends.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
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
