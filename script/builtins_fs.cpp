// fs: whether a file is there, and a text file read whole as a list of lines.
// Paths are used as given (relative to the working folder), as `file` does.
#include "builtins.h"
#include "builtins_support.h"

#include "object.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

Ref exists(const Ref& argument) {
    SharedString path = parameter(argument, 0).value()->toString();
    struct stat status;
    return makeInt(!path.empty() && ::stat(path.c_str(), &status) == 0 ? 1 : 0);
}

// One line without its line end ("\n" or "\r\n"), or false at the end of the
// file. A line longer than the longest string sets `tooLong` instead.
bool readLine(FILE* stream, std::string& line, bool& tooLong) {
    line.clear();
    int byte;
    while ((byte = std::fgetc(stream)) != EOF && byte != '\n') {
        if (line.size() >= SharedString::MAX_LENGTH) {
            tooLong = true;
            return false;
        }
        line.push_back(static_cast<char>(byte));
    }
    if (byte == EOF && line.empty()) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// fs.lines(path): the file's lines as a list of strings; a last line without
// a line end counts, an empty file has none.
Ref lines(const Ref& argument) {
    SharedString path = parameter(argument, 0).value()->toString();
    FILE* stream = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (!stream) return failure("fs.lines", "cannot open \"%s\"", path.c_str());
    Ref list = makeObject();
    std::vector<Ref>& elements = static_cast<vObject*>(list.value())->elements();
    std::string line;
    bool tooLong = false;
    bool tooMany = false;
    while (readLine(stream, line, tooLong)) {
        if (elements.size() >= static_cast<size_t>(MAX_ELEMENTS)) {
            tooMany = true;
            break;
        }
        elements.push_back(makeString(line));
    }
    std::fclose(stream);
    if (tooMany)
        return failure("fs.lines", "\"%s\" has more than %d lines", path.c_str(), MAX_ELEMENTS);
    if (tooLong)
        return failure("fs.lines", "\"%s\" has a line longer than %u bytes", path.c_str(),
                       SharedString::MAX_LENGTH);
    return list;
}

} // namespace

void registerFs(const Ref& global) {
    Ref fs = libraryObject(global, "fs");
    setFunction(fs, "exists", exists);
    setFunction(fs, "lines", lines);
}

} // namespace Kel::builtins
