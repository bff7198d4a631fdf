// Wide-string TrueType text on the runtime's font base, which opens the face and
// rasterises each glyph into its texture. A glyph is rasterised when a string
// first needs it, not at load: the whole table up front costs about half a
// second and over 100 MB per font in a software GL driver.
#include "of/ofTrueTypeFontWS_v001.h"

#include "ofGraphics.h"
#include "ofLog.h"
#include "ofUtils.h"

#include <algorithm>

namespace {

constexpr const char* SOURCE = "src\\of\\ofTrueTypeFontWS_v001";
// The lines the "font not allocated" messages name: fixed numbers, so a log
// reads the same whatever this file's layout.
constexpr int DRAW_STRING_LINE = 491;
constexpr int DRAW_SHAPES_LINE = 584;
// Lines are this many times the font size apart, leaving room for accents and
// descenders of the next line.
constexpr float LINE_HEIGHT_PER_SIZE = 1.43f;
constexpr wchar_t SPACE = L' ';
constexpr wchar_t NEWLINE = L'\n';

} // namespace

bool ofTrueTypeFontWS::loadFont(const std::string& fileName, int size, bool antiAliased,
                                bool fullCharacterSet, bool makeContours) {
    bMakeContours = makeContours;
    if (bLoadedOk || library != nullptr) unloadFont();
    m_fileName = fileName;
    m_unloadedReported = false;

    const std::string path = ofToDataPath(fileName);
    bAntiAliased = antiAliased;
    bFullCharacterSet = fullCharacterSet;
    fontSize = size;

    if (!openFace(path, size)) return false;
    lineHeight = size * LINE_HEIGHT_PER_SIZE;
    nCharacters = fullCharacterSet ? FULL_CHARACTER_COUNT : BASIC_CHARACTER_COUNT;
    cps.assign(nCharacters, charProps{});
    texNames.assign(nCharacters, 0);
    if (bMakeContours) charOutlines.assign(nCharacters, ofTTFCharacter{});

    loadGlyph(SPACE_WIDTH_GLYPH, SPACE_WIDTH_GLYPH + FIRST_CHARACTER);
    bLoadedOk = true;
    return true;
}

void ofTrueTypeFontWS::reportUnloaded(int line) {
    if (m_unloadedReported) return;
    m_unloadedReported = true;
    ofLog(OF_LOG_ERROR, "Error : font not allocated (%s) -- line %d in %s", m_fileName.c_str(),
          line, SOURCE);
}

void ofTrueTypeFontWS::ensureGlyph(int index) {
    if (index >= 0 && index < nCharacters && cps[index].value == -1)
        loadGlyph(index, index + FIRST_CHARACTER);
}

// Newlines and other control codes are skipped here; callers that want several
// lines draw each line themselves.
void ofTrueTypeFontWS::drawString(const std::wstring& text, float x, float y) {
    if (!bLoadedOk) {
        reportUnloaded(DRAW_STRING_LINE);
        return;
    }
    ofPushBlending();
    ofEnableAlphaBlending();
    ofEnableTexturing();
    ofPushMatrix();
    ofTranslate(x, y);
    float penX = 0.0f;
    for (wchar_t c : text) {
        const int index = static_cast<int>(c) - FIRST_CHARACTER;
        if (index < -1 || index >= nCharacters) continue;
        ensureGlyph(index);
        if (c == SPACE) {
            penX += cps[SPACE_WIDTH_GLYPH].width;
            continue;
        }
        drawChar(index, penX, 0.0f);
        penX += cps[index].setWidth;
    }
    ofPopMatrix();
    ofDisableTexturing();
    ofPopBlending();
}

void ofTrueTypeFontWS::drawStringAsShapes(const std::wstring& text, float x, float y) {
    if (!bLoadedOk) {
        reportUnloaded(DRAW_SHAPES_LINE);
        return;
    }
    if (!bMakeContours) {
        ofLog(OF_LOG_ERROR, "Error : contours not created for this font - call loadFont with "
                            "makeContours set to true");
        return;
    }
    float penX = 0.0f, penY = 0.0f;
    for (wchar_t c : text) {
        const int index = static_cast<int>(c) - FIRST_CHARACTER;
        if (c == NEWLINE) {
            penX = 0.0f;
            penY = lineHeight;
            continue;
        }
        if (index < -1 || index >= nCharacters) continue;
        ensureGlyph(index);
        if (c == SPACE) {
            penX += cps[SPACE_WIDTH_GLYPH].width;
            continue;
        }
        drawContoursFilled(charOutlines[index], x + penX, y + penY);
        penX += cps[index].setWidth;
    }
}

// Measures the same quads that drawString would draw, counting each newline as a
// line of lineHeight (truncated).
ofRectangle ofTrueTypeFontWS::getStringBoundingBox(const std::wstring& text, float x, float y) {
    if (text.empty() || !bLoadedOk) return {};
    float penX = 0.0f, penY = 0.0f;
    float minX = -1.0f, minY = -1.0f, maxX = -1.0f, maxY = -1.0f;
    bool first = true;
    const int stretch = 2 * visibleBorder;
    for (wchar_t c : text) {
        const int index = static_cast<int>(c) - FIRST_CHARACTER;
        ensureGlyph(index);
        if (index >= nCharacters) continue;
        if (c == NEWLINE) {
            penY += static_cast<int>(lineHeight);
            penX = 0.0f;
        } else if (index < -1) {
            continue;
        } else if (c == SPACE) {
            penX += cps[SPACE_WIDTH_GLYPH].width;
        } else {
            const charProps& g = cps[index];
            const int top = g.topExtent - g.height;
            const int corr = (fontSize - g.height + top) - fontSize;
            const float left = x + penX + g.leftExtent;
            const float right = left + g.width + stretch;
            const float topEdge = y + penY - top + corr;
            const float bottom = y + penY + g.height + corr + stretch;
            if (first) {
                minX = left, minY = topEdge, maxX = right, maxY = bottom;
                first = false;
            } else {
                minX = std::min(minX, left), minY = std::min(minY, topEdge);
                maxX = std::max(maxX, right), maxY = std::max(maxY, bottom);
            }
            penX += g.setWidth;
        }
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

float ofTrueTypeFontWS::stringWidth(const std::wstring& text) {
    return getStringBoundingBox(text, 0, 0).width;
}

float ofTrueTypeFontWS::stringHeight(const std::wstring& text) {
    return getStringBoundingBox(text, 0, 0).height;
}
