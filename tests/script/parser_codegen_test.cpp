// Code the parser generates, read back through the disassembler: statements,
// expressions, named definitions, jump targets and the peephole optimiser.
#include "disassembler.h"
#include "parser.h"
#include "tokenizer.h"
#include "value.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* UNIT_PROLOGUE = "VARIABLE arg\nARGUMENT\n";

struct Compiled {
    std::string printed;
    Kel::CompileResult result;
};

Compiled compileText(std::string_view source) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer(source, "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    return {testing::internal::GetCapturedStdout(), result};
}

// The disassembly of `source` without the unit's argument binding; the
// compile must print nothing and count no error.
std::string code(std::string_view source) {
    Compiled compiled = compileText(source);
    EXPECT_EQ(compiled.result.errors, 0) << source;
    EXPECT_EQ(compiled.printed, "") << source;
    std::string text = Kel::disassemble(compiled.result.function);
    EXPECT_EQ(text.rfind(UNIT_PROLOGUE, 0), 0u) << text;
    return text.substr(std::string(UNIT_PROLOGUE).size());
}

struct Row {
    const char* source;
    const char* code;
};

// Each row is the right-hand side of "x = ...;" and the code that computes it.
TEST(ParserCodegen, RightHandSidesFoldAndKeepTheirJumps) {
    const Row rows[] = {
        {"1 + 2 * 3", "PUSH_INT 7"},
        {"(1 + 2) * -3", "PUSH_INT -9"},
        {"7 / 0", "PUSH_INT 0"},
        // A folded literal holds what the operation gives at run time:
        // arithmetic keeps the left operand's class, comparisons and `!` an int.
        {"1.5 < 2", "PUSH_INT 1"},
        {"!0.0", "PUSH_INT 1"},
        {"\"b\" == \"b\"", "PUSH_INT 1"},
        {"\"a\" + 1", "PUSH_STRING \"a1\""},
        {"1 + \"2\"", "PUSH_INT 3"},
        {"0xFF + 1", "PUSH_HEX 0x100"},
        {"-\"abc\"", "PUSH_STRING \"cba\""},
        {"~0", "PUSH_INT -1"},
        {"!()", "PUSH_NULL\nNOT"},
        {"\"ab\" * 3", "PUSH_STRING \"ababab\""},
        {"\"ab\" * 1000000", "PUSH_STRING \"ab\"\nPUSH_INT 1000000\nMUL"},
        {"+y", "VARIABLE y"},
        // The constant a short-circuit jump skips is not folded with what follows.
        {"(a ? b : 1) + 2", "VARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nPUSH_INT 1\nPUSH_INT 2\nADD"},
        {"a ? b : c, d", "VARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nVARIABLE c\nVARIABLE d\nLIST"},
        {"a ? b + 1 : c * 2",
         "VARIABLE a\nJRF 4\nVARIABLE b\nPUSH_INT 1\nADD\nJR 3\nVARIABLE c\nPUSH_INT 2\nMUL"},
        // The parentheses marker survives only into a list.
        {"c, (a, b)", "VARIABLE c\nVARIABLE a\nVARIABLE b\nLIST\nPARENTHESES\nLIST"},
        {"(a, b), c", "VARIABLE a\nVARIABLE b\nLIST\nVARIABLE c\nLIST"},
        {"(a)", "VARIABLE a"},
        {"()", "PUSH_NULL"},
        {"0 p", "PUSH_INT 0\nINSTANCE\nDECLARATION p"},
        {"@2 + @", "LOCALINDEX 2\nLOCALINDEX 0\nADD"},
        // Operands are written readably.
        {"\"q\\\"\\n\\t\\\\\x01\"", "PUSH_STRING \"q\\\"\\n\\t\\\\\\\\\\x01\""},
        {"0.1", "PUSH_FLOAT 0.1"},
        {"1e300 * 10", "PUSH_FLOAT 1e+301"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(code(std::string("x = ") + row.source + ";"),
                  std::string("POP\nVARIABLE x\n") + row.code + "\nSUBSTITUTION\n")
            << row.source;
}

TEST(ParserCodegen, StatementsAndTheirJumpTargets) {
    const Row rows[] = {
        {"  // nothing\n;;", ""},
        // The second statement's POP takes the first statement's variable away.
        {"a; b;", "POP\nVARIABLE b\n"},
        {"1; \"s\"; c;", "POP\nVARIABLE c\n"},
        // A discarded postfix step becomes a prefix one.
        {"i++; j;", "POP\nVARIABLE i\nPINC\nPOP\nVARIABLE j\n"},
        {"i--; j;", "POP\nVARIABLE i\nPDEC\nPOP\nVARIABLE j\n"},
        {"i++;", "POP\nVARIABLE i\nINC\n"},
        {"a || b; c;", "POP\nVARIABLE a\nJRT 2\nVARIABLE b\nJR 1\nPUSH_INT 1\nPOP\nVARIABLE c\n"},
        {"a && b; c;", "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nPUSH_NULL\nPOP\nVARIABLE c\n"},
        {"a = b ? c : d = e;", "POP\nVARIABLE a\nVARIABLE b\nJRF 2\nVARIABLE c\nJR 1\n"
                               "VARIABLE d\nVARIABLE e\nSUBSTITUTION\nSUBSTITUTION\n"},
        {"a ? b : (c); y;",
         "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nVARIABLE c\nPOP\nVARIABLE y\n"},
        {"a ? b : (c), d;",
         "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nVARIABLE c\nVARIABLE d\nLIST\n"},
        {"if (x) y;", "SCOPE\n  VARIABLE x\n  JF 4\n  POP\n  VARIABLE y\n"},
        {"if (x) y; else z;",
         "SCOPE\n  VARIABLE x\n  JF 5\n  POP\n  VARIABLE y\n  JMP 7\n  POP\n  VARIABLE z\n"},
        {"if (x) { } else { z; }", "SCOPE\n  VARIABLE x\n  JF 3\n  JMP 5\n  POP\n  VARIABLE z\n"},
        // The JMP drops the marker as it arrives; the JF must still land on
        // the else part's first instruction.
        {"if (c) (a); else b;",
         "SCOPE\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE a\n  JMP 7\n  POP\n  VARIABLE b\n"},
        {"while (c) x;", "LOOP 0\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE x\n  JMP 0\n"},
        {"while (c) {} else { e; }",
         "LOOP 0\n  VARIABLE c\n  JF 3\n  JMP 0\n  POP\n  VARIABLE e\n"},
        {"for (i = 0; i < 3; i++) a;", "LOOP 10\n"
                                       "  POP\n  VARIABLE i\n  PUSH_INT 0\n  SUBSTITUTION\n"
                                       "  VARIABLE i\n  PUSH_INT 3\n  LT\n  JF 14\n"
                                       "  POP\n  VARIABLE a\n"
                                       "  POP\n  VARIABLE i\n  INC\n"
                                       "  JMP 4\n"},
        {"for (;;) { break; }", "LOOP 1\n  BREAK\n  JMP 0\n"},
        {"for (;c;) x; else y;",
         "LOOP 4\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE x\n  JMP 0\n  POP\n  VARIABLE y\n"},
        {"while (1) { continue; break; }",
         "LOOP 0\n  PUSH_INT 1\n  JF 5\n  CONTINUE\n  BREAK\n  JMP 0\n"},
        {"f(1);", "POP\nVARIABLE f\nPUSH_INT 1\nCALL\n"},
        {"f();", "POP\nVARIABLE f\nPUSH_NULL\nCALL\n"},
        {"f(1, 2);", "POP\nVARIABLE f\nPUSH_INT 1\nPUSH_INT 2\nLIST\nCALL\n"},
        {"a.b[1](2).c++;",
         "POP\nVARIABLE a\nMEMBER b\nPUSH_INT 1\nINDEX\nPUSH_INT 2\nCALL\nMEMBER c\nINC\n"},
        {"f(x = 1, 2);",
         "POP\nVARIABLE f\nVARIABLE x\nPUSH_INT 1\nPUSH_INT 2\nLIST\nSUBSTITUTION\nCALL\n"},
        {"f(a) { return a; }",
         "function f\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n  RETURN\n"},
        {"f(a) return a;", "function f\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n  RETURN\n"},
        {"g { h { 1; } }", "function g\n  function h\n    POP\n    PUSH_INT 1\n"},
        // A value call followed by a name at a statement's start is a
        // definition; behind "local" it declares the name.
        {"Foo(1) x;", "function Foo\n  PUSH_INT 1\n  ARGUMENT\n  POP\n  VARIABLE x\n"},
        {"local Foo(1) x;", "POP\nVARIABLE Foo\nPUSH_INT 1\nCALL\nINSTANCE\nLOCAL x\n"},
        {"f = $(a){ return a + n; };",
         "POP\nVARIABLE f\nPUSH_CODE\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n"
         "  VARIABLE n\n  ADD\n  RETURN\nCLOSURE\nSUBSTITUTION\n"},
        {"f = (){ g { } };",
         "POP\nVARIABLE f\nPUSH_CODE\n  PUSH_NULL\n  ARGUMENT\n  function g\nSUBSTITUTION\n"},
        {"global x = 5;", "POP\nPUSH_NULL\nGLOBAL x\nPUSH_INT 5\nSUBSTITUTION\n"},
        {"static s; local a[2];",
         "POP\nPUSH_NULL\nSTATIC s\nPOP\nPUSH_NULL\nLOCAL a\nPUSH_INT 2\nINDEX\n"},
        {"local Point p;", "POP\nVARIABLE Point\nINSTANCE\nLOCAL p\n"},
        {"int n;", "POP\nVARIABLE int\nINSTANCE\nDECLARATION n\n"},
        {"yield; x = yield 5;",
         "POP\nPUSH_NULL\nYIELD\nPOP\nVARIABLE x\nPUSH_INT 5\nYIELD\nSUBSTITUTION\n"},
        {"return; return 1;", "RETURN\nPOP\nPUSH_INT 1\nRETURN\n"},
        // Without the barrier the next POP would merge into "a;" and the
        // label would point past the statement it names.
        {"a; l: b; goto l;", "POP\nVARIABLE a\nl:\nPOP\nVARIABLE b\nGOTO l\n"},
        {"{ m: }", ""},
        {"{ a; } {}", "SCOPE\n  POP\n  VARIABLE a\n"},
        // Macros feed the same stream.
        {"#define TWICE 2 *\nx = TWICE 3;", "POP\nVARIABLE x\nPUSH_INT 6\nSUBSTITUTION\n"},
        {"#define N 4\nx = N * N;", "POP\nVARIABLE x\nPUSH_INT 16\nSUBSTITUTION\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(code(row.source), row.code) << row.source;
}

TEST(ParserCodegen, EmptyUnitOnlyBindsItsArgument) {
    EXPECT_EQ(Kel::disassemble(compileText("").result.function), UNIT_PROLOGUE);
}

TEST(ParserCodegen, FoldedConstantSurvivesCopyingItsBlock) {
    Kel::CompileResult result = compileText("x = 2 * 21;").result;
    Kel::Ref copy = Kel::Ref::adopt(result.function->cloneHolder());
    // Writing into a shared block copies it, cloning every instruction.
    copy.value()->addLabel("end");
    ASSERT_NE(copy.value()->code(), result.function.value()->code());
    EXPECT_EQ(Kel::disassemble(copy),
              "VARIABLE arg\nARGUMENT\nPOP\nVARIABLE x\nPUSH_INT 42\nSUBSTITUTION\nend:\n");
}

// A second definition warns; with parameters the member takes the parameter
// list's code instead of the body, without them it extends the body.
TEST(ParserCodegen, RedefinitionReplacesOrExtendsTheBody) {
    Compiled replaced = compileText("g { a = 1; }\ng { b = 2; }\ng(x) { c; }");
    EXPECT_EQ(replaced.result.errors, 0);
    EXPECT_EQ(replaced.printed, "warning t.kel 2: \n'g' is already exsit\n\n"
                                "warning t.kel 3: \n'g' is already exsit\n\n");
    EXPECT_EQ(
        Kel::disassemble(replaced.result.function),
        "VARIABLE arg\nARGUMENT\nfunction g\n  VARIABLE x\n  ARGUMENT\n  POP\n  VARIABLE c\n");
    EXPECT_EQ(Kel::disassemble(compileText("g { a = 1; }\ng { b = 2; }").result.function),
              "VARIABLE arg\nARGUMENT\nfunction g\n  POP\n  VARIABLE a\n  PUSH_INT 1\n"
              "  SUBSTITUTION\n  POP\n  VARIABLE b\n  PUSH_INT 2\n  SUBSTITUTION\n");
}

} // namespace
