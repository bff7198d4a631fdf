// The tokenizer's preprocessor: "#" directives (include, define, undef,
// ifdef, ifndef, else, endif) and the expansion of object-like macros by
// nested tokenizers. Problems are printed and scanning goes on; nothing here
// counts as a compile error.
#include "tokenizer.h"

#include "printer.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace Kel {
namespace {

constexpr const char* MSG_DIRECTIVE_SYNTAX = "warning %s %d: tokenizer directive syntax error\n";
constexpr const char* MSG_DEFINE_SYNTAX = "warning %s %d: define syntax error\n";
constexpr const char* MSG_UNDEF_SYNTAX = "warning %s %d: undef syntax error\n";
constexpr const char* MSG_IFDEF_SYNTAX = "warning %s %d: ifdef syntax error\n";
constexpr const char* MSG_IFNDEF_SYNTAX = "warning %s %d: ifndef syntax error\n";
constexpr const char* MSG_ENDIF_SYNTAX = "warning %s %d: endif syntax error\n";
constexpr const char* MSG_UNKNOWN_DIRECTIVE = "tokenizer %s %d: unknown tokenizer directive #%s\n";
constexpr const char* MSG_CANT_OPEN = "tokenizer %s %d: can't open include file <%s>\n";
constexpr const char* MSG_INCLUDES_ITSELF = "tokenizer %s %d: include file <%s> includes itself\n";
constexpr const char* MSG_SOURCE_TOO_LARGE = "tokenizer %s: source file is longer than %zu bytes\n";
constexpr const char* MSG_INCLUDE_TOO_LARGE =
    "tokenizer %s %d: include file <%s> is longer than %zu bytes\n";
constexpr const char* MSG_INCLUDE_TOO_DEEP = "tokenizer %s %d: include file <%s> nested too deep\n";
constexpr const char* MSG_MACRO_ITSELF = "tokenizer %s %d: macro %s expands itself\n";
constexpr const char* MSG_MACRO_TOO_DEEP = "tokenizer %s %d: macro %s nested too deep\n";

// Whether a file could be read whole: a file longer than MAX_SOURCE_BYTES
// is refused as soon as that many bytes have come in.
enum class Read { WHOLE, MISSING, TOO_LARGE };

Read readSource(const std::string& path, std::string& contents) {
    contents.clear();
    if (path.find('\0') != std::string::npos) return Read::MISSING;
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return Read::MISSING;
    // A regular file's size is known: room for it at once spares the copies
    // of a growing text (a device reads as it comes).
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode))
        contents.reserve(std::min(static_cast<size_t>(status.st_size), MAX_SOURCE_BYTES + 1));
    char buffer[8192];
    size_t got;
    while (contents.size() <= MAX_SOURCE_BYTES &&
           (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        contents.append(buffer, got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (contents.size() > MAX_SOURCE_BYTES) return Read::TOO_LARGE;
    return failed ? Read::MISSING : Read::WHOLE;
}

// One spelling per file, so that a file reached by two paths is still
// recognised as already being read.
std::string resolved(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string result(real);
    std::free(real);
    return result;
}

} // namespace

std::unique_ptr<Tokenizer> Tokenizer::open(const std::string& path, DefineTable* defines) {
    std::string contents;
    Read read = readSource(path, contents);
    if (read == Read::TOO_LARGE) printMessage(MSG_SOURCE_TOO_LARGE, path.c_str(), MAX_SOURCE_BYTES);
    if (read != Read::WHOLE) return nullptr;
    return std::unique_ptr<Tokenizer>(new Tokenizer(std::move(contents), path, 1, defines,
                                                    Nesting{nullptr, 0, {}, resolved(path)}));
}

// The "#" has been consumed. The result is the token the directive stands
// for: RESCAN in most cases, TK_END when the text ends inside it.
int Tokenizer::directive() {
    skipBlanks();
    if (atEnd()) return TK_END;
    std::string_view name;
    if (!readIdentifier(name)) {
        // "#!" lets a script start with an interpreter line.
        if (current() != '!') printMessage(MSG_DIRECTIVE_SYNTAX, m_name.c_str(), m_line);
        skipRestOfLine();
        return RESCAN;
    }
    skipBlanks();
    if (atEnd()) return TK_END;

    if (name == "include") {
        include();
        return RESCAN;
    }
    if (name == "define") {
        std::string_view macro;
        if (!readIdentifier(macro)) {
            printMessage(MSG_DEFINE_SYNTAX, m_name.c_str(), m_line);
            skipRestOfLine();
            return RESCAN;
        }
        skipBlanks();
        if (atEnd()) return TK_END;
        int start = m_position;
        skipRestOfLine();
        // A region switched off by "ifdef" must not change the macros either.
        if (m_skipLevel == 0)
            (*m_defines)[std::string(macro)].assign(m_source, static_cast<size_t>(start),
                                                    static_cast<size_t>(m_position - start));
        return RESCAN;
    }
    if (name == "undef") {
        std::string_view macro;
        if (!readIdentifier(macro)) {
            printMessage(MSG_UNDEF_SYNTAX, m_name.c_str(), m_line);
        } else if (m_skipLevel == 0) {
            auto entry = m_defines->find(macro);
            if (entry != m_defines->end()) m_defines->erase(entry);
        }
        skipRestOfLine();
        return RESCAN;
    }
    if (name == "ifdef" || name == "ifndef" || name == "else" || name == "endif")
        return conditional(name);

    printMessage(MSG_UNKNOWN_DIRECTIVE, m_name.c_str(), m_line, std::string(name).c_str());
    skipRestOfLine();
    return RESCAN;
}

// ifdef / ifndef / else / endif. The skip level remembers the depth at which
// a region was switched off, so conditionals nested inside it only count.
int Tokenizer::conditional(std::string_view directiveName) {
    if (directiveName == "else") {
        if (m_skipLevel == 0) {
            // Skipping starts right here: the rest of the line is skipped text.
            m_skipLevel = m_conditionalDepth;
            return RESCAN;
        }
        if (m_skipLevel == m_conditionalDepth) m_skipLevel = 0;
        skipRestOfLine();
        return RESCAN;
    }
    if (directiveName == "endif") {
        if (m_conditionalDepth == 0) {
            printMessage(MSG_ENDIF_SYNTAX, m_name.c_str(), m_line);
        } else {
            if (m_skipLevel == m_conditionalDepth) m_skipLevel = 0;
            --m_conditionalDepth;
        }
        skipRestOfLine();
        return RESCAN;
    }

    bool readIfDefined = directiveName == "ifdef";
    std::string_view macro;
    if (!readIdentifier(macro)) {
        printMessage(readIfDefined ? MSG_IFDEF_SYNTAX : MSG_IFNDEF_SYNTAX, m_name.c_str(), m_line);
        skipRestOfLine();
        return RESCAN;
    }
    if (m_conditionalDepth < INT_MAX) ++m_conditionalDepth;
    if (m_skipLevel == 0) {
        bool defined = m_defines->find(macro) != m_defines->end();
        if (defined != readIfDefined) {
            m_skipLevel = m_conditionalDepth;
            return RESCAN;
        }
    }
    skipRestOfLine();
    return RESCAN;
}

// The file name runs to the first ">", double quote or line end; the opening
// and closing characters need not match. Tokens behind it on the same line
// follow the included file.
void Tokenizer::include() {
    int opening = current();
    if (opening != '<' && opening != '"') return;
    ++m_position;
    int start = m_position;
    while (!atEnd() && current() != '>' && current() != '"' && current() != '\r' &&
           current() != '\n')
        ++m_position;
    if (atEnd()) return;
    std::string file =
        m_source.substr(static_cast<size_t>(start), static_cast<size_t>(m_position - start));
    // Consume a closing mark even in a skipped region (a quote left behind
    // would open a string there), but leave a line end to be counted.
    if (current() == '>' || current() == '"') ++m_position;
    if (m_skipLevel != 0) return;

    // Beside the working directory, then beside the including file.
    std::string path = file;
    std::string contents;
    Read read = readSource(path, contents);
    if (read == Read::MISSING) {
        size_t separator = m_name.rfind('\\');
        if (separator == std::string::npos || separator == 0) separator = m_name.rfind('/');
        if (separator != std::string::npos && separator > 0) {
            path = m_name.substr(0, separator + 1) + file;
            read = readSource(path, contents);
        }
    }
    if (read == Read::TOO_LARGE) {
        printMessage(MSG_INCLUDE_TOO_LARGE, m_name.c_str(), m_line, file.c_str(), MAX_SOURCE_BYTES);
        return;
    }
    if (read == Read::MISSING) {
        printMessage(MSG_CANT_OPEN, m_name.c_str(), m_line, file.c_str());
        return;
    }
    std::string real = resolved(path);
    if (isReading(real)) {
        printMessage(MSG_INCLUDES_ITSELF, m_name.c_str(), m_line, file.c_str());
        return;
    }
    if (m_nesting.depth + 1 > MAX_NESTING_DEPTH) {
        printMessage(MSG_INCLUDE_TOO_DEEP, m_name.c_str(), m_line, file.c_str());
        return;
    }
    m_nested.reset(new Tokenizer(std::move(contents), path, 1, m_defines,
                                 Nesting{this, m_nesting.depth + 1, {}, std::move(real)}));
}

// Reads the replacement text by a nested tokenizer named after this one and
// the macro. A macro met again inside its own expansion stays a plain name,
// as does one nested too deep; either would otherwise expand without end.
void Tokenizer::expandMacro(std::string_view macro, const std::string& replacement) {
    if (isExpanding(macro)) {
        printMessage(MSG_MACRO_ITSELF, m_name.c_str(), m_line, std::string(macro).c_str());
        return;
    }
    if (m_nesting.depth + 1 > MAX_NESTING_DEPTH) {
        printMessage(MSG_MACRO_TOO_DEEP, m_name.c_str(), m_line, std::string(macro).c_str());
        return;
    }
    std::string name = m_name + " define:";
    name += macro;
    m_nested.reset(new Tokenizer(replacement, std::move(name), m_line, m_defines,
                                 Nesting{this, m_nesting.depth + 1, std::string(macro), {}}));
}

bool Tokenizer::isExpanding(std::string_view macro) const {
    for (const Tokenizer* reader = this; reader; reader = reader->m_nesting.parent)
        if (reader->m_nesting.macro == macro) return true;
    return false;
}

bool Tokenizer::isReading(const std::string& path) const {
    for (const Tokenizer* reader = this; reader; reader = reader->m_nesting.parent)
        if (!reader->m_nesting.path.empty() && reader->m_nesting.path == path) return true;
    return false;
}

} // namespace Kel
