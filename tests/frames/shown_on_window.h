// Test support: what the test window shows, read from the X server.
#pragma once

#include "gl_test_window.h"

#include <vector>

namespace kura_test {

// The pixels of the current GL window, w x h, as the X server holds them, row 0
// at the top, alpha 255. All black while the window lies partly off the screen.
std::vector<Rgba> shownOnWindow(int w = WINDOW_W, int h = WINDOW_H);

} // namespace kura_test
