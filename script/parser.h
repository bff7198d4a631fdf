// The Kel parser and code generator: one recursive-descent pass over a
// tokenizer's stream, appending instructions straight into the code blocks of
// function objects. Errors are printed and counted and parsing goes on to the
// end. Needs the tokenizer, the instruction classes and the value classes.
#pragma once

#include "holder.h"
#include "tokenizer.h"

#include <string_view>

namespace Kel {

class CodeBlock;

namespace variable::Variable {
class vObject;
}
using variable::Variable::vObject;

// Nesting of statements and expressions deeper than this is refused with an
// error, so that no input can exhaust the parser's stack. Each nested
// statement, parenthesis, right-hand side, branch of "?:" and prefix operator
// counts one level.
constexpr int MAX_PARSE_DEPTH = 200;

// Compile message codes: below 10 errors (counted), from 10 warnings.
enum CompileMessage {
    MSG_TOO_DEEP = 1,
    MSG_MISSING_AFTER = 2,
    MSG_NO_CONDITION = 3,
    MSG_NO_LABEL = 4,
    MSG_NO_IDENTIFIER = 5,
    MSG_NOT_TERM = 6,
    MSG_UNKNOWN_TOKEN = 7,
    MSG_NO_COLON = 8,
    MSG_NO_TERMINATOR = 9,
    MSG_ALREADY_EXISTS = 11,
    MSG_BLOCK_NOT_CLOSED = 12,
};

class Parser {
public:
    explicit Parser(Tokenizer& tokenizer) : m_tokens(tokenizer) {}
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Appends the unit's code to `function`: first the binding of its argument
    // to "arg", then every statement up to the end of input. Prints the error
    // summary when there were errors.
    void compile(vObject& function);
    int errors() const { return m_errors; }

private:
    // Holds one level of nesting for as long as it lives; false when the
    // bound is reached, and the routine then parses nothing.
    class Nesting {
    public:
        explicit Nesting(Parser& parser) : m_parser(parser), m_entered(parser.enter()) {}
        ~Nesting() {
            if (m_entered) m_parser.leave();
        }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        explicit operator bool() const { return m_entered; }

    private:
        Parser& m_parser;
        bool m_entered;
    };

    // Statements (parser_statements.cpp).
    void statement(vObject& container, CodeBlock& block);
    void identifierStatement(vObject& container, CodeBlock& block);
    void definition(vObject& container, std::string_view name, int line, CodeBlock* parameters);
    void block(vObject& container, CodeBlock& code);
    void body(vObject& container, CodeBlock& code);
    void ifStatement(vObject& container, CodeBlock& code);
    void whileStatement(vObject& container, CodeBlock& code);
    void forStatement(vObject& container, CodeBlock& code);
    void flowStatement(CodeBlock& code, std::string_view keyword);
    void gotoStatement(CodeBlock& code);

    // Expressions (parser_expressions.cpp), loosest level first.
    void expression(CodeBlock& code, int terminator, bool firstParsed);
    void assignment(CodeBlock& code, bool firstParsed);
    void list(CodeBlock& code, bool firstParsed);
    void declarationOrConditional(CodeBlock& code, bool firstParsed);
    void declaration(CodeBlock& code, std::string_view keyword);
    void conditional(CodeBlock& code);
    void logicalOr(CodeBlock& code, bool firstParsed);
    void logicalAnd(CodeBlock& code, bool firstParsed);
    void binary(CodeBlock& code, int level, bool firstParsed);
    void prefix(CodeBlock& code);
    void primary(CodeBlock& code);
    void parenthesised(CodeBlock& code);
    void postfix(CodeBlock& code);
    // Compiles a parenthesised list (the "(" consumed) into a new block.
    CodeBlock* argumentList();

    // Token access for the grammar. A byte that begins no token is reported
    // where it is met and skipped, so no routine ever sees one. The grammar
    // looks at each token several times, so these are inline.
    [[gnu::always_inline]] int peek() {
        int token = m_tokens.peek();
        return token != TK_UNKNOWN ? token : skipUnknown();
    }
    [[gnu::always_inline]] int next() {
        peek();
        return m_tokens.next();
    }
    [[gnu::always_inline]] bool accept(int kind) {
        if (peek() != kind) return false;
        m_tokens.next();
        return true;
    }
    bool peekWord(std::string_view word);
    // Reports the byte that began no token and every other one up to the next
    // token, and answers that token.
    int skipUnknown();

    // Prints message `code` (with its printf arguments) under the innermost
    // tokenizer's name and `line`; errors add to the count.
    void message(int code, int line, ...);
    int currentLine() const;
    // A bound on recursion: false (after one error, and with the rest of the
    // input skipped) once nesting goes past MAX_PARSE_DEPTH.
    bool enter();
    void leave() { --m_depth; }

    Tokenizer& m_tokens;
    int m_errors = 0;
    int m_depth = 0;
    bool m_abandoned = false;
};

struct CompileResult {
    Ref function; // a new function object holding the unit's code
    int errors;
};

// Compiles the tokenizer's whole stream into `function`; answers the error count.
int compile(Tokenizer& tokenizer, vObject& function);
// Compiles the tokenizer's whole stream into a new function object.
CompileResult compile(Tokenizer& tokenizer);

} // namespace Kel
