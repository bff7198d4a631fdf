// The text service over the game's wide-character fonts. Index checks report and
// then skip the call, so a bad font number never reaches the font list.
#include "of/ImageFont.h"

#include "of/ofTrueTypeFontWS_v001.h"
#include "ofGraphics.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Kura {

namespace {

constexpr const char* SOURCE = "src\\of\\ImageFont";
// A tall, dense kanji: its box is the line height of a font.
constexpr wchar_t LINE_HEIGHT_CHARACTER[] = L"\u9B31";
ImageFont* g_pInstance = nullptr;

// Measures are 16-bit; a text too wide for that reads as the widest measure
// instead of an undefined conversion.
int16_t toMeasure(float pixels) {
    return static_cast<int16_t>(
        std::clamp(pixels, static_cast<float>(INT16_MIN), static_cast<float>(INT16_MAX)));
}

} // namespace

struct ImageFont::Impl {
    std::vector<std::unique_ptr<ofTrueTypeFontWS>> font;
    int32_t fontIndex = 0;
    uint8_t color[4] = {255, 255, 255, 255};
    int16_t letterSpacing = 0;
    bool measureOnly = false;

    bool has(int32_t index) const { return index >= 0 && static_cast<size_t>(index) < font.size(); }
};

ImageFont::ImageFont() : m_pImpl(std::make_unique<Impl>()) {}
ImageFont::~ImageFont() = default;

void ImageFont::Create() {
    if (g_pInstance == nullptr) g_pInstance = new ImageFont;
}

void ImageFont::Destroy() {
    delete g_pInstance;
    g_pInstance = nullptr;
}

ImageFont* ImageFont::Get() {
    KURA_CHECK(g_pInstance, "g_pInstance", SOURCE, "Kura::ImageFont::Get", __LINE__);
    return g_pInstance;
}

void ImageFont::AddFont(const std::string& filePath, int32_t size) {
    auto font = std::make_unique<ofTrueTypeFontWS>();
    if (m_pImpl->measureOnly) font->measureOnly();
    font->loadFont(filePath, size, true, true, false);
    m_pImpl->font.push_back(std::move(font));
}

void ImageFont::SetMeasureOnly() {
    m_pImpl->measureOnly = true;
}

void ImageFont::SetFontType(int32_t fontIndex) {
    KURA_CHECK(m_pImpl->has(fontIndex), "fontIndex>=0 && fontIndex<m_pImpl->font.size()", SOURCE,
               "Kura::ImageFont::SetFontType", __LINE__);
    m_pImpl->fontIndex = fontIndex;
}

void ImageFont::SetLetterSpacing(int16_t spacing) {
    m_pImpl->letterSpacing = spacing;
}

void ImageFont::SetColor(uint32_t abgr) {
    uint8_t* c = m_pImpl->color;
    c[0] = static_cast<uint8_t>(abgr);
    c[1] = static_cast<uint8_t>(abgr >> 8);
    c[2] = static_cast<uint8_t>(abgr >> 16);
    c[3] = static_cast<uint8_t>(abgr >> 24);
    ofSetColor(c[0], c[1], c[2], c[3]);
}

void ImageFont::Draw(int32_t x, int32_t y, const char* text) {
    if (!KURA_CHECK(text, "text", SOURCE, "Kura::ImageFont::Draw", __LINE__)) return;
    Draw(x, y, ConvString::AnsiToWide(text).c_str());
}

void ImageFont::Draw(int32_t x, int32_t y, const wchar_t* text) {
    if (!KURA_CHECK(text, "text", SOURCE, "Kura::ImageFont::Draw", __LINE__)) return;
    if (!KURA_CHECK(m_pImpl->has(m_pImpl->fontIndex),
                    "m_pImpl->fontIndex>=0 && m_pImpl->fontIndex<m_pImpl->font.size()", SOURCE,
                    "Kura::ImageFont::Draw", __LINE__))
        return;
    const int32_t half = GetLineHeight() / 2;
    ofPushMatrix();
    ofTranslate(static_cast<float>(x), static_cast<float>(y + half));
    ofTranslate(0.0f, static_cast<float>(half));
    m_pImpl->font[m_pImpl->fontIndex]->drawString(text, 0.0f, 0.0f);
    ofPopMatrix();
}

int16_t ImageFont::GetWidth(int32_t fontIndex, const std::wstring& text) {
    if (!KURA_CHECK(m_pImpl->has(fontIndex), "fontIndex>=0 && fontIndex<m_pImpl->font.size()",
                    SOURCE, "Kura::ImageFont::GetWidth", __LINE__))
        return 0;
    const float width = m_pImpl->font[fontIndex]->stringWidth(text) +
                        static_cast<float>(text.size()) * m_pImpl->letterSpacing;
    return toMeasure(width);
}

int16_t ImageFont::GetWidth(const std::wstring& text) {
    return GetWidth(m_pImpl->fontIndex, text);
}

int16_t ImageFont::GetLineHeight() {
    if (!KURA_CHECK(m_pImpl->has(m_pImpl->fontIndex),
                    "m_pImpl->fontIndex>=0 && m_pImpl->fontIndex<m_pImpl->font.size()", SOURCE,
                    "Kura::ImageFont::GetLineHeight", __LINE__))
        return 0;
    return toMeasure(m_pImpl->font[m_pImpl->fontIndex]->stringHeight(LINE_HEIGHT_CHARACTER));
}

size_t ImageFont::GetFontCount() const {
    return m_pImpl->font.size();
}

ofTrueTypeFontWS* ImageFont::GetFont(int32_t fontIndex) const {
    return m_pImpl->has(fontIndex) ? m_pImpl->font[fontIndex].get() : nullptr;
}

} // namespace Kura
