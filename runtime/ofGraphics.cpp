// Fixed-function OpenGL drawing state. Needs a current GL context; without one the
// calls do nothing.
#include "ofGraphics.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace {

float g_background[4] = {0.0f, 0.0f, 0.0f, 1.0f};
bool g_clearAuto = true;

constexpr float FIELD_OF_VIEW_DEG = 60.0f;
constexpr double PI = 3.14159265358979323846;

GLubyte component(int v) { return static_cast<GLubyte>(std::clamp(v, 0, 255)); }

} // namespace

void ofSetColor(int r, int g, int b, int a) {
    glColor4ub(component(r), component(g), component(b), component(a));
}

void ofPushMatrix() { glPushMatrix(); }
void ofPopMatrix() { glPopMatrix(); }
void ofTranslate(float x, float y, float z) { glTranslatef(x, y, z); }
void ofScale(float x, float y, float z) { glScalef(x, y, z); }
void ofRotate(float degrees, float x, float y, float z) { glRotatef(degrees, x, y, z); }

void ofRect(float x, float y, float w, float h) { glRectf(x, y, x + w, y + h); }

void ofEnableAlphaBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void ofDisableAlphaBlending() { glDisable(GL_BLEND); }

void ofBackground(int r, int g, int b, int a) {
    g_background[0] = component(r) / 255.0f;
    g_background[1] = component(g) / 255.0f;
    g_background[2] = component(b) / 255.0f;
    g_background[3] = component(a) / 255.0f;
}

void ofSetBackgroundAuto(bool on) { g_clearAuto = on; }
bool ofbClearBg() { return g_clearAuto; }
const float* ofBgColorPtr() { return g_background; }

// The eye sits at the distance where a 60-degree frustum is exactly h units tall at
// z = 0; flipping y and moving the origin up by h puts (0, 0) at the top left.
void ofSetupScreenPerspective(int w, int h) {
    const double halfW = w / 2.0;
    const double halfH = h / 2.0;
    const double dist = halfH / std::tan(FIELD_OF_VIEW_DEG * PI / 360.0);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW_DEG, static_cast<double>(w) / h, dist / 10.0, dist * 10.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(halfW, halfH, dist, halfW, halfH, 0.0, 0.0, 1.0, 0.0);
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(0.0f, static_cast<float>(-h), 0.0f);
}
