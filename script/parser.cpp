// The parser's entry points and its messages: the unit's opening code, the
// table of message texts, the error count and the bound on nesting.
#include "parser.h"

#include "code_block.h"
#include "code_generator.h"
#include "instructions.h"
#include "object.h"
#include "printer.h"
#include "tokenizer.h"

#include <cstdarg>

namespace Kel {
namespace {

// Indexed by CompileMessage; an empty entry has no text of its own.
const char* const MESSAGE_TEXT[] = {
    "",
    "statement or expression nested deeper than %d\n",
    "There is no %c after %s\n",
    "There is no %s-statement condition\n",
    "There is no label after goto\n",
    "There is no identifier after %s\n",
    "not term : %c\n",
    "unknown token\n",
    "There is no : on ternary operation\n",
    "There is no %c at expression end\n",
    "",
    "'%s' is already exsit\n",
    "block not closed from %d\n",
};
constexpr int MESSAGE_COUNT = sizeof MESSAGE_TEXT / sizeof MESSAGE_TEXT[0];
constexpr const char* UNKNOWN_ERROR = "unknown error\n";
constexpr const char* ERROR_SUMMARY = "%d error in compile %s\n";

// Codes from here on are warnings and do not count.
constexpr int FIRST_WARNING = 10;

} // namespace

// compilation-unit: { statement }
void Parser::compile(vObject& function) {
    CodeBlock& code = codegen::writableCode(function);
    code.append(new VARIABLE("arg"));
    code.append(new ARGUMENT);
    while (peek() != TK_END)
        statement(function, code);
    CodeBlock::clearSourcePlace();
    if (m_errors != 0) printMessage(ERROR_SUMMARY, m_errors, m_tokens.innermost().name().c_str());
}

// One head, then the text; the arguments fit the text's own conversions.
void Parser::message(int code, int line, ...) {
    if (m_abandoned) return;
    bool isError = code < FIRST_WARNING;
    printMessage(isError ? "error %s %d: " : "warning %s %d: ", m_tokens.innermost().name().c_str(),
                 line);
    if (isError) ++m_errors;
    const char* text = code > 0 && code < MESSAGE_COUNT && *MESSAGE_TEXT[code] ? MESSAGE_TEXT[code]
                                                                               : UNKNOWN_ERROR;
    va_list arguments;
    va_start(arguments, line);
    switch (code) {
    case MSG_MISSING_AFTER: {
        int character = va_arg(arguments, int);
        printMessage(text, character, va_arg(arguments, const char*));
        break;
    }
    case MSG_NO_CONDITION:
    case MSG_NO_IDENTIFIER:
    case MSG_ALREADY_EXISTS:
        printMessage(text, va_arg(arguments, const char*));
        break;
    case MSG_TOO_DEEP:
    case MSG_NOT_TERM:
    case MSG_NO_TERMINATOR:
    case MSG_BLOCK_NOT_CLOSED:
        printMessage(text, va_arg(arguments, int));
        break;
    default:
        printMessage("%s", text);
        break;
    }
    va_end(arguments);
}

int Parser::currentLine() const {
    return m_tokens.innermost().line();
}

bool Parser::enter() {
    if (m_abandoned) return false;
    if (m_depth >= MAX_PARSE_DEPTH) {
        message(MSG_TOO_DEEP, currentLine(), MAX_PARSE_DEPTH);
        // The unit has failed; reading on would only nest as deep again.
        m_abandoned = true;
        while (m_tokens.next() != TK_END) {
        }
        return false;
    }
    ++m_depth;
    return true;
}

int compile(Tokenizer& tokenizer, vObject& function) {
    Parser parser(tokenizer);
    parser.compile(function);
    return parser.errors();
}

CompileResult compile(Tokenizer& tokenizer) {
    auto* function = new vObject;
    Ref holder(function);
    int errors = compile(tokenizer, *function);
    return {holder, errors};
}

} // namespace Kel
