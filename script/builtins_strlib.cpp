// strlib: byte-string functions and console input. Strings are bytes here
// (scripts hold UTF-8); indexes and lengths count bytes.
#include "builtins.h"
#include "builtins_support.h"

#include "object.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

SharedString textOf(const Ref& value) {
    return value.value()->toString();
}
int32_t intOf(const Ref& value) {
    return value.value()->toInt();
}

// The byte a search looks for: the first byte of the argument's text (the
// terminating zero for an empty text, which no text holds).
char searchByte(const Ref& value) {
    return textOf(value).c_str()[0];
}

Ref byteString(int32_t code) {
    char byte = static_cast<char>(code & 0xFF);
    return makeString(std::string_view(&byte, 1));
}

Ref charOf(const Ref& argument) {
    return byteString(intOf(argument));
}

Ref ctoi(const Ref& argument) {
    SharedString text = textOf(argument);
    return makeInt(text.empty() ? 0 : static_cast<signed char>(text.data()[0]));
}

Ref length(const Ref& argument) {
    return makeInt(static_cast<int32_t>(textOf(argument).size()));
}

// substr(text, start, length): a start past the end (or negative, compared
// unsigned) gives ""; a length of 0, negative or too long runs to the end.
Ref substr(const Ref& argument) {
    SharedString text = textOf(argumentAt(argument, 0));
    uint32_t start = static_cast<uint32_t>(intOf(argumentAt(argument, 1)));
    int32_t count = intOf(argumentAt(argument, 2));
    if (text.empty() || start >= text.size()) return makeString("");
    uint32_t rest = text.size() - start;
    uint32_t take = count <= 0 || static_cast<uint32_t>(count) > rest ? rest : count;
    return makeString(text.view().substr(start, take));
}

Ref find(const Ref& argument) {
    SharedString text = textOf(argumentAt(argument, 0));
    char wanted = searchByte(argumentAt(argument, 1));
    int32_t start = intOf(argumentAt(argument, 2));
    if (start < 0 || text.empty()) return makeInt(-1);
    for (uint32_t i = static_cast<uint32_t>(start); i < text.size(); ++i) {
        if (text.data()[i] == wanted) return makeInt(static_cast<int32_t>(i));
    }
    return makeInt(-1);
}

Ref rfind(const Ref& argument) {
    SharedString text = textOf(argumentAt(argument, 0));
    char wanted = searchByte(argumentAt(argument, 1));
    int32_t start = argumentCount(argument) < 3 ? -1 : intOf(argumentAt(argument, 2));
    if (text.empty()) return makeInt(-1);
    int32_t last = static_cast<int32_t>(text.size()) - 1;
    if (start < 0 || start > last) start = last;
    for (int32_t i = start; i >= 0; --i) {
        if (text.data()[i] == wanted) return makeInt(i);
    }
    return makeInt(-1);
}

// split(text, separator): every separator byte ends a field, so touching
// separators give empty fields and a trailing one gives an empty last field.
Ref split(const Ref& argument) {
    SharedString text = textOf(argumentAt(argument, 0));
    char separator = searchByte(argumentAt(argument, 1));
    Ref list = makeObject();
    std::vector<Ref>& fields = static_cast<vObject*>(list.value())->elements();
    std::string_view rest = text.view();
    size_t separators = static_cast<size_t>(std::count(rest.begin(), rest.end(), separator));
    if (separators >= static_cast<size_t>(MAX_ELEMENTS))
        return failure("strlib.split", "%zu fields are more than a list may hold (%d)",
                       separators + 1, MAX_ELEMENTS);
    fields.reserve(separators + 1);
    for (size_t at = rest.find(separator); at != std::string_view::npos;
         at = rest.find(separator)) {
        fields.push_back(makeString(rest.substr(0, at)));
        rest.remove_prefix(at + 1);
    }
    fields.push_back(makeString(rest));
    return list;
}

// getchar: one byte of standard input; at the end of input an empty string
// rather than a byte 0xFF that a script could not tell from real input.
Ref getChar(const Ref&) {
    int byte = std::getchar();
    if (byte == EOF) return makeString("");
    return byteString(byte);
}

Ref gets(const Ref&) {
    std::string line;
    for (int byte = std::getchar(); byte != EOF; byte = std::getchar()) {
        line.push_back(static_cast<char>(byte));
        if (byte == '\n') break;
    }
    return makeString(line);
}

} // namespace

void registerStrlib(const Ref& global) {
    Ref strlib = libraryObject(global, "strlib");
    setFunction(strlib, "char", charOf);
    setFunction(strlib, "ctoi", ctoi);
    setFunction(strlib, "length", length);
    setFunction(strlib, "substr", substr);
    setFunction(strlib, "find", find);
    setFunction(strlib, "rfind", rfind);
    setFunction(strlib, "split", split);
    setFunction(strlib, "getchar", getChar);
    setFunction(strlib, "gets", gets);
}

} // namespace Kel::builtins
