// Tokenizer: turns Kel source text into the token stream the parser reads and
// carries out the preprocessor's directives on the way. Included files and
// macro expansions are read by nested tokenizers this one owns, so the parser
// talks to one object and sees one flat stream. Needs only the printer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace Kel {

// Token kinds. Single-character punctuation is its own character code.
constexpr int TK_UNKNOWN = -1; // a byte that begins no token (already consumed)
constexpr int TK_END = 0;
constexpr int TK_IDENT = 1;
constexpr int TK_INT = 2;
constexpr int TK_HEX = 3;
constexpr int TK_FLOAT = 4;
constexpr int TK_STRING = 5;
constexpr int TK_COLON_ASSIGN = 6; // :=
constexpr int TK_INC = 7;          // ++
constexpr int TK_DEC = 8;          // --
constexpr int TK_EQ = 9;           // ==
constexpr int TK_NE = 10;          // !=
constexpr int TK_LE = 11;          // <=
constexpr int TK_GE = 12;          // >=
constexpr int TK_ADD_ASSIGN = 13;  // +=
constexpr int TK_SUB_ASSIGN = 14;  // -=
constexpr int TK_MUL_ASSIGN = 15;  // *=
constexpr int TK_DIV_ASSIGN = 16;  // /=
constexpr int TK_MOD_ASSIGN = 17;  // %=
constexpr int TK_AND_ASSIGN = 18;  // &=
constexpr int TK_OR_ASSIGN = 19;   // |=
constexpr int TK_XOR_ASSIGN = 20;  // ^=
constexpr int TK_SHL = 21;         // <<
constexpr int TK_SHR = 22;         // >>
constexpr int TK_SHL_ASSIGN = 23;  // <<=
constexpr int TK_SHR_ASSIGN = 24;  // >>=
constexpr int TK_AND_AND = 25;     // &&
constexpr int TK_OR_OR = 26;       // ||

// Macro name to replacement text, shared by a tokenizer and all its nested ones.
using DefineTable = std::map<std::string, std::string, std::less<>>;

// Includes and macro expansions nest at most this deep; a deeper one is
// refused with a message so that a runaway chain cannot exhaust the stack.
constexpr int MAX_NESTING_DEPTH = 64;
// A source file (or an included one) longer than this is refused unread: the
// largest scenario is a few hundred kilobytes, and a device that never ends
// (such as /dev/zero) would otherwise be read until memory runs out.
constexpr size_t MAX_SOURCE_BYTES = 16 * 1024 * 1024;

class Tokenizer {
public:
    // Reads `text` (copied) under `name`, counting lines from `firstLine`.
    // Without a define table the tokenizer makes and owns an empty one.
    Tokenizer(std::string_view text, std::string name, int firstLine,
              DefineTable* defines = nullptr);
    // Reads the whole file; nothing when it cannot be read or is longer than
    // MAX_SOURCE_BYTES. The name is `path` exactly as given and lines count
    // from 1.
    static std::unique_ptr<Tokenizer> open(const std::string& path, DefineTable* defines = nullptr);
    ~Tokenizer();
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

    // The next token without consuming it; TK_END for ever once input is over.
    // An unknown byte cannot be kept (-1 is the "none" mark): it is reported
    // once and the next peek moves on behind it. The parser asks several times
    // per token, so these three are inline.
    int peek() {
        if (m_lookahead == TK_UNKNOWN) m_lookahead = scan();
        return m_lookahead;
    }
    // Consumes and returns the next token. Real token kinds start at
    // TK_IDENT; TK_UNKNOWN marks "nothing kept" and TK_END, once seen, is kept
    // for good.
    int next() {
        if (m_lookahead >= TK_IDENT) return std::exchange(m_lookahead, TK_UNKNOWN);
        if (m_lookahead == TK_END) return TK_END;
        return scan();
    }
    // Consumes the next token when it is `kind`.
    bool accept(int kind) {
        if (peek() != kind) return false;
        if (kind != TK_END) m_lookahead = TK_UNKNOWN;
        return true;
    }

    // Values of the last token peeked or read. The text of a name is a view
    // of the source and that of a string a view of this tokenizer's own
    // buffer (or a nested one's): either stays true until the next scan.
    std::string_view text() const { return m_text; }
    int32_t intValue() const { return m_intValue; }
    double floatValue() const { return m_floatValue; }

    // The tokenizer actually reading (an included file or a macro expansion):
    // its name and lines are the ones messages give.
    const Tokenizer& innermost() const;
    const std::string& name() const { return m_name; }
    int line() const { return m_line; }
    // Line at which scanning of the last token began, before the white space
    // in front of it.
    int tokenLine() const { return m_tokenLine; }

private:
    struct Nesting {
        const Tokenizer* parent;
        int depth;
        std::string macro; // the macro this tokenizer expands, empty for a file
        std::string path;  // the resolved file this tokenizer reads, if any
    };
    Tokenizer(std::string source, std::string name, int firstLine, DefineTable* defines,
              Nesting nesting);

    // What scanOwn() answers when it found no token yet (a comment, a
    // directive, a macro that expanded): scanning starts over.
    static constexpr int RESCAN = -1000;

    int scan();
    int scanOwn();
    int scanIdentifier();
    int scanNumber();
    int scanFraction();
    void scanString(char terminator, bool escapes);
    void skipBlockComment();
    void takeValuesFrom(const Tokenizer& nested, int kind);

    // Preprocessor (preprocessor.cpp).
    int directive();
    void include();
    int conditional(std::string_view directiveName);
    void expandMacro(std::string_view name, const std::string& replacement);
    bool isExpanding(std::string_view macro) const;
    bool isReading(const std::string& path) const;

    // Reading helpers over the source; every one is bounds-checked.
    bool atEnd() const { return m_position >= m_length; }
    // The byte at the position, or -1 at the end.
    int current() const;
    int byteAt(int position) const;
    void skipBlanks();
    void skipRestOfLine();
    bool readIdentifier(std::string_view& identifier);

    std::string m_name;
    int m_line;
    int m_tokenLine;
    std::string m_source;
    int m_length;
    int m_position = 0;
    int m_lookahead = TK_UNKNOWN;
    std::unique_ptr<Tokenizer> m_nested;
    std::unique_ptr<DefineTable> m_ownDefines;
    DefineTable* m_defines;
    int m_conditionalDepth = 0;
    int m_skipLevel = 0;
    int32_t m_intValue = 0;
    double m_floatValue = 0.0;
    std::string_view m_text;
    std::string m_stringText; // a string literal's bytes, escapes replaced
    Nesting m_nesting;
};

} // namespace Kel
