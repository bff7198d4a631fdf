// Decimal text of integers, plain and padded to a width, narrow and wide.
// Digits are counted on the magnitude as a 64-bit value so INT32_MIN is safe.
#include "util/ConvString.h"

#include <cstdlib>
#include <cwchar>
#include <sstream>

namespace Kura::ConvString {

namespace {

// Wide enough for "%d" of any 32-bit value with its sign and terminator.
constexpr size_t INT_TEXT_CHARACTERS = 32;

int32_t DigitCount(int32_t value) {
    int64_t magnitude = std::llabs(static_cast<int64_t>(value));
    int32_t digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

// How many pad characters bring the text of value to width characters.
size_t PadCount(int32_t value, int32_t width) {
    int64_t count = static_cast<int64_t>(width) - DigitCount(value) - (value < 0 ? 1 : 0);
    return count > 0 ? static_cast<size_t>(count) : 0;
}

template <typename String>
String Padded(String digits, int32_t value, int32_t width, typename String::value_type pad,
              bool afterSign) {
    size_t at = (afterSign && value < 0) ? 1 : 0;
    digits.insert(at, PadCount(value, width), pad);
    return digits;
}

} // namespace

std::string IntToString(int32_t value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::wstring IntToWString(int32_t value) {
    std::wostringstream out;
    out << value;
    return out.str();
}

std::wstring IntToWStringFast(int32_t value) {
    wchar_t buffer[INT_TEXT_CHARACTERS];
    std::swprintf(buffer, INT_TEXT_CHARACTERS, L"%d", static_cast<int>(value));
    return buffer;
}

std::string PadBlank(int32_t value, int32_t width) {
    return Padded(IntToString(value), value, width, ' ', false);
}

std::wstring PadBlankW(int32_t value, int32_t width) {
    return Padded(IntToWString(value), value, width, L' ', false);
}

std::string PadZero(int32_t value, int32_t width) {
    return Padded(IntToString(value), value, width, '0', true);
}

std::wstring PadZeroW(int32_t value, int32_t width) {
    return Padded(IntToWString(value), value, width, L'0', true);
}

} // namespace Kura::ConvString
