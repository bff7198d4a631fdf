// Fixed-function OpenGL drawing state, as commands of the 2D layer. Needs a
// current GL context; without one the calls do nothing.
#include "ofGraphics.h"

#include "ofDrawCommand.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

float g_background[4] = {0.0f, 0.0f, 0.0f, 1.0f};
bool g_clearAuto = true;

constexpr float FIELD_OF_VIEW_DEG = 60.0f;
constexpr double PI = 3.14159265358979323846;
constexpr float COMPONENT_MAX = 255.0f;

uint32_t component(int v) {
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

void submit(ofDrawOp op, std::initializer_list<float> values = {},
            std::initializer_list<uint32_t> args = {}) {
    ofDrawCommand c;
    c.op = op;
    std::copy(values.begin(), values.end(), c.value);
    std::copy(args.begin(), args.end(), c.arg);
    ofSubmitDraw(c);
}

} // namespace

void ofSetColor(int r, int g, int b, int a) {
    submit(ofDrawOp::SetColor, {},
           {component(r) | component(g) << 8 | component(b) << 16 | component(a) << 24});
}

void ofPushMatrix() {
    submit(ofDrawOp::PushMatrix);
}
void ofPopMatrix() {
    submit(ofDrawOp::PopMatrix);
}
void ofTranslate(float x, float y, float z) {
    submit(ofDrawOp::Translate, {x, y, z});
}
void ofScale(float x, float y, float z) {
    submit(ofDrawOp::Scale, {x, y, z});
}
void ofRotate(float degrees, float x, float y, float z) {
    submit(ofDrawOp::Rotate, {degrees, x, y, z});
}

void ofRect(float x, float y, float w, float h) {
    submit(ofDrawOp::Rect, {x, y, x + w, y + h});
}

void ofClear(int r, int g, int b, int a) {
    submit(ofDrawOp::Clear,
           {component(r) / COMPONENT_MAX, component(g) / COMPONENT_MAX,
            component(b) / COMPONENT_MAX, component(a) / COMPONENT_MAX},
           {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT});
}

void ofEnableAlphaBlending() {
    submit(ofDrawOp::Enable, {}, {GL_BLEND});
    submit(ofDrawOp::BlendFunc, {}, {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA});
}

void ofDisableAlphaBlending() {
    submit(ofDrawOp::Disable, {}, {GL_BLEND});
}
void ofPushBlending() {
    submit(ofDrawOp::PushBlending);
}
void ofPopBlending() {
    submit(ofDrawOp::PopBlending);
}

void ofEnableTexturing() {
    submit(ofDrawOp::Enable, {}, {GL_TEXTURE_2D});
}
void ofDisableTexturing() {
    submit(ofDrawOp::Disable, {}, {GL_TEXTURE_2D});
}
void ofBindTexture(unsigned int name) {
    submit(ofDrawOp::BindTexture, {}, {name});
}
void ofSetLinearFiltering() {
    submit(ofDrawOp::LinearFilter);
}

void ofDrawTexturedQuad(const float corners[8], const float texCoords[8]) {
    ofDrawCommand c;
    c.op = ofDrawOp::TexturedStrip;
    std::memcpy(c.value, corners, 8 * sizeof(float));
    std::memcpy(c.value + 8, texCoords, 8 * sizeof(float));
    ofSubmitDraw(c);
}

void ofDrawGlyphQuad(float x1, float y1, float x2, float y2, float s1, float s2, float t1,
                     float t2) {
    submit(ofDrawOp::GlyphQuad, {x1, y1, x2, y2, s1, s2, t1, t2});
}

void ofBackground(int r, int g, int b, int a) {
    g_background[0] = component(r) / COMPONENT_MAX;
    g_background[1] = component(g) / COMPONENT_MAX;
    g_background[2] = component(b) / COMPONENT_MAX;
    g_background[3] = component(a) / COMPONENT_MAX;
}

void ofSetBackgroundAuto(bool on) {
    g_clearAuto = on;
}
bool ofbClearBg() {
    return g_clearAuto;
}
const float* ofBgColorPtr() {
    return g_background;
}

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
