// Recording, comparing, drawing the changed area and copying it to the window.
// The back buffer is never swapped where the area can be copied instead, so it
// always holds the frame last shown and a changed area can be drawn over it.
#include "ofFrameDrawer.h"

#include "ofBaseApp.h"
#include "ofFrameReadback.h"
#include "ofGlxExtensions.h"
#include "ofGraphics.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <cstring>

namespace {

using CopySubBuffer = void (*)(Display*, GLXDrawable, int, int, int, int);

// Looked up once: the process has one window and one context.
CopySubBuffer copySubBuffer() {
    static const CopySubBuffer fn = reinterpret_cast<CopySubBuffer>(
        ofGlxProcAddress("GLX_MESA_copy_sub_buffer", "glXCopySubBufferMESA"));
    return fn;
}

bool sameCommands(const ofDrawList& a, const ofDrawList& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

ofDrawCommand backgroundClear() {
    ofDrawCommand clear;
    clear.op = ofDrawOp::Clear;
    std::memcpy(clear.value, ofBgColorPtr(), 4 * sizeof(float));
    clear.arg[0] = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    return clear;
}

} // namespace

bool ofFrameDrawer::drawFrame(ofBaseApp& app, int width, int height, bool clear, bool whole) {
    m_recording.clear();
    ofSetDrawRecording(&m_recording);
    if (clear) ofSubmitDraw(backgroundClear());
    app.draw();
    ofSetDrawRecording(nullptr);

    const std::vector<unsigned int> changed = ofTakeChangedTextures();
    m_changedTextures.insert(m_changedTextures.end(), changed.begin(), changed.end());
    // GL keeps the state the last list left unless something drew at once or
    // a texture was loaded since (loading binds it, also while drawing); asking
    // GL costs more than all the rest of an unchanged frame.
    const bool stateKnown =
        m_anyShown && changed.empty() && ofImmediateDrawCount() == m_immediateDrawsSeen;
    const ofDrawState start = stateKnown ? m_shownEnd : ofQueryDrawState();
    if (!whole && unchanged(m_recording, start, width, height)) {
        m_immediateDrawsSeen = ofImmediateDrawCount();
        return false;
    }

    ofDrawState end;
    std::vector<ofPlacedDraw> placed = ofPlaceDraws(m_recording, start, &end);
    const bool sameWindow = m_anyShown && width == m_width && height == m_height;
    ofPixelArea area = whole || !sameWindow
                           ? ofPixelArea{0, 0, width, height}
                           : ofChangedArea(m_shownPlaced, placed, m_changedTextures, width, height);
    // Without a way to show part of a frame, a changed frame is shown whole.
    if (!area.empty() && copySubBuffer() == nullptr) area = {0, 0, width, height};

    submit(m_recording, area, width, height);
    if (!area.empty()) {
        ofRunFrameReadback(width, height);
        present(area, height);
    }

    m_shown.swap(m_recording);
    m_shownPlaced.swap(placed);
    m_shownStart = start;
    m_shownEnd = end;
    m_immediateDrawsSeen = ofImmediateDrawCount();
    m_changedTextures.clear();
    m_width = width;
    m_height = height;
    m_anyShown = true;
    if (area.empty()) return false;
    m_lastArea = area;
    ++m_drawnFrames;
    return true;
}

bool ofFrameDrawer::unchanged(const ofDrawList& list, const ofDrawState& start, int width,
                              int height) const {
    return m_anyShown && width == m_width && height == m_height && m_changedTextures.empty() &&
           start == m_shownStart && sameCommands(list, m_shown);
}

// A list whose draws are all unchanged is still carried out, under an empty
// scissor, so that GL ends in the state the list leaves behind.
void ofFrameDrawer::submit(const ofDrawList& list, const ofPixelArea& area, int width, int height) {
    glViewport(0, 0, width, height);
    ofSetupScreenPerspective(width, height);
    const bool part = area.x != 0 || area.y != 0 || area.w != width || area.h != height;
    if (part) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(area.x, height - area.y - area.h, area.w, area.h);
    }
    for (const ofDrawCommand& command : list)
        ofExecuteDraw(command);
    if (part) glDisable(GL_SCISSOR_TEST);
}

void ofFrameDrawer::present(const ofPixelArea& area, int height) {
    if (CopySubBuffer copy = copySubBuffer()) {
        copy(glXGetCurrentDisplay(), glXGetCurrentDrawable(), area.x, height - area.y - area.h,
             area.w, area.h);
        return;
    }
    glutSwapBuffers();
}
