// Every text conversion of the engine: script text (UTF-8), the narrow text the
// engine keeps (its code page, which is UTF-8 here so that every script text and
// file name round-trips) and the wide text that is drawn. Also number-to-text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Kura::ConvString {

// Stands in for every byte sequence that is not valid UTF-8.
inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Narrow and script text. Valid input comes back byte for byte; each invalid
// sequence becomes U+FFFD, so the result is always whole characters.
std::string Utf8ToAnsi(const std::string& text);
std::string AnsiToUtf8(const std::string& text);

// Narrow to wide and back.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);

// Into a caller's buffer, zero-terminated. Answer the units written without the
// terminator; 0 (and an empty buffer) for a null or empty text, a null buffer, or
// a result that does not fit.
size_t WideToAnsi(const wchar_t* text, char* buffer, size_t bufferSize);
size_t AnsiToWide(const char* text, wchar_t* buffer, size_t bufferCharacters);

// The width of a character in the code page the message typing was made for,
// where ASCII and half-width katakana take one byte and every other character
// (kana, kanji, full-width forms) two: typing shows one width unit a step.
size_t CodePageWidth(char32_t character);

// The longest prefix of text, in whole characters, whose code-page width is at
// most maxWidth: its length in bytes and its width.
struct WidthPrefix {
    size_t bytes;
    size_t width;
};
WidthPrefix Utf8PrefixWithinWidth(const std::string& text, size_t maxWidth);

// Decimal text.
std::string IntToString(int32_t value);
std::wstring IntToWString(int32_t value);
std::wstring IntToWStringFast(int32_t value);

// Decimal text at least width characters long: blanks before it, or zeros after
// the minus sign of a negative value.
std::string PadBlank(int32_t value, int32_t width);
std::wstring PadBlankW(int32_t value, int32_t width);
std::string PadZero(int32_t value, int32_t width);
std::wstring PadZeroW(int32_t value, int32_t width);

} // namespace Kura::ConvString
