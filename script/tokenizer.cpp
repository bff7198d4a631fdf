// Scanning of tokens: white space and comments, punctuation, numbers, strings
// and identifiers (with macro lookup). Directives are in preprocessor.cpp.
// Every read of the source is bounds-checked, so any byte sequence is safe.
#include "tokenizer.h"

#include "printer.h"

#include <array>
#include <climits>
#include <cstdlib>

namespace Kel {
namespace {

constexpr const char* MSG_COMMENT_NOT_CLOSED = "error %s %d: comment not closed from %d\n";

constexpr bool isDigit(int byte) {
    return byte >= '0' && byte <= '9';
}

constexpr bool isIdentifierStart(int byte) {
    return byte == '_' || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// Which bytes may go on a name, looked up once per byte of every name.
constexpr auto IDENTIFIER_BYTES = [] {
    std::array<bool, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[static_cast<size_t>(byte)] = isIdentifierStart(byte) || isDigit(byte);
    return table;
}();

bool isIdentifierByte(int byte) {
    return byte >= 0 && IDENTIFIER_BYTES[static_cast<size_t>(byte)];
}

// The value of a hex digit, or -1 for a byte that ends the number. The
// letters 'a' to 'f' (either case) stand for ten to fifteen.
int hexDigit(int byte) {
    if (isDigit(byte)) return byte - '0';
    if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
    return -1;
}

} // namespace

Tokenizer::Tokenizer(std::string_view text, std::string name, int firstLine, DefineTable* defines)
    : Tokenizer(std::string(text), std::move(name), firstLine, defines,
                Nesting{nullptr, 0, {}, {}}) {}

Tokenizer::Tokenizer(std::string source, std::string name, int firstLine, DefineTable* defines,
                     Nesting nesting)
    : m_name(std::move(name)), m_line(firstLine), m_tokenLine(firstLine),
      m_source(std::move(source)), m_length(0), m_defines(defines), m_nesting(std::move(nesting)) {
    // Positions are ints; a text beyond that range is read up to it.
    if (m_source.size() >= static_cast<size_t>(INT_MAX))
        m_source.resize(static_cast<size_t>(INT_MAX) - 1);
    m_length = static_cast<int>(m_source.size());
    if (!m_defines) {
        m_ownDefines = std::make_unique<DefineTable>();
        m_defines = m_ownDefines.get();
    }
}

Tokenizer::~Tokenizer() = default;

const Tokenizer& Tokenizer::innermost() const {
    const Tokenizer* reader = this;
    while (reader->m_nested)
        reader = reader->m_nested.get();
    return *reader;
}

int Tokenizer::current() const {
    return byteAt(m_position);
}

int Tokenizer::byteAt(int position) const {
    if (position < 0 || position >= m_length) return -1;
    return static_cast<unsigned char>(m_source[static_cast<size_t>(position)]);
}

void Tokenizer::takeValuesFrom(const Tokenizer& nested, int kind) {
    switch (kind) {
    case TK_IDENT:
    case TK_STRING:
        m_text = nested.m_text;
        break;
    case TK_INT:
    case TK_HEX:
        m_intValue = nested.m_intValue;
        break;
    case TK_FLOAT:
        m_floatValue = nested.m_floatValue;
        break;
    default:
        break;
    }
}

// One token for the parser: from the nested tokenizer while there is one,
// else from this text. Tokens inside a region an "ifdef" switched off are
// scanned (so that its directives are seen) and dropped.
int Tokenizer::scan() {
    for (;;) {
        m_tokenLine = m_line;
        if (m_nested) {
            int kind = m_nested->scan();
            if (kind != TK_END) {
                takeValuesFrom(*m_nested, kind);
                return kind;
            }
            // The last text taken from it may be a view of its source.
            m_nested.reset();
            m_text = {};
        }
        int kind = scanOwn();
        if (kind == RESCAN || (m_skipLevel != 0 && kind != TK_END)) continue;
        return kind;
    }
}

int Tokenizer::scanOwn() {
    // White space; CR LF, a lone CR and a lone LF each end one line. The
    // source's closing zero byte stops the walk, so it needs no bounds check.
    const char* text = m_source.c_str();
    for (int position = m_position;; ++position) {
        char byte = text[position];
        if (byte == '\n') {
            ++m_line;
        } else if (byte == '\r') {
            ++m_line;
            if (text[position + 1] == '\n') ++position;
        } else if (byte == ' ') {
            // Indentation comes in runs of spaces.
            while (text[position + 1] == ' ')
                ++position;
        } else if (byte != '\t') {
            m_position = position;
            break;
        }
    }
    if (atEnd()) return TK_END;

    int byte = current();
    ++m_position;
    auto followedBy = [this](char expected) {
        if (current() != expected) return false;
        ++m_position;
        return true;
    };
    switch (byte) {
    case '!':
        return followedBy('=') ? TK_NE : '!';
    case '"':
        scanString('"', true);
        return TK_STRING;
    case '\'':
        scanString('\'', false);
        return TK_STRING;
    case '#':
        return directive();
    case '%':
        return followedBy('=') ? TK_MOD_ASSIGN : '%';
    case '&':
        return followedBy('=') ? TK_AND_ASSIGN : followedBy('&') ? TK_AND_AND : '&';
    case '*':
        return followedBy('=') ? TK_MUL_ASSIGN : '*';
    case '+':
        return followedBy('+') ? TK_INC : followedBy('=') ? TK_ADD_ASSIGN : '+';
    case '-':
        return followedBy('-') ? TK_DEC : followedBy('=') ? TK_SUB_ASSIGN : '-';
    case '^':
        return followedBy('=') ? TK_XOR_ASSIGN : '^';
    case '|':
        return followedBy('=') ? TK_OR_ASSIGN : followedBy('|') ? TK_OR_OR : '|';
    case '=':
        return followedBy('=') ? TK_EQ : '=';
    case ':':
        return followedBy('=') ? TK_COLON_ASSIGN : ':';
    case '<':
        if (followedBy('=')) return TK_LE;
        if (followedBy('<')) return followedBy('=') ? TK_SHL_ASSIGN : TK_SHL;
        return '<';
    case '>':
        if (followedBy('=')) return TK_GE;
        if (followedBy('>')) return followedBy('=') ? TK_SHR_ASSIGN : TK_SHR;
        return '>';
    case '.':
        if (isDigit(current())) {
            --m_position;
            return scanFraction();
        }
        return '.';
    case '/':
        if (followedBy('=')) return TK_DIV_ASSIGN;
        if (followedBy('/')) {
            while (!atEnd() && current() != '\r' && current() != '\n')
                ++m_position;
            return RESCAN;
        }
        if (followedBy('*')) {
            skipBlockComment();
            return RESCAN;
        }
        return '/';
    case '$':
    case '(':
    case ')':
    case ',':
    case ';':
    case '?':
    case '@':
    case '[':
    case ']':
    case '{':
    case '}':
    case '~':
        return byte;
    default:
        break;
    }
    // Names and numbers are read from their first byte again; a byte that
    // begins no token stays consumed, so scanning always moves on.
    --m_position;
    if (isIdentifierStart(byte)) return scanIdentifier();
    if (isDigit(byte)) return scanNumber();
    ++m_position;
    return TK_UNKNOWN;
}

int Tokenizer::scanIdentifier() {
    std::string_view identifier;
    readIdentifier(identifier);
    m_text = identifier;
    if (m_skipLevel != 0 || m_defines->empty()) return TK_IDENT;
    auto macro = m_defines->find(identifier);
    if (macro == m_defines->end()) return TK_IDENT;
    expandMacro(macro->first, macro->second);
    return m_nested ? RESCAN : TK_IDENT;
}

bool Tokenizer::readIdentifier(std::string_view& identifier) {
    if (!isIdentifierStart(current())) return false;
    // The closing zero byte ends a name at the end of the source.
    const char* text = m_source.c_str();
    int start = m_position;
    int end = start + 1;
    while (isIdentifierByte(static_cast<unsigned char>(text[end])))
        ++end;
    m_position = end;
    identifier = std::string_view(text + start, static_cast<size_t>(end - start));
    return true;
}

// Digits are summed in unsigned 32 bits, so a literal too long for an int
// wraps as run-time arithmetic does instead of overflowing.
int Tokenizer::scanNumber() {
    if (current() == '0' && (byteAt(m_position + 1) == 'x' || byteAt(m_position + 1) == 'X')) {
        m_position += 2; // past "0x"; no digit behind it reads as 0
        uint32_t value = 0;
        for (int digit; (digit = hexDigit(current())) >= 0; ++m_position)
            value = value * 16u + static_cast<uint32_t>(digit);
        m_intValue = static_cast<int32_t>(value);
        return TK_HEX;
    }
    int start = m_position;
    uint32_t value = static_cast<uint32_t>(current() - '0');
    ++m_position;
    while (isDigit(current())) {
        value = value * 10u + static_cast<uint32_t>(current() - '0');
        ++m_position;
    }
    m_intValue = static_cast<int32_t>(value);
    // An exponent or a point makes it a float, read again from its start.
    int after = current();
    if (after != 'e' && after != 'E' && after != '.') return TK_INT;
    m_position = start;
    return scanFraction();
}

// A floating literal from the position: the longest prefix the runtime's
// conversion accepts. The source is zero-terminated, so it cannot run past it.
int Tokenizer::scanFraction() {
    const char* begin = m_source.c_str() + m_position;
    char* end = nullptr;
    m_floatValue = std::strtod(begin, &end);
    m_position += static_cast<int>(end - begin);
    return TK_FLOAT;
}

// Double-quoted strings know three escapes; any other byte after a backslash
// keeps the backslash. Text cut off by the end of input keeps only the chunks
// copied before it.
void Tokenizer::scanString(char terminator, bool escapes) {
    m_stringText.clear();
    int chunk = m_position;
    auto copyChunk = [&] {
        m_stringText.append(m_source, static_cast<size_t>(chunk),
                            static_cast<size_t>(m_position - chunk));
    };
    while (!atEnd()) {
        int byte = current();
        if (byte == terminator) {
            copyChunk();
            ++m_position;
            break;
        }
        if (escapes && byte == '\\') {
            copyChunk();
            int escaped = byteAt(m_position + 1);
            char replacement = escaped == 'n'   ? '\n'
                               : escaped == 't' ? '\t'
                               : escaped == '"' ? '"'
                                                : 0;
            if (replacement) {
                m_stringText.push_back(replacement);
                m_position += 2; // the backslash and its letter
                chunk = m_position;
                continue;
            }
            chunk = m_position;
        }
        ++m_position;
    }
    m_text = m_stringText;
}

void Tokenizer::skipBlockComment() {
    int opened = m_line;
    // The closing "*/" takes two bytes, so the last byte alone cannot close it.
    while (m_position + 1 < m_length) {
        int byte = current();
        if (byte == '*' && byteAt(m_position + 1) == '/') {
            m_position += 2;
            return;
        }
        ++m_position;
        if (byte == '\n') {
            ++m_line;
        } else if (byte == '\r') {
            ++m_line;
            if (current() == '\n') ++m_position;
        }
    }
    printMessage(MSG_COMMENT_NOT_CLOSED, m_name.c_str(), m_line, opened);
    m_position = m_length;
}

void Tokenizer::skipBlanks() {
    while (current() == ' ' || current() == '\t')
        ++m_position;
}

void Tokenizer::skipRestOfLine() {
    while (!atEnd() && current() != '\r' && current() != '\n')
        ++m_position;
}

} // namespace Kel
