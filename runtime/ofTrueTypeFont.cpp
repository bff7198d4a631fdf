// The font base: opening a face, rasterising one glyph into its texture,
// releasing a loaded font and drawing one glyph from its texture.
#include "ofTrueTypeFont.h"

#include "ofDrawCommand.h"
#include "ofGraphics.h"
#include "ofLog.h"

#include "ofUtils.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstddef>
#include <ft2build.h>
#include <vector>
#include FT_FREETYPE_H

namespace {

constexpr int DPI = 96;
// FreeType sizes and advances are 26.6 fixed-point numbers.
constexpr int FIXED_26_6_SHIFT = 6;
constexpr GLubyte OPAQUE = 255;
// A monochrome bitmap sits one texel in from the corner: it is drawn with
// nearest filtering, which never reaches past its edge.
constexpr int MONO_OFFSET = 1;
// The smallest power-of-two side the glyph textures are given.
constexpr int MIN_TEXTURE_SIZE = 2;

} // namespace

bool ofTrueTypeFont::openFace(const std::string& path, int size) {
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        ofLog(OF_LOG_ERROR, " PROBLEM WITH FT lib");
        return false;
    }
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0 ||
        FT_Set_Char_Size(face, size << FIXED_26_6_SHIFT, size << FIXED_26_6_SHIFT, DPI, DPI) != 0) {
        ofLog(OF_LOG_ERROR, "ofTrueTypeFontWS: could not load font %s at size %d", path.c_str(),
              size);
        unloadFont();
        return false;
    }
    return true;
}

// Rasterises glyph index into a luminance-alpha texture with an empty border
// around the bitmap, so linear filtering at the quad's edge stays transparent.
void ofTrueTypeFont::loadGlyph(int index, int code) {
    ++glyphLoadCount;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code), FT_LOAD_DEFAULT) != 0)
        ofLog(OF_LOG_ERROR, "error with FT_Load_Glyph %i", index);
    // The outline is taken before rendering replaces it with the bitmap.
    if (bMakeContours) charOutlines[index] = makeContours();
    FT_Render_Glyph(face->glyph, bAntiAliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO);

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    int texW = ofNextPow2(width + 2 * border);
    int texH = ofNextPow2(rows + 2 * border);
    texW = std::max(texW, MIN_TEXTURE_SIZE);
    texH = std::max(texH, MIN_TEXTURE_SIZE);

    charProps& g = cps[index];
    g.value = index;
    g.height = face->glyph->bitmap_top;
    g.width = width;
    g.setWidth = static_cast<int>(face->glyph->advance.x >> FIXED_26_6_SHIFT);
    g.topExtent = rows;
    g.leftExtent = face->glyph->bitmap_left;
    g.tW = static_cast<float>(width + 2 * visibleBorder) / texW;
    g.tH = static_cast<float>(rows + 2 * visibleBorder) / texH;
    g.xOff = static_cast<float>(border - visibleBorder) / texW;
    g.yOff = static_cast<float>(border - visibleBorder) / texH;
    if (!bMakeTextures) return;

    // Two bytes per texel: luminance always white, alpha the glyph's coverage.
    std::vector<GLubyte> texels(static_cast<size_t>(texW) * texH * 2, 0);
    for (size_t i = 0; i < texels.size(); i += 2)
        texels[i] = OPAQUE;
    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < width; ++x) {
            if (bAntiAliased) {
                texels[2 * ((y + border) * texW + x + border) + 1] = row[x];
            } else {
                const bool on = (row[x / 8] & (0x80 >> (x % 8))) != 0;
                texels[2 * ((y + MONO_OFFSET) * texW + x + MONO_OFFSET) + 1] = on ? OPAQUE : 0;
            }
        }
    }

    if (texNames[index] == 0) glGenTextures(1, &texNames[index]);
    const GLint filter = bAntiAliased ? GL_LINEAR : GL_NEAREST;
    glBindTexture(GL_TEXTURE_2D, texNames[index]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, texW, texH, 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    ofNoteTextureChanged(texNames[index]);
}

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
