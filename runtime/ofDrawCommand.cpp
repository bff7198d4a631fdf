// The one place where the 2D layer's commands become GL calls, for drawing at
// once and for replaying a recorded frame alike.
#include "ofDrawCommand.h"

#include <GL/gl.h>

namespace {

ofDrawList* g_pRecording = nullptr;
unsigned int g_immediateDraws = 0;
std::vector<unsigned int> g_changedTextures;

void drawTexturedStrip(const float* value) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, value);
    glTexCoordPointer(2, GL_FLOAT, 0, value + 8);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// The corners go round from the top left, down first, as the glyph's texture
// coordinates expect.
void drawGlyphQuad(const float* v) {
    const float x1 = v[0], y1 = v[1], x2 = v[2], y2 = v[3];
    const float s1 = v[4], s2 = v[5], t1 = v[6], t2 = v[7];
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(s1, t1);
    glVertex2f(x1, y1);
    glTexCoord2f(s1, t2);
    glVertex2f(x1, y2);
    glTexCoord2f(s2, t2);
    glVertex2f(x2, y2);
    glTexCoord2f(s2, t1);
    glVertex2f(x2, y1);
    glEnd();
}

} // namespace

void ofExecuteDraw(const ofDrawCommand& c) {
    const float* v = c.value;
    switch (c.op) {
    case ofDrawOp::SetColor:
        glColor4ub(static_cast<GLubyte>(c.arg[0]), static_cast<GLubyte>(c.arg[0] >> 8),
                   static_cast<GLubyte>(c.arg[0] >> 16), static_cast<GLubyte>(c.arg[0] >> 24));
        break;
    case ofDrawOp::PushMatrix:
        glPushMatrix();
        break;
    case ofDrawOp::PopMatrix:
        glPopMatrix();
        break;
    case ofDrawOp::Translate:
        glTranslatef(v[0], v[1], v[2]);
        break;
    case ofDrawOp::Scale:
        glScalef(v[0], v[1], v[2]);
        break;
    case ofDrawOp::Rotate:
        glRotatef(v[0], v[1], v[2], v[3]);
        break;
    case ofDrawOp::Rect:
        glRectf(v[0], v[1], v[2], v[3]);
        break;
    case ofDrawOp::Enable:
        glEnable(c.arg[0]);
        break;
    case ofDrawOp::Disable:
        glDisable(c.arg[0]);
        break;
    case ofDrawOp::BlendFunc:
        glBlendFunc(c.arg[0], c.arg[1]);
        break;
    case ofDrawOp::PushBlending:
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        break;
    case ofDrawOp::PopBlending:
        glPopAttrib();
        break;
    case ofDrawOp::BindTexture:
        glBindTexture(GL_TEXTURE_2D, c.arg[0]);
        break;
    case ofDrawOp::LinearFilter:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        break;
    case ofDrawOp::TexturedStrip:
        drawTexturedStrip(v);
        break;
    case ofDrawOp::GlyphQuad:
        drawGlyphQuad(v);
        break;
    case ofDrawOp::Clear:
        glClearColor(v[0], v[1], v[2], v[3]);
        glClear(c.arg[0]);
        break;
    }
}

void ofSubmitDraw(const ofDrawCommand& command) {
    if (g_pRecording != nullptr) {
        g_pRecording->push_back(command);
        return;
    }
    ofExecuteDraw(command);
    ++g_immediateDraws;
}

unsigned int ofImmediateDrawCount() {
    return g_immediateDraws;
}

void ofSetDrawRecording(ofDrawList* list) {
    g_pRecording = list;
}

void ofNoteTextureChanged(unsigned int textureName) {
    if (textureName != 0) g_changedTextures.push_back(textureName);
}

std::vector<unsigned int> ofTakeChangedTextures() {
    std::vector<unsigned int> changed;
    changed.swap(g_changedTextures);
    return changed;
}
