// Drawing state of the runtime: the current colour, the matrix stack, filled
// rectangles, alpha blending, the background colour and the screen projection.
#pragma once

void ofSetColor(int r, int g, int b, int a = 255); // components 0 to 255

void ofPushMatrix();
void ofPopMatrix();
void ofTranslate(float x, float y, float z = 0.0f);
void ofScale(float x, float y, float z = 1.0f);
void ofRotate(float degrees, float x = 0.0f, float y = 0.0f, float z = 1.0f);

void ofRect(float x, float y, float w, float h); // filled, in the current colour

void ofEnableAlphaBlending();
void ofDisableAlphaBlending();

void ofBackground(int r, int g, int b, int a = 255); // the colour frames are cleared to
void ofSetBackgroundAuto(bool on);                   // clear before every frame
bool ofbClearBg();
const float* ofBgColorPtr(); // red, green, blue, alpha in 0 to 1

// 60-degree perspective in which the plane z = 0 maps one unit to one pixel of a
// w x h viewport, origin at the top-left corner and y growing downwards.
void ofSetupScreenPerspective(int w, int h);
