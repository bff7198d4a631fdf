// The font base: releasing a loaded font and drawing one glyph from its texture.
#include "ofTrueTypeFont.h"

#include "ofDrawCommand.h"
#include "ofGraphics.h"
#include "ofLog.h"

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H

ofTrueTypeFont::~ofTrueTypeFont() {
    unloadFont();
}

void ofTrueTypeFont::unloadFont() {
    texNames.forEachMade([](unsigned int& name) {
        if (name == 0) return;
        glDeleteTextures(1, &name);
        ofNoteTextureChanged(name);
    });
    texNames.clear();
    cps.clear();
    charOutlines.clear();
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
    face = nullptr;
    library = nullptr;
    bLoadedOk = false;
}

// The quad is stretched by the visible border on every side so that the glyph's
// anti-aliased edge is not cut; corr places the bitmap relative to the baseline.
void ofTrueTypeFont::drawChar(int index, float x, float y) {
    if (index < 0 || index >= nCharacters || !glIsTexture(texNames[index])) {
        ofLog(OF_LOG_WARNING, " texture not bound for character -- line %d in %s", __LINE__,
              "ofTrueTypeFont.cpp");
        return;
    }
    const charProps& g = cps[index];
    const int stretch = 2 * visibleBorder;
    const int top = g.topExtent - g.height;
    const int corr = (fontSize - g.height + top) - fontSize;

    const float x1 = x + g.leftExtent;
    const float x2 = x1 + g.width + stretch;
    const float y1 = y - top + corr;
    const float y2 = y + g.height + corr + stretch;
    ofBindTexture(texNames[index]);
    ofDrawGlyphQuad(x1, y1, x2, y2, g.xOff, g.xOff + g.tW, g.yOff, g.yOff + g.tH);
}
