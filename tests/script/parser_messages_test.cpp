// Compile messages: every error and warning code with its exact printed text
// and line, the error count and its summary, and the bound on nesting.
#include "parser.h"
#include "tokenizer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Compiled {
    std::string printed;
    int errors;
};

Compiled compileText(std::string_view source) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer(source, "t.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    return {testing::internal::GetCapturedStdout(), result.errors};
}

// What the printer writes for one message: the head and the text, each
// followed by the printer's own line break.
std::string error(int line, const std::string& text) {
    return "error t.kel " + std::to_string(line) + ": \n" + text + "\n\n";
}

std::string warning(int line, const std::string& text) {
    return "warning t.kel " + std::to_string(line) + ": \n" + text + "\n\n";
}

std::string summary(int count) {
    return std::to_string(count) + " error in compile t.kel\n\n";
}

TEST(ParserMessages, MissingParenthesisAndConditionOfIf) {
    Compiled result = compileText("if x y;");
    EXPECT_EQ(result.printed, error(1, "There is no ( after if") +
                                  error(1, "There is no if-statement condition") + summary(2));
    EXPECT_EQ(result.errors, 2);
}

TEST(ParserMessages, MissingParenthesisAndConditionOfWhileAndFor) {
    EXPECT_EQ(compileText("while x y;").printed,
              error(1, "There is no ( after while") +
                  error(1, "There is no while-statement condition") + summary(2));
    EXPECT_EQ(compileText("for x;;) y;").printed, error(1, "There is no ( after for") + summary(1));
}

TEST(ParserMessages, MissingSemicolonAfterFlowStatements) {
    EXPECT_EQ(compileText("while (1) {\n continue\n}").printed,
              error(3, "There is no ; after continue") + summary(1));
    EXPECT_EQ(compileText("while (1) { break x; }").printed,
              error(1, "There is no ; after break") + summary(1));
    EXPECT_EQ(compileText("goto l").printed, error(1, "There is no ; after goto") + summary(1));
}

TEST(ParserMessages, GotoWithoutLabel) {
    EXPECT_EQ(compileText("goto;").printed, error(1, "There is no label after goto") + summary(1));
}

TEST(ParserMessages, MissingIdentifier) {
    EXPECT_EQ(compileText("local 5;").printed,
              error(1, "There is no identifier after local") + summary(1));
    EXPECT_EQ(compileText("x = global 5;").printed,
              error(1, "There is no identifier after global") + summary(1));
    EXPECT_EQ(compileText("a.;").printed,
              error(1, "There is no identifier after member access (.)") + summary(1));
}

TEST(ParserMessages, NotATerm) {
    EXPECT_EQ(compileText("x = );").printed, error(1, "not term : )") + summary(1));
    EXPECT_EQ(compileText("x = 1 + ];").printed, error(1, "not term : ]") + summary(1));
}

TEST(ParserMessages, UnknownByteIsReportedWhereverItStands) {
    EXPECT_EQ(compileText("x = \\ 1;").printed, error(1, "unknown token") + summary(1));
    EXPECT_EQ(compileText("\n`x;").printed, error(2, "unknown token") + summary(1));
    EXPECT_EQ(compileText("f(1)\x7F;").printed, error(1, "unknown token") + summary(1));
}

TEST(ParserMessages, MissingColonOfConditional) {
    EXPECT_EQ(compileText("x = a ? b 1;").printed,
              error(1, "There is no : on ternary operation") + summary(1));
}

TEST(ParserMessages, MissingTerminatorIsReportedWhereTheExpressionEnded) {
    EXPECT_EQ(compileText("x = 1\n2;").printed,
              error(1, "There is no ; at expression end") + summary(1));
    EXPECT_EQ(compileText("x = (1;").printed,
              error(1, "There is no ) at expression end") + summary(1));
    EXPECT_EQ(compileText("x = a[1;").printed,
              error(1, "There is no ] at expression end") + summary(1));
}

TEST(ParserMessages, SemicolonMayBeLeftOutBeforeAClosingBrace) {
    Compiled result = compileText("f { a }\n{ b }");
    EXPECT_EQ(result.printed, "");
    EXPECT_EQ(result.errors, 0);
}

TEST(ParserMessages, RedefinitionWarnsAtTheLineOfItsName) {
    Compiled result = compileText("f { }\n\nf { }\ng(a) {}\n  g(b)\n  {}");
    EXPECT_EQ(result.printed,
              warning(3, "'f' is already exsit") + warning(5, "'g' is already exsit"));
    EXPECT_EQ(result.errors, 0);
}

TEST(ParserMessages, UnclosedBlockWarnsWithTheLineItOpened) {
    Compiled result = compileText("\nf {\n a;\n");
    EXPECT_EQ(result.printed, warning(4, "block not closed from 2"));
    EXPECT_EQ(result.errors, 0);
}

TEST(ParserMessages, SummaryCountsErrorsOnceAfterTheLastStatement) {
    Compiled result = compileText("x = );\ny = );\nz = 1;");
    EXPECT_EQ(result.printed, error(1, "not term : )") + error(2, "not term : )") + summary(2));
    EXPECT_EQ(result.errors, 2);
}

TEST(ParserMessages, MessagesNameTheFileOrMacroTheyCameFrom) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer("#define BAD )\nx = BAD;", "t.kel", 1);
    EXPECT_EQ(Kel::compile(tokenizer).errors, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "error t.kel define:BAD 2: \nnot term : )\n\n" + summary(1));
}

TEST(ParserMessages, TokenizerMessagesDoNotCount) {
    Compiled result = compileText("#bogus\nx = 1; /* open");
    EXPECT_EQ(result.printed, "tokenizer t.kel 1: unknown tokenizer directive #bogus\n\n"
                              "error t.kel 2: comment not closed from 2\n\n");
    EXPECT_EQ(result.errors, 0);
}

TEST(ParserMessages, DeepNestingIsRefusedOnce) {
    std::string chain;
    std::string index;
    std::string conditional;
    std::string yields;
    for (int i = 0; i < 100000; ++i) {
        chain += "x = ";
        index += "a[";
        conditional += "a ? b : ";
        yields += "yield ";
    }
    const std::string deep[] = {
        std::string(100000, '(') + "1",
        std::string(100000, '-') + "1;",
        std::string(100000, '{'),
        chain + "1;",
        std::string(50000, '(') + std::string(50000, ')') + ";",
        "x = " + index + ";",
        conditional + "c;",
        yields + "1;",
    };
    for (const std::string& source : deep) {
        Compiled result = compileText(source);
        EXPECT_EQ(result.errors, 1);
        EXPECT_EQ(result.printed.rfind("error t.kel 1: \nstatement or expression nested deeper "
                                       "than 200\n\n" +
                                       summary(1)),
                  0u)
            << result.printed.substr(0, 300);
    }
}

TEST(ParserMessages, NestingUpToTheBoundCompiles) {
    // The statement, its expression and the right-hand side take three levels.
    int depth = Kel::MAX_PARSE_DEPTH - 3;
    auto nested = [](int levels) {
        return "x = " + std::string(levels, '(') + "1" + std::string(levels, ')') + ";";
    };
    Compiled result = compileText(nested(depth));
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(result.printed, "");
    EXPECT_EQ(compileText(nested(depth + 1)).errors, 1);
}

} // namespace
