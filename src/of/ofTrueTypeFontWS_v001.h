// A TrueType font for wide-character strings. Glyphs are rasterised one by one,
// each into a texture of its own, the first time a string holding them is drawn
// or measured, so fonts with thousands of characters cost only what is shown.
#pragma once

#include "ofTrueTypeFont.h"

#include <string>

class ofTrueTypeFontWS : public ofTrueTypeFont {
public:
    // Glyph-table entry i stands for character code i + FIRST_CHARACTER.
    static constexpr int FIRST_CHARACTER = 33;
    static constexpr int FULL_CHARACTER_COUNT = 100000;
    static constexpr int BASIC_CHARACTER_COUNT = 95;
    // The width of this glyph ("p") is what a space advances.
    static constexpr int SPACE_WIDTH_GLYPH = 'p' - FIRST_CHARACTER;

    // Relative file names are read from the data folder. A file that cannot be
    // used is logged and leaves the font unloaded.
    bool loadFont(const std::string& fileName, int fontSize, bool antiAliased = true,
                  bool fullCharacterSet = false, bool makeContours = false);

    void drawString(const std::wstring& text, float x, float y); // baseline of the text at y
    void drawStringAsShapes(const std::wstring& text, float x, float y);
    ofRectangle getStringBoundingBox(const std::wstring& text, float x, float y);
    float stringWidth(const std::wstring& text);
    float stringHeight(const std::wstring& text);

private:
    // Logs, the first time only, that this font is drawn without being loaded:
    // a missing font file would otherwise fill the output every frame.
    void reportUnloaded(int line);
    void ensureGlyph(int index); // loads it if it is in the table and not loaded yet

    std::string m_fileName; // as given to loadFont, for the report
    bool m_unloadedReported = false;
};
