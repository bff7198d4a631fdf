// Where two frames' drawing differs on the window. Each drawing command of a
// list is placed: paired with the state it draws in (colour, matrix, blending,
// texturing, bound texture). A pixel that no placed draw covers differently in
// the two frames keeps its value, so only the area of the draws that differ
// needs drawing again.
#pragma once

#include "ofDrawCommand.h"

#include <cstdint>
#include <vector>

// The GL state the 2D layer's commands depend on, apart from the matrix.
struct ofDrawState {
    uint32_t color = 0xFFFFFFFF; // red in the lowest byte, alpha in the highest
    uint32_t blending = 0;       // enabled
    uint32_t blendSource = 0;
    uint32_t blendDestination = 0;
    uint32_t texturing = 0; // GL_TEXTURE_2D enabled
    uint32_t texture = 0;   // bound name
    bool operator==(const ofDrawState&) const = default;
};

ofDrawState ofQueryDrawState(); // the current GL context's

// Without padding, so placed draws compare byte by byte.
struct ofPlacedDraw {
    ofDrawCommand command;
    float matrix[16]; // model-view on top of the screen projection, column-major
    ofDrawState state;
};

// Follows a list from a start state (matrix: the screen projection's base) and
// answers its drawing commands placed. The end state is what GL holds after it.
std::vector<ofPlacedDraw> ofPlaceDraws(const ofDrawList& list, const ofDrawState& start,
                                       ofDrawState* end);

// A rectangle of window pixels, top-left origin.
struct ofPixelArea {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
};

// The area of a width x height window where after draws differently from before:
// the draws outside their common beginning and end, and every draw of a texture
// whose content changed in between. Empty when nothing differs.
ofPixelArea ofChangedArea(const std::vector<ofPlacedDraw>& before,
                          const std::vector<ofPlacedDraw>& after,
                          const std::vector<unsigned int>& changedTextures, int width, int height);
