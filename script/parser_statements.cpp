// Statements: blocks, named definitions, labels, if/while/for and the flow
// statements. Each routine appends to a code block; named definitions become
// members of the container, the function object that holds the statement.
#include "parser.h"

#include "code_block.h"
#include "code_generator.h"
#include "instructions.h"
#include "object.h"
#include "tokenizer.h"

#include <string>

namespace Kel {
namespace {

using variable::Variable::TYPE_OBJECT;

// Words that begin an expression statement rather than any other statement.
bool beginsExpression(std::string_view word) {
    return word == "global" || word == "static" || word == "local" || word == "yield";
}

// The function object a definition fills in. Definitions only ever store
// function objects, but a member that holds something else is replaced
// rather than misread.
vObject& functionIn(Holder* member) {
    if (member->value()->typeCode() != TYPE_OBJECT) member->replaceValue(new vObject);
    return *static_cast<vObject*>(member->value());
}

} // namespace

// Called once peek has met such a byte (already consumed).
int Parser::skipUnknown() {
    int token;
    do {
        message(MSG_UNKNOWN_TOKEN, currentLine());
    } while ((token = m_tokens.peek()) == TK_UNKNOWN);
    return token;
}

bool Parser::peekWord(std::string_view word) {
    return peek() == TK_IDENT && m_tokens.text() == word;
}

// statement: ";" | "{" block | if-statement | while-statement | for-statement
//          | return-statement | "continue" ";" | "break" ";" | goto-statement
//          | name-statement | expression ";"
void Parser::statement(vObject& container, CodeBlock& code) {
    Nesting nesting(*this);
    if (!nesting) return;
    int token = peek();
    CodeBlock::setSourcePlace(m_tokens.innermost().name(), currentLine());
    if (token == ';') {
        next();
        return;
    }
    if (token == '{') {
        next();
        CodeBlock* inner = codegen::temporaryBlock();
        block(container, *inner);
        if (inner->size() > 0)
            code.append(new SCOPE(inner));
        else
            inner->release();
        return;
    }
    if (token != TK_IDENT || beginsExpression(m_tokens.text())) {
        code.append(new POP);
        expression(code, ';', false);
        return;
    }
    next();
    std::string_view word = m_tokens.text();
    if (word == "if")
        ifStatement(container, code);
    else if (word == "while")
        whileStatement(container, code);
    else if (word == "for")
        forStatement(container, code);
    else if (word == "return" || word == "continue" || word == "break")
        flowStatement(code, word == "return"     ? "return"
                            : word == "continue" ? "continue"
                                                 : "break");
    else if (word == "goto")
        gotoStatement(code);
    else
        identifierStatement(container, code);
}

// name-statement: name ":"
//               | name "{" block                            -- definition
//               | name "(" [list] ")" ( "{" block | statement ) -- definition
//               | name ["(" [list] ")"] postfix [name postfix] rest-of-expression ";"
void Parser::identifierStatement(vObject& container, CodeBlock& code) {
    std::string name(m_tokens.text());
    int line = currentLine();
    int token = peek();
    if (token == ':') {
        next();
        code.addLabel(name, code.size());
        return;
    }
    if (token == '{') {
        definition(container, name, line, nullptr);
        return;
    }
    if (token == '(') {
        next();
        CodeBlock* parameters = argumentList();
        int after = peek();
        if (after == '{' || after == TK_IDENT) {
            definition(container, name, line, parameters);
            return;
        }
        code.append(new POP);
        code.append(new VARIABLE(name));
        codegen::appendBlock(code, parameters);
        code.append(new CALL);
    } else {
        code.append(new POP);
        code.append(new VARIABLE(name));
    }
    // A value followed by a name declares the name as a new instance of it.
    postfix(code);
    if (peek() == TK_IDENT) {
        next();
        code.append(new INSTANCE);
        code.append(new DECLARATION(m_tokens.text()));
        postfix(code);
    }
    expression(code, ';', true);
}

// definition: the member `name` of the container gets the code. Without
// parameters the new code goes behind what the member had; with them the
// member takes the parameter list (and its code) by substitution first.
void Parser::definition(vObject& container, std::string_view name, int line,
                        CodeBlock* parameters) {
    Holder* member = container.findMember(name);
    if (member)
        message(MSG_ALREADY_EXISTS, line, std::string(name).c_str());
    else
        member = container.member(name);
    if (parameters) member->substitute(codegen::functionOf(parameters));
    vObject& function = functionIn(member);
    CodeBlock& code = codegen::writableCode(function);
    if (parameters) code.append(new ARGUMENT);
    if (accept('{'))
        block(function, code);
    else
        statement(function, code);
}

// block: "{" { statement } "}"   -- the "{" already read
void Parser::block(vObject& container, CodeBlock& code) {
    int opened = currentLine();
    for (int token; (token = peek()) != '}' && token != TK_END;)
        statement(container, code);
    if (peek() == TK_END) message(MSG_BLOCK_NOT_CLOSED, currentLine(), opened);
    accept('}');
}

// body: "{" block | statement   -- straight into the loop's or branch's block
void Parser::body(vObject& container, CodeBlock& code) {
    if (accept('{'))
        block(container, code);
    else
        statement(container, code);
}

// if-statement: "if" "(" expr ")" body ["else" body]
// Jump targets are taken after the jump that follows has been appended, so
// a marker the optimiser drops on the way cannot shift them.
void Parser::ifStatement(vObject& container, CodeBlock& code) {
    CodeBlock* scope = codegen::temporaryBlock();
    CodeBlock& inner = *scope;
    if (next() == '(')
        expression(inner, ')', false);
    else
        message(MSG_MISSING_AFTER, currentLine(), '(', "if");
    int test = -1;
    if (inner.size() > 0) {
        inner.append(new JF(inner.size()));
        test = inner.size() - 1;
    } else {
        message(MSG_NO_CONDITION, currentLine(), "if");
    }
    body(container, inner);
    if (peekWord("else")) {
        next();
        inner.append(new JMP(0));
        int skip = inner.size() - 1;
        codegen::setJump(inner, test, inner.size());
        body(container, inner);
        codegen::setJump(inner, skip, inner.size());
    } else {
        codegen::setJump(inner, test, inner.size());
    }
    code.append(new SCOPE(scope));
}

// while-statement: "while" "(" expr ")" body ["else" body]
// The else part runs when the condition turns false, not after a break.
void Parser::whileStatement(vObject& container, CodeBlock& code) {
    CodeBlock* loop = codegen::temporaryBlock();
    CodeBlock& inner = *loop;
    if (next() == '(')
        expression(inner, ')', false);
    else
        message(MSG_MISSING_AFTER, currentLine(), '(', "while");
    int test = -1;
    if (inner.size() > 0) {
        inner.append(new JF(inner.size()));
        test = inner.size() - 1;
    } else {
        message(MSG_NO_CONDITION, currentLine(), "while");
    }
    body(container, inner);
    inner.append(new JMP(0));
    codegen::setJump(inner, test, inner.size());
    if (peekWord("else")) {
        next();
        body(container, inner);
    }
    code.append(new LOOP(0, loop));
}

// for-statement: "for" "(" [expr] ";" [expr] ";" [expr] ")" body ["else" body]
void Parser::forStatement(vObject& container, CodeBlock& code) {
    CodeBlock* loop = codegen::temporaryBlock();
    CodeBlock& inner = *loop;
    if (next() != '(') message(MSG_MISSING_AFTER, currentLine(), '(', "for");
    int start = 0;
    if (!accept(';')) {
        inner.append(new POP);
        expression(inner, ';', false);
        codegen::settle(inner);
        start = inner.size();
    }
    int test = -1;
    if (!accept(';')) {
        int before = inner.size();
        expression(inner, ';', false);
        if (inner.size() > before) {
            inner.append(new JF(inner.size()));
            test = inner.size() - 1;
        }
    }
    CodeBlock* step = nullptr;
    if (!accept(')')) {
        step = codegen::temporaryBlock();
        expression(*step, ')', false);
    }
    body(container, inner);
    // "continue" comes back here with the body's last value on the stack, so
    // the step's discarding POP must stay even where the optimiser would
    // have merged it with the body's end.
    codegen::settle(inner);
    int restart = inner.size();
    if (step && step->size() > 0) {
        inner.appendRaw(new POP);
        codegen::appendBlock(inner, step);
    } else if (step) {
        step->release();
    }
    inner.append(new JMP(start));
    codegen::setJump(inner, test, inner.size());
    if (peekWord("else")) {
        next();
        body(container, inner);
    }
    code.append(new LOOP(restart, loop));
}

// return-statement: "return" [expr] ";"   -- "return;" leaves its ";" as an empty statement
// "continue" ";" | "break" ";"
void Parser::flowStatement(CodeBlock& code, std::string_view keyword) {
    if (keyword == "return") {
        if (peek() != ';') {
            code.append(new POP);
            expression(code, ';', false);
        }
        code.append(new RETURN);
        return;
    }
    if (!accept(';')) message(MSG_MISSING_AFTER, currentLine(), ';', keyword.data());
    if (keyword == "continue")
        code.append(new CONTINUE);
    else
        code.append(new BREAK);
}

// goto-statement: "goto" name ";"
void Parser::gotoStatement(CodeBlock& code) {
    if (peek() != TK_IDENT) {
        message(MSG_NO_LABEL, currentLine());
        return;
    }
    next();
    code.append(new GOTO(m_tokens.text()));
    if (!accept(';')) message(MSG_MISSING_AFTER, currentLine(), ';', "goto");
}

} // namespace Kel
