// The process-wide text service: the game's loaded fonts, the current one, a text
// colour and a per-character width allowance; drawing at a top-left point.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ofTrueTypeFontWS;

namespace Kura {

class ImageFont {
public:
    static void Create();
    static void Destroy();
    static ImageFont* Get();

    // Appends the font even when it cannot be loaded, so font numbers stay fixed.
    void AddFont(const std::string& filePath, int32_t size);
    // Fonts added from now on measure text but never draw it, so text can be
    // measured where there is no GL context (checking a game headlessly).
    void SetMeasureOnly();
    void SetFontType(int32_t fontIndex);
    void SetLetterSpacing(int16_t spacing); // pixels added per character when measuring
    void SetColor(uint32_t abgr);           // 0xAABBGGRR; also becomes the drawing colour

    // y is the top of the line; the baseline lies two half line heights below it.
    void Draw(int32_t x, int32_t y, const char* text); // narrow engine text
    void Draw(int32_t x, int32_t y, const wchar_t* text);

    int16_t GetWidth(int32_t fontIndex, const std::wstring& text);
    int16_t GetWidth(const std::wstring& text);
    int16_t GetLineHeight(); // height of one tall character in the current font

    size_t GetFontCount() const;
    ofTrueTypeFontWS* GetFont(int32_t fontIndex) const; // null when out of range

private:
    ImageFont();
    ~ImageFont();
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace Kura
