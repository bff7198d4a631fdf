// Test support: what the test window shows, read from the X server.
#pragma once

#include "gl_test_window.h"

#include <vector>

namespace kura_test {

// The pixels of the current GL window, w x h, as the X server holds them, row 0
// at the top, alpha 255. All black while the window lies partly off the screen.
std::vector<Rgba> shownOnWindow(int w = WINDOW_W, int h = WINDOW_H);
// The back buffer, w x h, with alpha 255: the colours the window would show.
std::vector<Rgba> drawnOpaque(int w = WINDOW_W, int h = WINDOW_H);
// Pixels that differ between two reads of the same size.
int differing(const std::vector<Rgba>& a, const std::vector<Rgba>& b);

} // namespace kura_test
