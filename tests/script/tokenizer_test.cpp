// Token streams of the tokenizer and its preprocessor, read back as text:
// numbers, strings, operators, comments and lines, every directive, includes,
// macros, and the bounds that keep long chains and long inputs from recursing.
#include "tokenizer.h"

#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using Kel::Tokenizer;

std::string describe(Tokenizer& tokenizer, int kind) {
    switch (kind) {
    case Kel::TK_UNKNOWN:
        return "?";
    case Kel::TK_IDENT:
        return "id:" + std::string(tokenizer.text());
    case Kel::TK_INT:
        return "int:" + std::to_string(tokenizer.intValue());
    case Kel::TK_HEX:
        return "hex:" + std::to_string(static_cast<uint32_t>(tokenizer.intValue()));
    case Kel::TK_FLOAT: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "float:%g", tokenizer.floatValue());
        return buffer;
    }
    case Kel::TK_STRING:
        return "str:" + std::string(tokenizer.text());
    default:
        if (kind > ' ' && kind < 127) return std::string(1, static_cast<char>(kind));
        return "#" + std::to_string(kind);
    }
}

// Every token up to the end, separated by spaces.
std::string tokens(Tokenizer& tokenizer) {
    std::string out;
    for (int kind; (kind = tokenizer.next()) != Kel::TK_END;) {
        if (!out.empty()) out += ' ';
        out += describe(tokenizer, kind);
    }
    return out;
}

std::string tokens(std::string_view text) {
    Tokenizer tokenizer(text, "t.kel", 1);
    return tokens(tokenizer);
}

// Tokens and, after " | ", whatever was printed while reading them.
std::string tokensAndOutput(std::string_view text, const std::string& name = "t.kel") {
    testing::internal::CaptureStdout();
    Tokenizer tokenizer(text, name, 1);
    std::string result = tokens(tokenizer);
    return result + " | " + testing::internal::GetCapturedStdout();
}

// Each token with the line it was read at, as "token@line".
std::string tokensWithLines(std::string_view text) {
    Tokenizer tokenizer(text, "t.kel", 1);
    std::string out;
    for (int kind; (kind = tokenizer.next()) != Kel::TK_END;)
        out += describe(tokenizer, kind) + "@" + std::to_string(tokenizer.innermost().line()) + " ";
    return out;
}

struct Row {
    std::string input;
    std::string expected;
};

TEST(TokenizerScan, NumbersStringsAndOperators) {
    const Row rows[] = {
        {"12", "int:12"},
        {"0x1F 0XfF", "hex:31 hex:255"},
        {"0xG", "hex:0 id:G"},
        {"1.5 1e3 .5 2.", "float:1.5 float:1000 float:0.5 float:2"},
        {"12abc", "int:12 id:abc"},
        {"1.5.3", "float:1.5 float:0.3"},
        {"-7", "- int:7"},
        // Overflow wraps in 32 bits.
        {"4294967297", "int:1"},
        {"2147483648", "int:-2147483648"},
        {"0x1FFFFFFFF", "hex:4294967295"},
        // Exponent without digits stops at the letter.
        {"12e", "float:12 id:e"},
        {"3.x", "float:3 id:x"},
        // Double quotes know three escapes, which the Kel value scripts print; others stay.
        {R"("a\qb")", "str:a\\qb"},
        {"''", "str:"},
        // No escape for the backslash itself: the second one escapes the quote.
        {R"("a\\" x")", "str:a\\\" x"},
        // An unterminated string keeps only the chunks copied so far.
        {"\"abc", "str:"},
        {R"("ab\tcd)", "str:ab\t"},
        {"'abc", "str:"},
        {"\"ab\\", "str:ab"},
        {":= ++ -- == != <= >= += -= *= /= %= &= |= ^= << >> <<= >>= && ||",
         "#6 #7 #8 #9 #10 #11 #12 #13 #14 #15 #16 #17 #18 #19 #20 #21 #22 #23 #24 #25 #26"},
        {"! $ % & ( ) * + , - . / : ; < = > ? @ [ ] ^ { | } ~",
         "! $ % & ( ) * + , - . / : ; < = > ? @ [ ] ^ { | } ~"},
        {"a+++b", "id:a #7 + id:b"},
        // Bytes that begin no token are consumed one by one.
        {"a\\`b", "id:a ? ? id:b"},
        {"\xE3\x81\x82", "? ? ?"},
        {std::string("a\0b\x01", 4), "id:a ? id:b ?"},
        // Comments separate tokens and do not nest.
        {"a/*x*/b", "id:a id:b"},
        {"a /* /* */ b */", "id:a id:b * /"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(tokens(row.input), row.expected) << row.input;
}

TEST(TokenizerLines, TokensCarryTheLineTheyStartOn) {
    const Row rows[] = {
        // Line breaks inside a string are kept but not counted.
        {"\"a\nb\" x", "str:a\nb@1 id:x@1 "},
        {"a//x\nb", "id:a@1 id:b@2 "},
        {"a/*\n\n*/b", "id:a@1 id:b@3 "},
        // CR LF, a lone CR and a lone LF each end one line.
        {"a\r\nb\rc\nd", "id:a@1 id:b@2 id:c@3 id:d@4 "},
        {"/*\r\n\r*/x", "id:x@3 "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(tokensWithLines(row.input), row.expected) << row.input;
}

TEST(TokenizerMessages, TokensAndWhatIsPrinted) {
    const Row rows[] = {
        // An unclosed comment ends input with a message.
        {"/*", " | error t.kel 1: comment not closed from 1\n\n"},
        // Syntax errors are warned and the line skipped.
        {"#undef 3\nx", "id:x | warning t.kel 1: undef syntax error\n\n"},
        {"#ifdef (\ny", "id:y | warning t.kel 1: ifdef syntax error\n\n"},
        {"#ifndef (\ny", "id:y | warning t.kel 1: ifndef syntax error\n\n"},
        // The interpreter line is ignored silently.
        {"#!/usr/bin/kel -x\nprint", "id:print | "},
        // Text ending inside a directive ends input.
        {"a #", "id:a | "},
        {"a # ", "id:a | "},
        {"a #else", "id:a | "},
        {"#include \"never", " | "},
        // A self-reference stays a name.
        {"#define A A + 1\nA",
         "id:A + int:1 | tokenizer t.kel define:A 2: macro A expands itself\n\n"},
        {"#define A B\n#define B A\nA",
         "id:A | tokenizer t.kel define:A define:B 3: macro A expands itself\n\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(tokensAndOutput(row.input), row.expected) << row.input;
}

TEST(TokenizerDirectives, DefinesAndConditionals) {
    const Row rows[] = {
        {"#define F(x) x\nF", "( id:x ) id:x"},
        {"#define A 1\n#define A 2\nA", "int:2"},
        // A #define at the end of the text defines nothing.
        {"#define N", ""},
        {"#define N \nN x", "id:x"},
        // The replacement ends before a trailing comment.
        {"#define N 1 // one\nN 2", "int:1 int:2"},
        // The rest of the opening line belongs to the skipped region.
        {"#ifdef X a\nb\n#endif c\nd", "id:d"},
        {"#ifdef X\na\n#else b\nc\n#endif", "id:c"},
        // A skipped region changes no macro.
        {"#ifdef D\n#define L 3\n#else\n#define L 1\n#endif\nL", "int:1"},
        {"#define D\n#ifdef D\n#define L 3\n#else\n#define L 1\n#endif\nL", "int:3"},
        {"#define L 1\n#ifdef D\n#undef L\n#endif\nL", "int:1"},
        // A directive may stand anywhere a token begins.
        {"a #define B 2\nB", "id:a int:2"},
        // An unclosed conditional stops at the end.
        {"a\n#ifdef X\nb\nc", "id:a"},
        // Empty macros inside a macro vanish.
        {"#define E\n#define A E E x E\nA A", "id:x id:x"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(tokens(row.input), row.expected) << row.input;
}

class TokenizerIncludes : public ScratchDirTest {
protected:
    std::string readFile(const std::string& path) {
        testing::internal::CaptureStdout();
        auto tokenizer = Tokenizer::open(path);
        std::string result = tokenizer ? tokens(*tokenizer) : "(no tokenizer)";
        return result + " | " + testing::internal::GetCapturedStdout();
    }
};

// Each row writes dir/x.kel (unless it is null) and dir/a.kel, then reads a.kel.
TEST_F(TokenizerIncludes, IncludedFilesJoinTheStream) {
    struct IncludeRow {
        const char* x;
        const char* a;
        std::string expected;
    };
    const IncludeRow rows[] = {
        {"inner", "#include <x.kel\"\nz", "id:inner id:z | "},
        // Messages and lines come from the included file.
        {"\n\n#bogus\n", "#include \"x.kel\"\n#oops\n",
         " | tokenizer dir/x.kel 3: unknown tokenizer directive #bogus\n\n"
         "tokenizer dir/a.kel 2: unknown tokenizer directive #oops\n\n"},
        {nullptr, "#ifdef X\n#include \"missing.kel\"\nq\n#endif\nz", "id:z | "},
        // An unterminated name keeps the line count.
        {"inner", "#include \"x.kel\n#oops\n",
         "id:inner | tokenizer dir/a.kel 2: unknown tokenizer directive #oops\n\n"},
        {nullptr, "x\n#include \"a.kel\"\n#include \"a.kel\"\ny",
         "id:x id:y | tokenizer dir/a.kel 2: include file <a.kel> includes itself\n\n"
         "tokenizer dir/a.kel 3: include file <a.kel> includes itself\n\n"},
        {"b\n#include \"a.kel\"\n", "a\n#include \"x.kel\"\nend",
         "id:a id:b id:end | tokenizer dir/x.kel 2: include file <a.kel> includes itself\n\n"},
    };
    for (const IncludeRow& row : rows) {
        std::filesystem::remove("dir/x.kel");
        if (row.x) WriteFile("dir/x.kel", row.x);
        WriteFile("dir/a.kel", row.a);
        EXPECT_EQ(readFile("dir/a.kel"), row.expected) << row.a;
    }
}

TEST_F(TokenizerIncludes, ChainOfDistinctFilesIsBounded) {
    for (int i = 0; i < Kel::MAX_NESTING_DEPTH + 5; ++i)
        WriteFile("dir/f" + std::to_string(i) + ".kel",
                  "#include \"f" + std::to_string(i + 1) + ".kel\"\n");
    std::string last = "f" + std::to_string(Kel::MAX_NESTING_DEPTH + 1) + ".kel";
    std::string out = readFile("dir/f0.kel");
    EXPECT_NE(out.find("include file <" + last + "> nested too deep"), std::string::npos) << out;
}

TEST_F(TokenizerIncludes, DirectoryOrMissingFileMakesNoTokenizer) {
    std::filesystem::create_directories("dir");
    EXPECT_EQ(Tokenizer::open("dir"), nullptr);
    EXPECT_EQ(Tokenizer::open("none.kel"), nullptr);
}

TEST(TokenizerMacros, MessageInsideAnExpansionNamesTheMacro) {
    Tokenizer tokenizer("#define N 10 #bogus x\nN+1", "t.kel", 1);
    testing::internal::CaptureStdout();
    ASSERT_EQ(tokenizer.next(), Kel::TK_INT);
    EXPECT_EQ(tokenizer.innermost().name(), "t.kel define:N");
    EXPECT_EQ(tokens(tokenizer), "+ int:1");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "tokenizer t.kel define:N 2: unknown tokenizer directive #bogus\n\n");
}

TEST(TokenizerMacros, DoublingSelfReferenceDoesNotExplode) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(tokens("#define A A A\nA"), "id:A id:A");
    testing::internal::GetCapturedStdout();
}

TEST(TokenizerMacros, LongChainIsBounded) {
    std::string text;
    for (int i = 0; i < Kel::MAX_NESTING_DEPTH + 10; ++i)
        text += "#define M" + std::to_string(i) + " M" + std::to_string(i + 1) + "\n";
    text += "M0";
    std::string out = tokensAndOutput(text);
    // The message names the chain of expansions (cut by the printer's buffer).
    std::string stuck = "M" + std::to_string(Kel::MAX_NESTING_DEPTH);
    EXPECT_EQ(out.substr(0, out.find(" | ")), "id:" + stuck);
    EXPECT_EQ(out.find(" | tokenizer t.kel define:M0 define:M1 define:M2"), out.find(" | "));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

TEST(TokenizerRobustness, ManyDirectivesInARowDoNotRecurse) {
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "#define X\n";
    text += "y";
    EXPECT_EQ(tokens(text), "id:y");
}

TEST(TokenizerRobustness, VeryLongLinesAndTokens) {
    std::string name(1 << 20, 'a');
    std::string digits(1 << 20, '7');
    EXPECT_EQ(tokens(name), "id:" + name);
    EXPECT_EQ(tokens(digits + ".5").substr(0, 6), "float:");
    testing::internal::CaptureStdout();
    Tokenizer tokenizer("#" + name + "\n", "t.kel", 1);
    EXPECT_EQ(tokenizer.next(), Kel::TK_END);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("tokenizer t.kel 1: unknown tokenizer directive #aaa", 0), 0u);
}

} // namespace
