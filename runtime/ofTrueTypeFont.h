// The TrueType font base: the loaded FreeType face, one record and one texture per
// glyph, and the drawing of one glyph quad. Loading, string drawing and measuring
// belong to the derived font classes.
#pragma once

#include "ofGeometry.h"
#include "ofGlyphTable.h"

#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One rasterised glyph; value is -1 until the glyph has been loaded.
struct charProps {
    int value = -1;
    int height = 0;     // bitmap rows above the baseline
    int width = 0;      // bitmap width in pixels
    int setWidth = 0;   // horizontal advance in pixels
    int topExtent = 0;  // bitmap rows
    int leftExtent = 0; // left bearing in pixels
    float tW = 0.0f;    // drawn part of the texture, as fractions of its size
    float tH = 0.0f;
    float xOff = 0.0f;
    float yOff = 0.0f;
};

using ofTTFContour = std::vector<ofPoint>;
using ofTTFCharacter = std::vector<ofTTFContour>;

class ofTrueTypeFont {
public:
    ofTrueTypeFont() = default;
    virtual ~ofTrueTypeFont();
    ofTrueTypeFont(const ofTrueTypeFont&) = delete;
    ofTrueTypeFont& operator=(const ofTrueTypeFont&) = delete;

    bool isLoaded() const { return bLoadedOk; }
    int getSize() const { return fontSize; }
    float getLineHeight() const { return lineHeight; }
    int getCharacterCount() const { return nCharacters; }
    int getGlyphLoadCount() const { return glyphLoadCount; } // rasterisations so far

protected:
    void unloadFont();                          // frees glyphs, textures and the face
    void drawChar(int index, float x, float y); // the glyph quad of table entry index
    ofTTFCharacter makeContours() const;        // outline of the glyph in the face's slot
    static void drawContoursFilled(const ofTTFCharacter& character, float x, float y);

    bool bLoadedOk = false;
    bool bAntiAliased = false;
    bool bFullCharacterSet = false;
    int nCharacters = 0;
    ofGlyphTable<ofTTFCharacter> charOutlines;
    float lineHeight = 0.0f;
    ofGlyphTable<charProps> cps;
    ofGlyphTable<unsigned int> texNames; // 0 until the glyph is first rasterised
    int fontSize = 0;
    bool bMakeContours = false;
    int border = 3;        // empty texels around a glyph bitmap in its texture
    int visibleBorder = 2; // the part of the border that is drawn
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
    int glyphLoadCount = 0;
};
