// Wide-string TrueType text. A glyph's texture name is generated when the glyph is
// first rasterised, not at load: generating names for the whole table up front
// costs about half a second and over 100 MB per font in a software GL driver.
#include "of/ofTrueTypeFontWS_v001.h"

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

constexpr const char* SOURCE = "src\\of\\ofTrueTypeFontWS_v001";
constexpr int DRAW_STRING_LINE = 491;
constexpr int DRAW_SHAPES_LINE = 584;
constexpr int DPI = 96;
constexpr float LINE_HEIGHT_PER_SIZE = 1.43f;
constexpr int FIXED_26_6_SHIFT = 6;
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
    lineHeight = size * LINE_HEIGHT_PER_SIZE;
    nCharacters = fullCharacterSet ? FULL_CHARACTER_COUNT : BASIC_CHARACTER_COUNT;
    cps.assign(nCharacters, charProps{});
    texNames.assign(nCharacters, 0);
    if (bMakeContours) charOutlines.assign(nCharacters, ofTTFCharacter{});

    loadGlyph(SPACE_WIDTH_GLYPH);
    bLoadedOk = true;
    return true;
}

// Rasterises glyph index into a luminance-alpha texture with an empty border
// around the bitmap, so linear filtering at the quad's edge stays transparent.
void ofTrueTypeFontWS::loadGlyph(int index) {
    ++glyphLoadCount;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, index + FIRST_CHARACTER), FT_LOAD_DEFAULT) != 0)
        ofLog(OF_LOG_ERROR, "error with FT_Load_Glyph %i", index);
    // The outline is taken before rendering replaces it with the bitmap.
    if (bMakeContours) charOutlines[index] = makeContours();
    FT_Render_Glyph(face->glyph, bAntiAliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO);
    border = 3;
    visibleBorder = 2;

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    int texW = ofNextPow2(width + 2 * border);
    int texH = ofNextPow2(rows + 2 * border);
    if (texW == 1) texW = 2;
    if (texH == 1) texH = 2;

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

    // Two bytes per texel: luminance always white, alpha the glyph's coverage.
    std::vector<GLubyte> texels(static_cast<size_t>(texW) * texH * 2, 0);
    for (size_t i = 0; i < texels.size(); i += 2)
        texels[i] = 255;
    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < width; ++x) {
            if (bAntiAliased) {
                texels[2 * ((y + border) * texW + x + border) + 1] = row[x];
            } else {
                const bool on = (row[x / 8] & (0x80 >> (x % 8))) != 0;
                texels[2 * ((y + 1) * texW + x + 1) + 1] = on ? 255 : 0;
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

void ofTrueTypeFontWS::reportUnloaded(int line) {
    if (m_unloadedReported) return;
    m_unloadedReported = true;
    ofLog(OF_LOG_ERROR, "Error : font not allocated (%s) -- line %d in %s", m_fileName.c_str(),
          line, SOURCE);
}

void ofTrueTypeFontWS::ensureGlyph(int index) {
    if (index >= 0 && index < nCharacters && cps[index].value == -1) loadGlyph(index);
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
