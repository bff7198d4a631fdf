// Reading a drawn frame back before it is shown, for pictures of the screen
// (a save's thumbnail). The window reads the next frame whole, after drawing
// it and before showing it: once shown, the back buffer may hold anything.
#pragma once

#include <functional>

// Pixels as 4 bytes each in blue, green, red, alpha order, rows bottom first,
// width x height window pixels; valid only during the call.
using ofFrameReadback = std::function<void(const unsigned char* bgra, int width, int height)>;

// The next drawn frame is passed to callback once; a later request replaces it.
void ofReadNextFrame(ofFrameReadback callback);

// For the window: whether a frame must be drawn whole to be read, and the read
// itself, between drawing the frame and showing it.
bool ofFrameReadbackPending();
void ofRunFrameReadback(int width, int height);
