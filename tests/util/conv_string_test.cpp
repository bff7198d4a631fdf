// Text conversions: round trips of Japanese script text, invalid input turned into
// replacement characters, the buffer forms, and the whole-character prefix used
// when a message is typed out byte by byte.
#include "util/ConvString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace CS = Kura::ConvString;

const std::string kJapanese = "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF"
                              "\xE3\x80\x81\xE4\xB8\x96\xE7\x95\x8C"; // こんにちは、世界
const std::string kReplacement = "\xEF\xBF\xBD";

TEST(ConvStringRoundTrip, EveryEncodingLengthJapaneseLongAndEmptyTextComeBack) {
    std::string longText;
    for (int i = 0; i < 2000; ++i)
        longText += "\xE3\x81\x82";
    const std::pair<std::string, std::wstring> rows[] = {
        {kJapanese, L"こんにちは、世界"},
        {"A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80~\\", L"A\u00E9\u3042\U0001F600~\\"},
        {longText, std::wstring(2000, L'\u3042')},
        {"", L""}};
    for (const auto& [narrow, wide] : rows) {
        EXPECT_EQ(CS::Utf8ToAnsi(narrow), narrow);
        EXPECT_EQ(CS::AnsiToUtf8(narrow), narrow);
        EXPECT_EQ(CS::AnsiToWide(narrow), wide);
        EXPECT_EQ(CS::WideToAnsi(wide), narrow);
        EXPECT_EQ(CS::WideToUtf8(wide), narrow);
    }
}

TEST(ConvStringInvalid, BadOrTruncatedBytesBecomeReplacementsAndTheRestSurvives) {
    EXPECT_EQ(CS::Utf8ToAnsi("a\xFF"
                             "b"),
              "a" + kReplacement + "b");
    EXPECT_EQ(CS::AnsiToUtf8("\xF0\x9F\x98"), kReplacement);
    const std::pair<const char*, std::wstring> rows[] = {
        {"\x80", L"\uFFFD"},
        // Overlong slash, an encoded surrogate and a code point past U+10FFFF.
        {"\xC0\xAF", L"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
        // A truncated sequence is one replacement.
        {"\xE3\x81x", L"\uFFFDx"},
        {"x\xE3\x81", L"x\uFFFD"},
        {"\x82\xA0\x82\xA2", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // あい in the old code page
    };
    for (const auto& [narrow, wide] : rows)
        EXPECT_EQ(CS::AnsiToWide(narrow), wide) << narrow;
}

TEST(ConvStringInvalid, UnencodableWideCharactersBecomeReplacements) {
    std::wstring wide;
    wide += static_cast<wchar_t>(0xD800);
    wide += static_cast<wchar_t>(0x110000);
    wide += L'z';
    EXPECT_EQ(CS::WideToUtf8(wide), kReplacement + kReplacement + "z");
}

TEST(ConvStringBuffer, WritesAndTerminatesWhenItFits) {
    char narrow[16] = "garbage";
    EXPECT_EQ(CS::WideToAnsi(L"\u3042a", narrow, sizeof narrow), 4u);
    EXPECT_STREQ(narrow, "\xE3\x81\x82"
                         "a");
    wchar_t wide[8] = L"junk";
    EXPECT_EQ(CS::AnsiToWide("\xE3\x81\x82"
                             "a",
                             wide, 8),
              2u);
    EXPECT_EQ(std::wstring(wide), L"\u3042a");
}

TEST(ConvStringBuffer, NullEmptyOrTooSmallWritesNothing) {
    char narrow[4] = "xyz";
    EXPECT_EQ(CS::WideToAnsi(nullptr, narrow, sizeof narrow), 0u);
    EXPECT_STREQ(narrow, "");
    EXPECT_EQ(CS::WideToAnsi(L"\u3042\u3042", narrow, sizeof narrow), 0u);
    EXPECT_STREQ(narrow, "");
    EXPECT_EQ(CS::WideToAnsi(L"abc", nullptr, 10), 0u);
    wchar_t wide[3] = L"ab";
    EXPECT_EQ(CS::AnsiToWide("", wide, 3), 0u);
    EXPECT_EQ(wide[0], L'\0');
    EXPECT_EQ(CS::AnsiToWide("abc", wide, 3), 0u);
    EXPECT_EQ(wide[0], L'\0');
    EXPECT_EQ(CS::AnsiToWide("ab", wide, 3), 2u);
}

// Widths as in the double-byte code page: ASCII and half-width katakana one,
// kana and kanji two; an invalid byte counts as a character of its own.
TEST(ConvStringTyping, PrefixNeverEndsInsideACharacter) {
    const std::string text = "a\xE3\x81\x82"
                             "b\xEF\xBD\xB1"; // a あ b ｱ
    const std::string invalid = "\xFF\xE3\x81";
    const struct {
        const std::string& text;
        size_t maxWidth, bytes, width;
    } rows[] = {{text, 0, 0, 0},    {text, 1, 1, 1},   {text, 2, 1, 1},  {text, 3, 4, 3},
                {text, 4, 5, 4},    {text, 5, 8, 5},   {text, 99, 8, 5}, {invalid, 1, 0, 0},
                {invalid, 2, 1, 2}, {invalid, 4, 3, 4}};
    for (const auto& row : rows) {
        CS::WidthPrefix prefix = CS::Utf8PrefixWithinWidth(row.text, row.maxWidth);
        EXPECT_EQ(prefix.bytes, row.bytes) << row.maxWidth;
        EXPECT_EQ(prefix.width, row.width) << row.maxWidth;
    }
}

TEST(NumberText, PlainAndPaddedDecimal) {
    EXPECT_EQ(CS::IntToString(-120), "-120");
    EXPECT_EQ(CS::IntToWString(0), L"0");
    EXPECT_EQ(CS::IntToWStringFast(INT32_MIN), L"-2147483648");
    EXPECT_EQ(CS::IntToWStringFast(34), L"34");
    // Blanks go in front, zeros after the sign.
    EXPECT_EQ(CS::PadBlank(-5, 4), "  -5");
    EXPECT_EQ(CS::PadBlankW(7, 3), L"  7");
    EXPECT_EQ(CS::PadBlank(12345, 3), "12345");
    EXPECT_EQ(CS::PadBlank(1, -2), "1");
    EXPECT_EQ(CS::PadZero(-5, 4), "-005");
    EXPECT_EQ(CS::PadZeroW(0, 2), L"00");
    EXPECT_EQ(CS::PadZeroW(-12, 3), L"-12");
    EXPECT_EQ(CS::PadZero(INT32_MIN, 12), "-02147483648");
    EXPECT_EQ(CS::PadZero(INT32_MAX, 10), "2147483647");
}

} // namespace
