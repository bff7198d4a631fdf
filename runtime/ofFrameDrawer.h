// Draws an application's frames on the window only as far as they change. Each
// frame's drawing is recorded as a list of commands; a frame that would draw
// exactly what the frame before drew is neither drawn nor shown, and a changed
// one is drawn again only in the area where it differs, which is then copied to
// the window. Where the GL cannot copy part of a frame to the window, a changed
// frame is drawn whole and swapped. The GL state the commands depend on
// (colour, blending, texturing, bound texture) must change only through the
// runtime: its drawing calls and its textures.
#pragma once

#include "ofDrawCommand.h"
#include "ofFrameDiff.h"

#include <vector>

class ofBaseApp;

class ofFrameDrawer {
public:
    // Records app.draw() on a width x height window, after a clear to the
    // background colour when clear is set, and brings the window up to date.
    // whole: the window's content was lost (first frames, exposed, resized):
    // everything is drawn. Answers whether anything was drawn.
    bool drawFrame(ofBaseApp& app, int width, int height, bool clear, bool whole);

    int getDrawnFrames() const { return m_drawnFrames; }
    const ofPixelArea& getLastArea() const { return m_lastArea; } // of the last drawn frame

private:
    bool unchanged(const ofDrawList& list, const ofDrawState& start, int width, int height) const;
    void submit(const ofDrawList& list, const ofPixelArea& area, int width, int height);
    void present(const ofPixelArea& area, int height);

    ofDrawList m_recording;
    ofDrawList m_shown; // the list last carried out
    std::vector<ofPlacedDraw> m_shownPlaced;
    ofDrawState m_shownStart;
    ofDrawState m_shownEnd; // what GL holds after the list last carried out
    unsigned int m_immediateDrawsSeen = 0;
    std::vector<unsigned int> m_changedTextures;
    int m_width = 0;
    int m_height = 0;
    bool m_anyShown = false;
    int m_drawnFrames = 0;
    ofPixelArea m_lastArea;
};
