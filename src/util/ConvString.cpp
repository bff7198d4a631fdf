// UTF-8 decoding and encoding behind the narrow/wide conversions. Invalid input
// never stops a conversion: each maximal invalid subsequence becomes U+FFFD.
// Wide text is UTF-32 here (4-byte wchar_t).
#include "util/ConvString.h"

#include <cstring>
#include <cwchar>

namespace Kura::ConvString {

static_assert(sizeof(wchar_t) == 4, "wide text is taken as UTF-32");

namespace {

constexpr char32_t MAX_CODE_POINT = 0x10FFFF;

struct Decoded {
    char32_t codePoint; // REPLACEMENT_CHARACTER for an invalid sequence
    size_t length;      // bytes consumed, at least 1
};

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Reads one character at text[pos]. The valid range of the second byte rules out
// overlong forms, surrogates and code points above U+10FFFF.
Decoded DecodeOne(const std::string& text, size_t pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    size_t need = 0;
    char32_t value = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {REPLACEMENT_CHARACTER, 1};
    }
    size_t used = 1;
    for (size_t i = 0; i < need; ++i, ++used) {
        if (pos + used >= text.size()) return {REPLACEMENT_CHARACTER, used};
        auto byte = static_cast<unsigned char>(text[pos + used]);
        bool inRange = i == 0 ? (byte >= low && byte <= high) : IsContinuation(byte);
        if (!inRange) return {REPLACEMENT_CHARACTER, used};
        value = (value << 6) | (byte & 0x3F);
    }
    return {value, used};
}

bool IsEncodable(char32_t c) {
    return c <= MAX_CODE_POINT && (c < 0xD800 || c > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (!IsEncodable(c)) c = REPLACEMENT_CHARACTER;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Narrow text to narrow text with every invalid sequence replaced.
std::string Sanitized(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        Decoded d = DecodeOne(text, pos);
        if (d.codePoint == REPLACEMENT_CHARACTER)
            AppendUtf8(out, d.codePoint);
        else
            out.append(text, pos, d.length);
        pos += d.length;
    }
    return out;
}

} // namespace

std::string Utf8ToAnsi(const std::string& text) {
    return Sanitized(text);
}

std::string AnsiToUtf8(const std::string& text) {
    return Sanitized(text);
}

std::wstring AnsiToWide(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        Decoded d = DecodeOne(text, pos);
        out += static_cast<wchar_t>(d.codePoint);
        pos += d.length;
    }
    return out;
}

std::string WideToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        AppendUtf8(out, static_cast<char32_t>(c));
    return out;
}

std::string WideToAnsi(const std::wstring& text) {
    return WideToUtf8(text);
}

size_t WideToAnsi(const wchar_t* text, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    buffer[0] = '\0';
    if (text == nullptr || *text == L'\0') return 0;
    std::string converted = WideToAnsi(std::wstring(text));
    if (converted.size() >= bufferSize) return 0;
    std::memcpy(buffer, converted.c_str(), converted.size() + 1);
    return converted.size();
}

size_t AnsiToWide(const char* text, wchar_t* buffer, size_t bufferCharacters) {
    if (buffer == nullptr || bufferCharacters == 0) return 0;
    buffer[0] = L'\0';
    if (text == nullptr || *text == '\0') return 0;
    std::wstring converted = AnsiToWide(std::string(text));
    if (converted.size() >= bufferCharacters) return 0;
    std::wmemcpy(buffer, converted.c_str(), converted.size() + 1);
    return converted.size();
}

size_t CodePageWidth(char32_t character) {
    constexpr char32_t ASCII_END = 0x80;
    constexpr char32_t HALF_WIDTH_KATAKANA_FIRST = 0xFF61, HALF_WIDTH_KATAKANA_LAST = 0xFF9F;
    bool singleByte = character < ASCII_END || (character >= HALF_WIDTH_KATAKANA_FIRST &&
                                                character <= HALF_WIDTH_KATAKANA_LAST);
    return singleByte ? 1 : 2;
}

WidthPrefix Utf8PrefixWithinWidth(const std::string& text, size_t maxWidth) {
    WidthPrefix prefix{0, 0};
    while (prefix.bytes < text.size()) {
        Decoded d = DecodeOne(text, prefix.bytes);
        size_t width = prefix.width + CodePageWidth(d.codePoint);
        if (width > maxWidth) break;
        prefix = {prefix.bytes + d.length, width};
    }
    return prefix;
}

} // namespace Kura::ConvString
