// Expressions, from the loosest level (assignment) to the tightest (postfix).
// Each level parses its operands with the next tighter one and appends its
// instruction behind the right operand. A level called with the first operand
// already parsed hands that on, so the tightest level skips it.
#include "parser.h"

#include "code_block.h"
#include "code_generator.h"
#include "instructions.h"
#include "object.h"
#include "tokenizer.h"

#include <array>
#include <string>

namespace Kel {
namespace {

using Make = OpCode* (*)();

template <class Instruction> OpCode* make() {
    return new Instruction;
}

struct Operator {
    int token;
    Make make;
};

// Tokens are below this; an operand's end is told by one look at the next token.
constexpr int TOKEN_CODES = 128;

// A table of operators indexed by token, so that finding one is a single look.
template <size_t N> constexpr std::array<Make, TOKEN_CODES> byToken(const Operator (&table)[N]) {
    std::array<Make, TOKEN_CODES> found{};
    for (const Operator& entry : table)
        found[static_cast<size_t>(entry.token)] = entry.make;
    return found;
}

Make find(const std::array<Make, TOKEN_CODES>& table, int token) {
    return token >= 0 && token < TOKEN_CODES ? table[static_cast<size_t>(token)] : nullptr;
}

constexpr Operator ASSIGNMENT_OPERATORS[] = {
    {'=', make<SUBSTITUTION>},   {TK_COLON_ASSIGN, make<ASSIGNMENT>}, {TK_ADD_ASSIGN, make<SADD>},
    {TK_SUB_ASSIGN, make<SSUB>}, {TK_MUL_ASSIGN, make<SMUL>},         {TK_DIV_ASSIGN, make<SDIV>},
    {TK_MOD_ASSIGN, make<SMOD>}, {TK_AND_ASSIGN, make<SAND>},         {TK_OR_ASSIGN, make<SOR>},
    {TK_XOR_ASSIGN, make<SXOR>}, {TK_SHL_ASSIGN, make<SSHL>},         {TK_SHR_ASSIGN, make<SSHR>},
};

constexpr Operator PREFIX_OPERATORS[] = {
    {'+', make<PLUS>},    {'-', make<MINUS>},   {'!', make<NOT>},
    {'~', make<COMPL>},   {'*', make<DEREF>},   {'&', make<REF>},
    {'$', make<CLOSURE>}, {TK_INC, make<PINC>}, {TK_DEC, make<PDEC>},
};

// The left-associative levels 6 to 13, numbered 0 (loosest) to 7. The bitwise
// operators bind tighter than the comparisons and looser than the shifts.
struct BinaryOperator {
    Make make = nullptr;
    int level = 0;
};
struct BinaryEntry {
    int token;
    BinaryOperator operation;
};
constexpr BinaryEntry BINARY_OPERATORS[] = {
    {TK_EQ, {make<EQ>, 0}},   {TK_NE, {make<NEQ>, 0}},  {'<', {make<LT>, 1}},
    {TK_LE, {make<LE>, 1}},   {'>', {make<GT>, 1}},     {TK_GE, {make<GE>, 1}},
    {'|', {make<OR>, 2}},     {'^', {make<XOR>, 3}},    {'&', {make<AND>, 4}},
    {TK_SHL, {make<SHL>, 5}}, {TK_SHR, {make<SHR>, 5}}, {'+', {make<ADD>, 6}},
    {'-', {make<SUB>, 6}},    {'*', {make<MUL>, 7}},    {'/', {make<DIV>, 7}},
    {'%', {make<MOD>, 7}},
};

constexpr auto ASSIGNMENT_BY_TOKEN = byToken(ASSIGNMENT_OPERATORS);
constexpr auto PREFIX_BY_TOKEN = byToken(PREFIX_OPERATORS);

constexpr auto BINARY_BY_TOKEN = [] {
    std::array<BinaryOperator, TOKEN_CODES> table{};
    for (const BinaryEntry& entry : BINARY_OPERATORS)
        table[entry.token] = entry.operation;
    return table;
}();

// The binary operator `token` stands for, with its level in `found`.
Make findBinary(int token, int& found) {
    if (token < 0 || token >= TOKEN_CODES) return nullptr;
    found = BINARY_BY_TOKEN[token].level;
    return BINARY_BY_TOKEN[token].make;
}

enum DeclarationKeyword { NOT_A_DECLARATION, DECLARE_GLOBAL, DECLARE_STATIC, DECLARE_LOCAL };

DeclarationKeyword declarationKeyword(std::string_view word) {
    if (word == "global") return DECLARE_GLOBAL;
    if (word == "static") return DECLARE_STATIC;
    if (word == "local") return DECLARE_LOCAL;
    return NOT_A_DECLARATION;
}

OpCode* declaring(DeclarationKeyword keyword, std::string_view name) {
    if (keyword == DECLARE_GLOBAL) return new GLOBAL(name);
    if (keyword == DECLARE_STATIC) return new STATIC(name);
    return new LOCAL(name);
}

const char* keywordText(DeclarationKeyword keyword) {
    return keyword == DECLARE_GLOBAL ? "global" : keyword == DECLARE_STATIC ? "static" : "local";
}

} // namespace

// expression-with-terminator: assignment terminator
// A statement's ";" may be left out right before "}".
void Parser::expression(CodeBlock& code, int terminator, bool firstParsed) {
    assignment(code, firstParsed);
    if (accept(terminator)) return;
    if (terminator == ';' && peek() == '}') return;
    message(MSG_NO_TERMINATOR, m_tokens.innermost().tokenLine(), terminator);
}

// assignment: ("yield" [assignment] | list) { assignment-operator assignment }
void Parser::assignment(CodeBlock& code, bool firstParsed) {
    Nesting nesting(*this);
    if (!nesting) return;
    if (firstParsed) {
        list(code, true);
    } else if (peekWord("yield")) {
        next();
        if (peek() == ';')
            code.append(new PUSH_NULL);
        else
            assignment(code, false);
        code.append(new YIELD);
    } else {
        list(code, false);
    }
    for (Make operation; (operation = find(ASSIGNMENT_BY_TOKEN, peek())) != nullptr;) {
        next();
        assignment(code, false);
        code.append(operation());
    }
}

// list: declaration-or-conditional { "," declaration-or-conditional } [","]
void Parser::list(CodeBlock& code, bool firstParsed) {
    declarationOrConditional(code, firstParsed);
    while (accept(',')) {
        int token = peek();
        if (token == ')' || token == ';' || token == ']') break;
        declarationOrConditional(code, false);
        code.append(new LIST);
    }
}

// declaration-or-conditional: [declaration | prefix [name postfix]] or-expression
//                             ["?" declaration-or-conditional ":" declaration-or-conditional]
void Parser::declarationOrConditional(CodeBlock& code, bool firstParsed) {
    if (!firstParsed) {
        DeclarationKeyword keyword =
            peek() == TK_IDENT ? declarationKeyword(m_tokens.text()) : NOT_A_DECLARATION;
        if (keyword != NOT_A_DECLARATION) {
            next();
            declaration(code, keywordText(keyword));
        } else {
            // A value followed by a name declares the name as a new instance
            // of the value: "int n", "string s" and "Point p" alike.
            prefix(code);
            if (peek() == TK_IDENT) {
                next();
                code.append(new INSTANCE);
                code.append(new DECLARATION(m_tokens.text()));
                postfix(code);
            }
        }
    }
    logicalOr(code, true);
    if (accept('?')) conditional(code);
}

// declaration: keyword name postfix [name] | keyword prefix name
// With one name it is declared empty and the postfix applies to it; with two
// the second is declared as a new instance of the first.
void Parser::declaration(CodeBlock& code, std::string_view keywordName) {
    DeclarationKeyword keyword = declarationKeyword(keywordName);
    if (peek() == TK_IDENT) {
        next();
        std::string name(m_tokens.text());
        CodeBlock* suffix = codegen::temporaryBlock();
        postfix(*suffix);
        if (peek() == TK_IDENT) {
            next();
            code.append(new VARIABLE(name));
            codegen::appendBlock(code, suffix);
            code.append(new INSTANCE);
            code.append(declaring(keyword, m_tokens.text()));
        } else {
            code.append(new PUSH_NULL);
            code.append(declaring(keyword, name));
            codegen::appendBlock(code, suffix);
        }
        return;
    }
    prefix(code);
    if (peek() == TK_IDENT) {
        next();
        code.append(new INSTANCE);
        code.append(declaring(keyword, m_tokens.text()));
    } else {
        message(MSG_NO_IDENTIFIER, currentLine(), keywordText(keyword));
    }
}

// conditional: "?" declaration-or-conditional ":" declaration-or-conditional
// The branches stop at level 3, so "a = b ? c : d = e" assigns to the
// conditional's result. The false branch's count is taken once its last
// instruction is final: a trailing parentheses marker is dropped now, as the
// next instruction would drop it (and a count that still included it would
// skip into whatever follows).
void Parser::conditional(CodeBlock& code) {
    Nesting nesting(*this);
    if (!nesting) return;
    code.append(new JRF(0));
    int skipTrue = code.size() - 1;
    int trueStart = code.size();
    declarationOrConditional(code, false);
    code.append(new JR(0));
    int skipFalse = code.size() - 1;
    codegen::setJump(code, skipTrue, code.size() - trueStart);
    int falseStart = code.size();
    if (!accept(':')) message(MSG_NO_COLON, currentLine());
    declarationOrConditional(code, false);
    codegen::settle(code);
    codegen::setJump(code, skipFalse, code.size() - falseStart);
}

// or-expression: and-expression { "||" and-expression }
// "a || b" is 1 when a is true, else the value of b.
void Parser::logicalOr(CodeBlock& code, bool firstParsed) {
    logicalAnd(code, firstParsed);
    while (accept(TK_OR_OR)) {
        code.append(new JRT(0));
        int jump = code.size() - 1;
        int start = code.size();
        logicalAnd(code, false);
        code.append(new JR(1));
        codegen::setJump(code, jump, code.size() - start);
        code.append(new PUSH_INT(1));
    }
}

// and-expression: binary { "&&" binary }
// "a && b" is null when a is false, else the value of b.
void Parser::logicalAnd(CodeBlock& code, bool firstParsed) {
    binary(code, 0, firstParsed);
    while (accept(TK_AND_AND)) {
        code.append(new JRF(0));
        int jump = code.size() - 1;
        int start = code.size();
        binary(code, 0, false);
        code.append(new JR(1));
        codegen::setJump(code, jump, code.size() - start);
        code.append(new PUSH_NULL);
    }
}

// binary(level): binary(level + 1) { operator(level) binary(level + 1) }
// Below the last binary level is the prefix level. Parsed by precedence
// climbing, which emits the same code as one routine per level but looks at
// the next token once per operator instead of once per level.
void Parser::binary(CodeBlock& code, int level, bool firstParsed) {
    if (!firstParsed) prefix(code);
    int found = 0;
    for (Make operation; (operation = findBinary(peek(), found)) != nullptr && found >= level;) {
        next();
        binary(code, found + 1, false);
        code.append(operation());
    }
}

// prefix: prefix-operator prefix | primary
void Parser::prefix(CodeBlock& code) {
    Make operation = find(PREFIX_BY_TOKEN, peek());
    if (!operation) {
        primary(code);
        return;
    }
    Nesting nesting(*this);
    if (!nesting) return;
    next();
    prefix(code);
    code.append(operation());
}

// primary: "(" parenthesised | "@" [int] | name | int | hex | float | string
// Each is followed by its postfix operators.
void Parser::primary(CodeBlock& code) {
    int token = peek();
    switch (token) {
    case '(':
        next();
        parenthesised(code);
        return;
    case '@': {
        next();
        int32_t index = 0;
        if (peek() == TK_INT) {
            next();
            index = m_tokens.intValue();
        }
        code.append(new LOCALINDEX(index));
        break;
    }
    case TK_IDENT:
        next();
        code.append(new VARIABLE(m_tokens.text()));
        break;
    case TK_INT:
        next();
        code.append(new PUSH_INT(m_tokens.intValue()));
        break;
    case TK_HEX:
        next();
        code.append(new PUSH_HEX(static_cast<uint32_t>(m_tokens.intValue())));
        break;
    case TK_FLOAT:
        next();
        code.append(new PUSH_FLOAT(m_tokens.floatValue()));
        break;
    case TK_STRING:
        next();
        code.append(new PUSH_STRING(m_tokens.text()));
        break;
    default:
        message(MSG_NOT_TERM, currentLine(), token);
        next();
        return;
    }
    postfix(code);
}

// parenthesised: "(" [list] ")" ["{" block]   -- the "(" already read
// With a block it is a function literal whose parameters are the list.
void Parser::parenthesised(CodeBlock& code) {
    CodeBlock* inner = argumentList();
    if (accept('{')) {
        inner->append(new ARGUMENT);
        Ref function = codegen::functionOf(inner);
        auto& literal = *static_cast<vObject*>(function.value());
        block(literal, codegen::writableCode(literal));
        code.append(new PUSH_CODE(function));
    } else if (inner->size() > 0) {
        codegen::appendBlock(code, inner);
        code.append(new PARENTHESES);
    } else {
        inner->release();
    }
    postfix(code);
}

// argument-list: "(" ( ")" | list ")" )   -- the "(" already read
// No argument at all is passed as one empty object.
CodeBlock* Parser::argumentList() {
    CodeBlock* arguments = codegen::temporaryBlock();
    if (accept(')'))
        arguments->append(new PUSH_NULL);
    else
        expression(*arguments, ')', false);
    return arguments;
}

// postfix: { "++" | "--" | "(" [list] ")" | "[" list "]" | "." name }
void Parser::postfix(CodeBlock& code) {
    for (;;) {
        switch (peek()) {
        case TK_INC:
            next();
            code.append(new INC);
            break;
        case TK_DEC:
            next();
            code.append(new DEC);
            break;
        case '(':
            next();
            if (accept(')'))
                code.append(new PUSH_NULL);
            else
                expression(code, ')', false);
            code.append(new CALL);
            break;
        case '[':
            next();
            expression(code, ']', false);
            code.append(new INDEX);
            break;
        case '.':
            next();
            if (peek() == TK_IDENT) {
                next();
                code.append(new MEMBER(m_tokens.text()));
            } else {
                message(MSG_NO_IDENTIFIER, currentLine(), "member access (.)");
            }
            break;
        default:
            return;
        }
    }
}

} // namespace Kel
