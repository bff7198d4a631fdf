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

// The disassembly of `source` without the unit's argument binding; the
// compile must print nothing and count no error.
std::string code(std::string_view source) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer(source, "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result.errors, 0) << source;
    EXPECT_EQ(printed, "") << source;
    std::string text = Kel::disassemble(result.function);
    EXPECT_EQ(text.rfind(UNIT_PROLOGUE, 0), 0u) << text;
    return text.substr(std::string(UNIT_PROLOGUE).size());
}

TEST(ParserCodegen, EmptyUnitOnlyBindsItsArgument) {
    Kel::Tokenizer tokenizer("", "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(Kel::disassemble(result.function), "VARIABLE arg\nARGUMENT\n");
    EXPECT_EQ(code("  // nothing\n;;"), "");
}

TEST(ParserCodegen, ConstantArithmeticFoldsToOneConstant) {
    EXPECT_EQ(code("x = 1 + 2 * 3;"), "POP\nVARIABLE x\nPUSH_INT 7\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = (1 + 2) * -3;"), "POP\nVARIABLE x\nPUSH_INT -9\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = 7 / 0;"), "POP\nVARIABLE x\nPUSH_INT 0\nSUBSTITUTION\n");
}

// A folded literal holds what the operation gives at run time: arithmetic
// keeps the left operand's class, comparisons and `!` give an int.
TEST(ParserCodegen, FoldedConstantHasTheClassOfTheRunTimeResult) {
    EXPECT_EQ(code("x = 1.5 < 2;"), "POP\nVARIABLE x\nPUSH_INT 1\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = !0.0;"), "POP\nVARIABLE x\nPUSH_INT 1\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = \"b\" == \"b\";"), "POP\nVARIABLE x\nPUSH_INT 1\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = \"a\" + 1;"), "POP\nVARIABLE x\nPUSH_STRING \"a1\"\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = 1 + \"2\";"), "POP\nVARIABLE x\nPUSH_INT 3\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = 0xFF + 1;"), "POP\nVARIABLE x\nPUSH_HEX 0x100\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = -\"abc\";"), "POP\nVARIABLE x\nPUSH_STRING \"cba\"\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = ~0;"), "POP\nVARIABLE x\nPUSH_INT -1\nSUBSTITUTION\n");
}

TEST(ParserCodegen, FoldedConstantSurvivesCopyingItsBlock) {
    Kel::Tokenizer tokenizer("x = 2 * 21;", "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    Kel::Ref copy = Kel::Ref::adopt(result.function->cloneHolder());
    // Writing into a shared block copies it, cloning every instruction.
    copy.value()->addLabel("end");
    ASSERT_NE(copy.value()->code(), result.function.value()->code());
    EXPECT_EQ(Kel::disassemble(copy),
              "VARIABLE arg\nARGUMENT\nPOP\nVARIABLE x\nPUSH_INT 42\nSUBSTITUTION\nend:\n");
}

TEST(ParserCodegen, EmptyConstantIsNeverFolded) {
    EXPECT_EQ(code("x = !();"), "POP\nVARIABLE x\nPUSH_NULL\nNOT\nSUBSTITUTION\n");
}

TEST(ParserCodegen, LongStringRepetitionIsLeftToRunTime) {
    EXPECT_EQ(code("x = \"ab\" * 3;"), "POP\nVARIABLE x\nPUSH_STRING \"ababab\"\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = \"ab\" * 1000000;"),
              "POP\nVARIABLE x\nPUSH_STRING \"ab\"\nPUSH_INT 1000000\nMUL\nSUBSTITUTION\n");
}

TEST(ParserCodegen, DiscardedValuesAreDropped) {
    // The second statement's POP takes the first statement's variable away.
    EXPECT_EQ(code("a; b;"), "POP\nVARIABLE b\n");
    EXPECT_EQ(code("1; \"s\"; c;"), "POP\nVARIABLE c\n");
    EXPECT_EQ(code("x = +y;"), "POP\nVARIABLE x\nVARIABLE y\nSUBSTITUTION\n");
}

TEST(ParserCodegen, DiscardedPostfixStepBecomesPrefix) {
    EXPECT_EQ(code("i++; j;"), "POP\nVARIABLE i\nPINC\nPOP\nVARIABLE j\n");
    EXPECT_EQ(code("i--; j;"), "POP\nVARIABLE i\nPDEC\nPOP\nVARIABLE j\n");
    EXPECT_EQ(code("i++;"), "POP\nVARIABLE i\nINC\n");
}

TEST(ParserCodegen, ShortCircuitKeepsTheConstantItsJumpSkips) {
    EXPECT_EQ(code("a || b; c;"),
              "POP\nVARIABLE a\nJRT 2\nVARIABLE b\nJR 1\nPUSH_INT 1\nPOP\nVARIABLE c\n");
    EXPECT_EQ(code("a && b; c;"),
              "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nPUSH_NULL\nPOP\nVARIABLE c\n");
    // Nor is it folded with a constant that follows.
    EXPECT_EQ(code("x = (a ? b : 1) + 2;"), "POP\nVARIABLE x\nVARIABLE a\nJRF 2\nVARIABLE b\n"
                                            "JR 1\nPUSH_INT 1\nPUSH_INT 2\nADD\nSUBSTITUTION\n");
}

TEST(ParserCodegen, IfElseJumpTargets) {
    EXPECT_EQ(code("if (x) y;"), "SCOPE\n  VARIABLE x\n  JF 4\n  POP\n  VARIABLE y\n");
    EXPECT_EQ(code("if (x) y; else z;"), "SCOPE\n  VARIABLE x\n  JF 5\n  POP\n  VARIABLE y\n"
                                         "  JMP 7\n  POP\n  VARIABLE z\n");
    EXPECT_EQ(code("if (x) { } else { z; }"),
              "SCOPE\n  VARIABLE x\n  JF 3\n  JMP 5\n  POP\n  VARIABLE z\n");
}

TEST(ParserCodegen, ElseJumpLandsBehindABranchEndingInParentheses) {
    // The JMP drops the marker as it arrives; the JF must still land on the
    // else part's first instruction.
    EXPECT_EQ(code("if (c) (a); else b;"), "SCOPE\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE a\n"
                                           "  JMP 7\n  POP\n  VARIABLE b\n");
}

TEST(ParserCodegen, WhileLoopJumpsBackToItsCondition) {
    EXPECT_EQ(code("while (c) x;"), "LOOP 0\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE x\n  JMP 0\n");
    EXPECT_EQ(code("while (c) {} else { e; }"),
              "LOOP 0\n  VARIABLE c\n  JF 3\n  JMP 0\n  POP\n  VARIABLE e\n");
}

TEST(ParserCodegen, ForLoopTargetsAndContinueIndex) {
    EXPECT_EQ(code("for (i = 0; i < 3; i++) a;"),
              "LOOP 10\n"
              "  POP\n  VARIABLE i\n  PUSH_INT 0\n  SUBSTITUTION\n"
              "  VARIABLE i\n  PUSH_INT 3\n  LT\n  JF 14\n"
              "  POP\n  VARIABLE a\n"
              "  POP\n  VARIABLE i\n  INC\n"
              "  JMP 4\n");
    EXPECT_EQ(code("for (;;) { break; }"), "LOOP 1\n  BREAK\n  JMP 0\n");
    EXPECT_EQ(code("for (;c;) x; else y;"), "LOOP 4\n  VARIABLE c\n  JF 5\n  POP\n  VARIABLE x\n"
                                            "  JMP 0\n  POP\n  VARIABLE y\n");
}

TEST(ParserCodegen, ConditionalGroupsAtItsOwnLevel) {
    EXPECT_EQ(code("x = a ? b : c, d;"), "POP\nVARIABLE x\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\n"
                                         "VARIABLE c\nVARIABLE d\nLIST\nSUBSTITUTION\n");
    EXPECT_EQ(code("a = b ? c : d = e;"), "POP\nVARIABLE a\nVARIABLE b\nJRF 2\nVARIABLE c\nJR 1\n"
                                          "VARIABLE d\nVARIABLE e\nSUBSTITUTION\nSUBSTITUTION\n");
}

TEST(ParserCodegen, ConditionalCountsLandBehindTheFalseBranch) {
    EXPECT_EQ(code("x = a ? b + 1 : c * 2;"), "POP\nVARIABLE x\nVARIABLE a\nJRF 4\nVARIABLE b\n"
                                              "PUSH_INT 1\nADD\nJR 3\nVARIABLE c\nPUSH_INT 2\nMUL\n"
                                              "SUBSTITUTION\n");
    EXPECT_EQ(code("a ? b : (c); y;"),
              "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nVARIABLE c\nPOP\nVARIABLE y\n");
    EXPECT_EQ(code("a ? b : (c), d;"),
              "POP\nVARIABLE a\nJRF 2\nVARIABLE b\nJR 1\nVARIABLE c\nVARIABLE d\nLIST\n");
}

TEST(ParserCodegen, ParenthesesMarkerSurvivesOnlyIntoAList) {
    EXPECT_EQ(code("x = c, (a, b);"), "POP\nVARIABLE x\nVARIABLE c\nVARIABLE a\nVARIABLE b\nLIST\n"
                                      "PARENTHESES\nLIST\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = (a, b), c;"),
              "POP\nVARIABLE x\nVARIABLE a\nVARIABLE b\nLIST\nVARIABLE c\nLIST\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = (a);"), "POP\nVARIABLE x\nVARIABLE a\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = ();"), "POP\nVARIABLE x\nPUSH_NULL\nSUBSTITUTION\n");
}

TEST(ParserCodegen, CallStatementAndPostfixChain) {
    EXPECT_EQ(code("f(1);"), "POP\nVARIABLE f\nPUSH_INT 1\nCALL\n");
    EXPECT_EQ(code("f();"), "POP\nVARIABLE f\nPUSH_NULL\nCALL\n");
    EXPECT_EQ(code("f(1, 2);"), "POP\nVARIABLE f\nPUSH_INT 1\nPUSH_INT 2\nLIST\nCALL\n");
    EXPECT_EQ(code("a.b[1](2).c++;"), "POP\nVARIABLE a\nMEMBER b\nPUSH_INT 1\nINDEX\nPUSH_INT 2\n"
                                      "CALL\nMEMBER c\nINC\n");
    EXPECT_EQ(code("f(x = 1, 2);"),
              "POP\nVARIABLE f\nVARIABLE x\nPUSH_INT 1\nPUSH_INT 2\nLIST\nSUBSTITUTION\nCALL\n");
}

TEST(ParserCodegen, NamedDefinitionsWithAndWithoutParameters) {
    EXPECT_EQ(code("f(a) { return a; }"),
              "function f\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n  RETURN\n");
    EXPECT_EQ(code("f(a) return a;"),
              "function f\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n  RETURN\n");
    EXPECT_EQ(code("g { h { 1; } }"), "function g\n  function h\n    POP\n    PUSH_INT 1\n");
    // A value call followed by a name at a statement's start is a definition;
    // behind "local" it declares the name.
    EXPECT_EQ(code("Foo(1) x;"), "function Foo\n  PUSH_INT 1\n  ARGUMENT\n  POP\n  VARIABLE x\n");
    EXPECT_EQ(code("local Foo(1) x;"), "POP\nVARIABLE Foo\nPUSH_INT 1\nCALL\nINSTANCE\nLOCAL x\n");
}

TEST(ParserCodegen, RedefinitionWithParametersReplacesTheBody) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer("g { a = 1; }\ng { b = 2; }\ng(x) { c; }", "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(printed, "warning t.kel 2: \n'g' is already exsit\n\n"
                       "warning t.kel 3: \n'g' is already exsit\n\n");
    // With parameters the member takes the parameter list's code instead.
    EXPECT_EQ(
        Kel::disassemble(result.function),
        "VARIABLE arg\nARGUMENT\nfunction g\n  VARIABLE x\n  ARGUMENT\n  POP\n  VARIABLE c\n");
}

TEST(ParserCodegen, DefinitionWithoutParametersExtendsTheBody) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer("g { a = 1; }\ng { b = 2; }", "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Kel::disassemble(result.function),
              "VARIABLE arg\nARGUMENT\nfunction g\n  POP\n  VARIABLE a\n  PUSH_INT 1\n"
              "  SUBSTITUTION\n  POP\n  VARIABLE b\n  PUSH_INT 2\n  SUBSTITUTION\n");
}

TEST(ParserCodegen, FunctionLiteralAndClosure) {
    EXPECT_EQ(code("f = $(a){ return a + n; };"),
              "POP\nVARIABLE f\nPUSH_CODE\n  VARIABLE a\n  ARGUMENT\n  POP\n  VARIABLE a\n"
              "  VARIABLE n\n  ADD\n  RETURN\nCLOSURE\nSUBSTITUTION\n");
    EXPECT_EQ(code("f = (){ g { } };"),
              "POP\nVARIABLE f\nPUSH_CODE\n  PUSH_NULL\n  ARGUMENT\n  function g\nSUBSTITUTION\n");
}

TEST(ParserCodegen, Declarations) {
    EXPECT_EQ(code("global x = 5;"), "POP\nPUSH_NULL\nGLOBAL x\nPUSH_INT 5\nSUBSTITUTION\n");
    EXPECT_EQ(code("static s; local a[2];"),
              "POP\nPUSH_NULL\nSTATIC s\nPOP\nPUSH_NULL\nLOCAL a\nPUSH_INT 2\nINDEX\n");
    EXPECT_EQ(code("local Point p;"), "POP\nVARIABLE Point\nINSTANCE\nLOCAL p\n");
    EXPECT_EQ(code("int n;"), "POP\nVARIABLE int\nINSTANCE\nDECLARATION n\n");
    EXPECT_EQ(code("x = 0 p;"),
              "POP\nVARIABLE x\nPUSH_INT 0\nINSTANCE\nDECLARATION p\nSUBSTITUTION\n");
}

TEST(ParserCodegen, LocalIndexYieldLabelsAndGoto) {
    EXPECT_EQ(code("x = @2 + @;"),
              "POP\nVARIABLE x\nLOCALINDEX 2\nLOCALINDEX 0\nADD\nSUBSTITUTION\n");
    EXPECT_EQ(code("yield; x = yield 5;"),
              "POP\nPUSH_NULL\nYIELD\nPOP\nVARIABLE x\nPUSH_INT 5\nYIELD\nSUBSTITUTION\n");
    EXPECT_EQ(code("return; return 1;"), "RETURN\nPOP\nPUSH_INT 1\nRETURN\n");
    EXPECT_EQ(code("while (1) { continue; break; }"),
              "LOOP 0\n  PUSH_INT 1\n  JF 5\n  CONTINUE\n  BREAK\n  JMP 0\n");
}

TEST(ParserCodegen, LabelKeepsTheStatementBehindIt) {
    // Without the barrier the next POP would merge into "a;" and the label
    // would point past the statement it names.
    EXPECT_EQ(code("a; l: b; goto l;"), "POP\nVARIABLE a\nl:\nPOP\nVARIABLE b\nGOTO l\n");
    EXPECT_EQ(code("{ m: }"), "");
}

TEST(ParserCodegen, BlocksMakeScopesOnlyWhenNotEmpty) {
    EXPECT_EQ(code("{ a; } {}"), "SCOPE\n  POP\n  VARIABLE a\n");
}

TEST(ParserCodegen, DisassemblerWritesOperandsReadably) {
    EXPECT_EQ(code("x = \"q\\\"\\n\\t\\\\\x01\";"),
              "POP\nVARIABLE x\nPUSH_STRING \"q\\\"\\n\\t\\\\\\\\\\x01\"\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = 0.1;"), "POP\nVARIABLE x\nPUSH_FLOAT 0.1\nSUBSTITUTION\n");
    EXPECT_EQ(code("x = 1e300 * 10;"), "POP\nVARIABLE x\nPUSH_FLOAT 1e+301\nSUBSTITUTION\n");
}

TEST(ParserCodegen, MacrosAndIncludesFeedTheSameStream) {
    EXPECT_EQ(code("#define TWICE 2 *\nx = TWICE 3;"),
              "POP\nVARIABLE x\nPUSH_INT 6\nSUBSTITUTION\n");
    EXPECT_EQ(code("#define N 4\nx = N * N;"), "POP\nVARIABLE x\nPUSH_INT 16\nSUBSTITUTION\n");
}

} // namespace
