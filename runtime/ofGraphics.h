// Drawing state of the runtime: the current colour, the matrix stack, filled
// rectangles, alpha blending, texturing, the background colour and the screen
// projection. Each drawing call is one command of the 2D layer (ofDrawCommand.h):
// it reaches GL at once, or the frame being recorded.
#pragma once

void ofSetColor(int r, int g, int b, int a = 255); // components 0 to 255

void ofPushMatrix();
void ofPopMatrix();
void ofTranslate(float x, float y, float z = 0.0f);
void ofScale(float x, float y, float z = 1.0f);
void ofRotate(float degrees, float x = 0.0f, float y = 0.0f, float z = 1.0f);

void ofRect(float x, float y, float w, float h); // filled, in the current colour
void ofClear(int r, int g, int b, int a = 255);  // colour and depth of the whole window

void ofEnableAlphaBlending();
void ofDisableAlphaBlending();
void ofPushBlending(); // saves blending (with the rest of the colour-buffer state)
void ofPopBlending();

void ofEnableTexturing(); // 2D textures on the following quads
void ofDisableTexturing();
void ofBindTexture(unsigned int name); // 0 unbinds
void ofSetLinearFiltering();           // of the bound texture
// A textured quad as a strip: corners (x, y) top left, top right, bottom left,
// bottom right, and their texture coordinates in the same order.
void ofDrawTexturedQuad(const float corners[8], const float texCoords[8]);
// A glyph's quad from (x1, y1) to (x2, y2) with texture coordinates s1..s2, t1..t2.
void ofDrawGlyphQuad(float x1, float y1, float x2, float y2, float s1, float s2, float t1,
                     float t2);

void ofBackground(int r, int g, int b, int a = 255); // the colour frames are cleared to
void ofSetBackgroundAuto(bool on);                   // clear before every frame
bool ofbClearBg();
const float* ofBgColorPtr(); // red, green, blue, alpha in 0 to 1

// 60-degree perspective in which the plane z = 0 maps one unit to one pixel of a
// w x h viewport, origin at the top-left corner and y growing downwards.
void ofSetupScreenPerspective(int w, int h);
