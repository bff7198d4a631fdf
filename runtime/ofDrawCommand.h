// The 2D layer's drawing as commands: colour, matrix, blending, texturing,
// rectangles, textured quads, glyph quads and clears. Every drawing call of the
// runtime goes through ofSubmitDraw, which carries the command out on GL at once,
// or, while a frame is being recorded, appends it to that frame's list so the
// frame can be compared with the one before and drawn only when it differs.
// Carrying out a recorded command later makes exactly the GL calls that drawing
// it at once would have made.
#pragma once

#include <cstdint>
#include <vector>

enum class ofDrawOp : uint32_t {
    SetColor, // arg: red, green, blue, alpha bytes from the lowest up
    PushMatrix,
    PopMatrix,
    Translate,    // value: x, y, z
    Scale,        // value: x, y, z
    Rotate,       // value: degrees, axis x, y, z
    Rect,         // value: x1, y1, x2, y2, filled
    Enable,       // arg: GL capability
    Disable,      // arg: GL capability
    BlendFunc,    // arg: source and destination factors
    PushBlending, // saves the colour-buffer state (blending among it)
    PopBlending,
    BindTexture,   // arg: texture name; 0 unbinds
    LinearFilter,  // the bound texture is minified and magnified linearly
    TexturedStrip, // value: 4 corners x, y, then their 4 texture coordinates s, t
    GlyphQuad,     // value: x1, y1, x2, y2, s1, s2, t1, t2 (a glyph's fan)
    Clear,         // value: red, green, blue, alpha in 0..1; arg: GL clear mask
};

// Fixed size and without padding, so that two lists compare byte by byte.
struct ofDrawCommand {
    ofDrawOp op = ofDrawOp::PushMatrix;
    uint32_t arg[3] = {0, 0, 0};
    float value[16] = {};
};

using ofDrawList = std::vector<ofDrawCommand>;

void ofSubmitDraw(const ofDrawCommand& command);  // at once, or into the recording list
void ofExecuteDraw(const ofDrawCommand& command); // always at once, on GL
// How many commands ofSubmitDraw has carried out at once so far: when it has not
// moved, GL still holds the state the last replayed list left.
unsigned int ofImmediateDrawCount();

// While a list is set, submitted commands are appended to it; null draws at once.
void ofSetDrawRecording(ofDrawList* list);

// Textures whose content changed (uploaded, reallocated or deleted) since the
// frame drawer last looked: a frame that draws one is not the same as before.
void ofNoteTextureChanged(unsigned int textureName);
std::vector<unsigned int> ofTakeChangedTextures();
