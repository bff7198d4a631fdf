// strings: the text functions authors reach for beside strlib: case, trimming,
// searching from a position, replacing, repeating and printf-style formatting.
// Texts are bytes (UTF-8); case changes touch ASCII letters only, so other
// characters pass through whole. No result grows past the longest string.
#include "builtins.h"
#include "builtins_support.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// A field wider than a screenful of text, or a precision finer than any
// number has digits for, is a mistake; the bound also keeps one format from
// asking for gigabytes.
constexpr int MAX_FORMAT_FIELD = 4096;
constexpr const char* WHITESPACE = " \t\r\n\v\f";
// What may stand between "%" and the conversion letter besides digits.
constexpr std::string_view FORMAT_FLAGS = "-+ 0#";

SharedString textAt(const Ref& argument, int index) {
    return parameter(argument, index).value()->toString();
}

// A result text, or the failure of `name` when it would exceed the longest string.
Ref textResult(const std::string& text, const char* name) {
    if (text.size() > SharedString::MAX_LENGTH)
        return failure(name, "the result would be longer than %u bytes", SharedString::MAX_LENGTH);
    return makeString(text);
}

// Case in the "C" sense: ASCII letters only, whatever the user's locale.
char upperByte(char byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}
char lowerByte(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

template <char (*Convert)(char)> Ref mapped(const Ref& argument) {
    std::string text = textAt(argument, 0).str();
    for (char& byte : text)
        byte = Convert(byte);
    return makeString(text);
}

Ref upper(const Ref& argument) {
    return mapped<upperByte>(argument);
}
Ref lower(const Ref& argument) {
    return mapped<lowerByte>(argument);
}

Ref trim(const Ref& argument) {
    SharedString text = textAt(argument, 0);
    std::string_view view = text.view();
    size_t first = view.find_first_not_of(WHITESPACE);
    if (first == std::string_view::npos) return makeString("");
    size_t last = view.find_last_not_of(WHITESPACE);
    return makeString(view.substr(first, last - first + 1));
}

// strings.find(text, part[, start]): the first position at or after start
// where part begins, or -1. A negative start counts from the end.
Ref find(const Ref& argument) {
    SharedString text = textAt(argument, 0);
    SharedString part = textAt(argument, 1);
    int64_t start = parameterCount(argument) > 2 ? parameter(argument, 2).value()->toInt() : 0;
    if (start < 0) start = std::max<int64_t>(start + text.size(), 0);
    if (start > text.size()) return makeInt(-1);
    size_t found = text.view().find(part.view(), static_cast<size_t>(start));
    return makeInt(found == std::string_view::npos ? -1 : static_cast<int32_t>(found));
}

Ref startsWith(const Ref& argument) {
    return makeInt(textAt(argument, 0).view().starts_with(textAt(argument, 1).view()) ? 1 : 0);
}
Ref endsWith(const Ref& argument) {
    return makeInt(textAt(argument, 0).view().ends_with(textAt(argument, 1).view()) ? 1 : 0);
}

// strings.replace(text, old, new): every occurrence of old, left to right.
Ref replace(const Ref& argument) {
    SharedString text = textAt(argument, 0);
    SharedString old = textAt(argument, 1);
    SharedString replacement = textAt(argument, 2);
    if (old.empty()) return failure("strings.replace", "there is no text to replace");
    std::string result;
    std::string_view rest = text.view();
    for (size_t at = rest.find(old.view()); at != std::string_view::npos;
         at = rest.find(old.view())) {
        result.append(rest.substr(0, at)).append(replacement.view());
        rest.remove_prefix(at + old.size());
        if (result.size() > SharedString::MAX_LENGTH) break;
    }
    result.append(rest);
    return textResult(result, "strings.replace");
}

Ref repeat(const Ref& argument) {
    SharedString text = textAt(argument, 0);
    int32_t times = parameter(argument, 1).value()->toInt();
    if (times < 0) return failure("strings.repeat", "cannot repeat %d times", times);
    if (static_cast<uint64_t>(text.size()) * static_cast<uint64_t>(times) >
        SharedString::MAX_LENGTH)
        return failure("strings.repeat", "the result would be longer than %u bytes",
                       SharedString::MAX_LENGTH);
    std::string result;
    result.reserve(static_cast<size_t>(text.size()) * times);
    for (int32_t i = 0; i < times; ++i)
        result.append(text.view());
    return makeString(result);
}

// One conversion of a format: "%" flags width "." precision letter, where
// width and precision are digits or "*" (taken from the next argument).
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char letter = 0;
};

// Walks a format once, taking the values from argument 1 on; every step
// answers "" when it went well, else what is wrong (for the diagnostic).
class FormatReader {
public:
    FormatReader(std::string_view format, const Ref& argument)
        : m_format(format), m_argument(argument) {}

    // Formats the whole text into `out`; answers "" or the problem.
    std::string run(std::string& out);

private:
    // Reads the conversion behind a "%".
    std::string conversion(Conversion& spec);
    std::string field(int& value, const char* what);
    std::string convert(const Conversion& spec, std::string& out);
    Ref nextArgument() { return parameter(m_argument, m_next++); }
    bool hasArgument() const { return m_next < parameterCount(m_argument); }

    std::string_view m_format;
    size_t m_at = 0;
    const Ref& m_argument;
    int m_next = 1;
};

std::string FormatReader::run(std::string& out) {
    while (m_at < m_format.size()) {
        char c = m_format[m_at++];
        if (c != '%') {
            out.push_back(c);
            continue;
        }
        if (m_at < m_format.size() && m_format[m_at] == '%') {
            out.push_back('%');
            ++m_at;
            continue;
        }
        Conversion spec;
        std::string problem = conversion(spec);
        if (problem.empty()) problem = convert(spec, out);
        if (!problem.empty()) return problem;
        if (out.size() > SharedString::MAX_LENGTH) return "the result is too long";
    }
    return "";
}

std::string FormatReader::conversion(Conversion& spec) {
    size_t begin = m_at - 1;
    while (m_at < m_format.size() && FORMAT_FLAGS.find(m_format[m_at]) != std::string_view::npos)
        spec.flags.push_back(m_format[m_at++]);
    std::string problem = field(spec.width, "width");
    if (problem.empty() && m_at < m_format.size() && m_format[m_at] == '.') {
        ++m_at;
        spec.precision = 0;
        problem = field(spec.precision, "precision");
    }
    if (!problem.empty()) return problem;
    spec.letter = m_at < m_format.size() ? m_format[m_at++] : 0;
    if (spec.letter == 0 ||
        std::string_view("diuxXoeEfFgGsc").find(spec.letter) == std::string_view::npos)
        return "unknown format \"" + std::string(m_format.substr(begin, m_at - begin)) + "\"";
    return "";
}

// Digits or "*"; a "*" takes the next argument as the number.
std::string FormatReader::field(int& value, const char* what) {
    int64_t number = -1;
    if (m_at < m_format.size() && m_format[m_at] == '*') {
        ++m_at;
        if (!hasArgument()) return std::string("no value for the ") + what;
        number = nextArgument().value()->toInt();
        if (number < 0) return "negative " + std::string(what) + " " + std::to_string(number);
    }
    while (m_at < m_format.size() && std::isdigit(static_cast<unsigned char>(m_format[m_at]))) {
        number = (number < 0 ? 0 : number) * 10 + (m_format[m_at++] - '0');
        if (number > MAX_FORMAT_FIELD) break;
    }
    if (number > MAX_FORMAT_FIELD)
        return std::string(what) + " above " + std::to_string(MAX_FORMAT_FIELD);
    if (number >= 0) value = static_cast<int>(number);
    return "";
}

// Pads `text` to the width, on the left unless the flags hold "-".
void pad(std::string& out, std::string_view text, const Conversion& spec) {
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    bool left = spec.flags.find('-') != std::string::npos;
    if (left) out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
    if (!left) out.append(text);
}

// The C library formats numbers: the conversion is rebuilt from its checked parts.
template <class T> void printf(std::string& out, const Conversion& spec, T value) {
    std::string format = "%" + spec.flags;
    if (spec.width >= 0) format += std::to_string(spec.width);
    if (spec.precision >= 0) format += "." + std::to_string(spec.precision);
    format += spec.letter;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int size = std::snprintf(nullptr, 0, format.c_str(), value);
    if (size <= 0) return;
    size_t start = out.size();
    out.resize(start + static_cast<size_t>(size) + 1);
    std::snprintf(out.data() + start, static_cast<size_t>(size) + 1, format.c_str(), value);
#pragma GCC diagnostic pop
    out.resize(start + static_cast<size_t>(size));
}

std::string FormatReader::convert(const Conversion& spec, std::string& out) {
    if (!hasArgument()) return std::string("no value for \"%") + spec.letter + "\"";
    Ref value = nextArgument();
    switch (spec.letter) {
    case 'd':
    case 'i':
        printf(out, spec, value.value()->toInt());
        break;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        printf(out, spec, static_cast<uint32_t>(value.value()->toInt()));
        break;
    case 's': {
        SharedString text = value.value()->toString();
        std::string_view view = text.view();
        if (spec.precision >= 0 && view.size() > static_cast<size_t>(spec.precision))
            view = view.substr(0, static_cast<size_t>(spec.precision));
        pad(out, view, spec);
        break;
    }
    case 'c': {
        char byte = static_cast<char>(value.value()->toInt() & 0xFF);
        pad(out, std::string_view(&byte, 1), spec);
        break;
    }
    default:
        printf(out, spec, value.value()->toFloat());
        break;
    }
    return "";
}

// strings.format(format, values...): printf's conversions d i u x X o e E f
// F g G s c, with flags, width and precision.
Ref format(const Ref& argument) {
    SharedString text = textAt(argument, 0);
    std::string out;
    FormatReader reader(text.view(), argument);
    std::string problem = reader.run(out);
    if (!problem.empty()) return failure("strings.format", "%s", problem.c_str());
    return makeString(out);
}

} // namespace

void registerStrings(const Ref& global) {
    Ref strings = libraryObject(global, "strings");
    setFunction(strings, "upper", upper);
    setFunction(strings, "lower", lower);
    setFunction(strings, "trim", trim);
    setFunction(strings, "find", find);
    setFunction(strings, "startswith", startsWith);
    setFunction(strings, "endswith", endsWith);
    setFunction(strings, "replace", replace);
    setFunction(strings, "repeat", repeat);
    setFunction(strings, "format", format);
}

} // namespace Kel::builtins
