// Compile messages the Kel message scripts do not print: error codes with
// their exact text and line, the error count and its summary, and the bound
// on nesting.
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

std::string summary(int count) {
    return std::to_string(count) + " error in compile t.kel\n\n";
}

// Each source's printed messages and error count.
TEST(ParserMessages, EveryMessageWithItsLineAndTheCount) {
    struct Row {
        const char* source;
        std::string printed;
        int errors;
    };
    const Row rows[] = {
        {"while x y;",
         error(1, "There is no ( after while") + error(1, "There is no while-statement condition") +
             summary(2),
         2},
        {"while (1) { break x; }", error(1, "There is no ; after break") + summary(1), 1},
        {"goto l", error(1, "There is no ; after goto") + summary(1), 1},
        {"local 5;", error(1, "There is no identifier after local") + summary(1), 1},
        {"x = global 5;", error(1, "There is no identifier after global") + summary(1), 1},
        {"x = 1 + ];", error(1, "not term : ]") + summary(1), 1},
        // An unknown byte is reported wherever it stands.
        {"\n`x;", error(2, "unknown token") + summary(1), 1},
        {"f(1)\x7F;", error(1, "unknown token") + summary(1), 1},
        {"x = a ? b 1;", error(1, "There is no : on ternary operation") + summary(1), 1},
        // A missing terminator is reported where the expression ended.
        {"x = 1\n2;", error(1, "There is no ; at expression end") + summary(1), 1},
        {"x = a[1;", error(1, "There is no ] at expression end") + summary(1), 1},
        // The summary counts errors once, after the last statement.
        {"x = );\ny = );\nz = 1;", error(1, "not term : )") + error(2, "not term : )") + summary(2),
         2},
        {"#define BAD )\nx = BAD;", "error t.kel define:BAD 2: \nnot term : )\n\n" + summary(1), 1},
    };
    for (const Row& row : rows) {
        Compiled result = compileText(row.source);
        EXPECT_EQ(result.printed, row.printed) << row.source;
        EXPECT_EQ(result.errors, row.errors) << row.source;
    }
}

TEST(ParserMessages, NestingPastTheBoundIsRefusedOnce) {
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
    // Up to the bound it compiles: the statement, its expression and the
    // right-hand side take three levels.
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
