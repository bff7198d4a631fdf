// The TrueType font base: the loaded FreeType face, one record and one texture per
// glyph, rasterising a glyph into its texture and drawing one glyph quad. What a
// font loads when, and string drawing and measuring, belong to the derived
// font classes; only this base touches FreeType and GL.
#pragma once

#include "ofGeometry.h"
#include "ofGlyphTable.h"

#include <string>
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
    // Glyphs loaded from now on are measured but get no texture, so a font can
    // measure text where there is no GL context (checking a game headlessly).
    void measureOnly() { bMakeTextures = false; }

protected:
    // Empty texels around a glyph bitmap in its texture, so linear filtering at
    // the quad's edge stays transparent; of them, the part that is drawn.
    static constexpr int GLYPH_BORDER = 3;
    static constexpr int VISIBLE_BORDER = 2;

    bool openFace(const std::string& path, int size); // logs and unloads on failure
    void loadGlyph(int index, int code);              // character code into table entry index
    void unloadFont();                                // frees glyphs, textures and the face
    void drawChar(int index, float x, float y);       // the glyph quad of table entry index
    ofTTFCharacter makeContours() const;              // outline of the glyph in the face's slot
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
    int border = GLYPH_BORDER;
    int visibleBorder = VISIBLE_BORDER;
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
    int glyphLoadCount = 0;
    bool bMakeTextures = true;
};
