// Token streams of the tokenizer and its preprocessor, read back as text:
// numbers, strings, operators, comments and lines, every directive, includes,
// macros, and the safety of scanning arbitrary bytes.
#include "tokenizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

namespace {

using Kel::Tokenizer;

std::string describe(Tokenizer& tokenizer, int kind) {
    switch (kind) {
    case Kel::TK_UNKNOWN:
        return "?";
    case Kel::TK_IDENT:
        return "id:" + tokenizer.text();
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
        return "str:" + tokenizer.text();
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

TEST(TokenizerNumbers, DecimalHexAndFloatingLiterals) {
    EXPECT_EQ(tokens("12"), "int:12");
    EXPECT_EQ(tokens("0x1F 0XfF"), "hex:31 hex:255");
    EXPECT_EQ(tokens("0x"), "hex:0");
    EXPECT_EQ(tokens("0xG"), "hex:0 id:G");
    EXPECT_EQ(tokens("1.5 1e3 .5 2."), "float:1.5 float:1000 float:0.5 float:2");
    EXPECT_EQ(tokens("12abc"), "int:12 id:abc");
    EXPECT_EQ(tokens("1.5.3"), "float:1.5 float:0.3");
    EXPECT_EQ(tokens("-7"), "- int:7");
}

TEST(TokenizerNumbers, OverflowWrapsInThirtyTwoBits) {
    EXPECT_EQ(tokens("4294967297"), "int:1");
    EXPECT_EQ(tokens("2147483648"), "int:-2147483648");
    EXPECT_EQ(tokens("0x1FFFFFFFF"), "hex:4294967295");
}

TEST(TokenizerNumbers, ExponentWithoutDigitsStopsAtTheLetter) {
    EXPECT_EQ(tokens("12e"), "float:12 id:e");
    EXPECT_EQ(tokens("3.x"), "float:3 id:x");
}

TEST(TokenizerStrings, DoubleQuotedKnowsThreeEscapes) {
    EXPECT_EQ(tokens(R"("a\tb")"), "str:a\tb");
    EXPECT_EQ(tokens(R"("a\nb\"c")"), "str:a\nb\"c");
    EXPECT_EQ(tokens(R"("a\qb")"), "str:a\\qb");
    // No escape for the backslash itself: the second one escapes the quote.
    EXPECT_EQ(tokens(R"("a\\" x")"), "str:a\\\" x");
}

TEST(TokenizerStrings, SingleQuotedHasNoEscapes) {
    EXPECT_EQ(tokens(R"('a\nb')"), "str:a\\nb");
    EXPECT_EQ(tokens(R"('say "hi"')"), "str:say \"hi\"");
    EXPECT_EQ(tokens("''"), "str:");
}

TEST(TokenizerStrings, LineBreaksInsideAreKeptButNotCounted) {
    EXPECT_EQ(tokensWithLines("\"a\nb\" x"), "str:a\nb@1 id:x@1 ");
}

TEST(TokenizerStrings, UnterminatedKeepsOnlyCopiedChunks) {
    EXPECT_EQ(tokens("\"abc"), "str:");
    EXPECT_EQ(tokens(R"("ab\tcd)"), "str:ab\t");
    EXPECT_EQ(tokens("'abc"), "str:");
    EXPECT_EQ(tokens("\"ab\\"), "str:ab");
}

TEST(TokenizerOperators, EveryCompoundOperator) {
    EXPECT_EQ(tokens(":= ++ -- == != <= >= += -= *= /= %= &= |= ^= << >> <<= >>= && ||"),
              "#6 #7 #8 #9 #10 #11 #12 #13 #14 #15 #16 #17 #18 #19 #20 #21 #22 #23 #24 #25 #26");
    EXPECT_EQ(tokens("a := b"), "id:a #6 id:b");
    EXPECT_EQ(tokens("x <<= 2"), "id:x #23 int:2");
}

TEST(TokenizerOperators, SingleCharacterPunctuation) {
    EXPECT_EQ(tokens("! $ % & ( ) * + , - . / : ; < = > ? @ [ ] ^ { | } ~"),
              "! $ % & ( ) * + , - . / : ; < = > ? @ [ ] ^ { | } ~");
    EXPECT_EQ(tokens("a+++b"), "id:a #7 + id:b");
    EXPECT_EQ(tokens("a.b"), "id:a . id:b");
}

TEST(TokenizerOperators, BytesThatBeginNoTokenAreConsumedOneByOne) {
    EXPECT_EQ(tokens("a\\`b"), "id:a ? ? id:b");
    EXPECT_EQ(tokens("\xE3\x81\x82"), "? ? ?");
    EXPECT_EQ(tokens(std::string_view("a\0b\x01", 4)), "id:a ? id:b ?");
}

TEST(TokenizerCommentsAndLines, CommentsSeparateTokens) {
    EXPECT_EQ(tokens("a/*x*/b"), "id:a id:b");
    EXPECT_EQ(tokensWithLines("a//x\nb"), "id:a@1 id:b@2 ");
    EXPECT_EQ(tokensWithLines("a/*\n\n*/b"), "id:a@1 id:b@3 ");
    EXPECT_EQ(tokens("a /* /* */ b */"), "id:a id:b * /");
}

TEST(TokenizerCommentsAndLines, CrLfLoneCrAndLoneLfEachEndOneLine) {
    EXPECT_EQ(tokensWithLines("a\r\nb\rc\nd"), "id:a@1 id:b@2 id:c@3 id:d@4 ");
    EXPECT_EQ(tokensWithLines("/*\r\n\r*/x"), "id:x@3 ");
}

TEST(TokenizerCommentsAndLines, UnclosedCommentEndsInputWithAMessage) {
    EXPECT_EQ(tokensAndOutput("a\n/* b\nc"), "id:a | error t.kel 3: comment not closed from 2\n\n");
    EXPECT_EQ(tokensAndOutput("/*"), " | error t.kel 1: comment not closed from 1\n\n");
}

TEST(TokenizerCommentsAndLines, TokenLineIsWhereScanningBegan) {
    Tokenizer tokenizer("a\n\n  b", "t.kel", 1);
    ASSERT_EQ(tokenizer.next(), Kel::TK_IDENT);
    ASSERT_EQ(tokenizer.next(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.tokenLine(), 1);
    EXPECT_EQ(tokenizer.line(), 3);
}

TEST(TokenizerCommentsAndLines, FirstLineNumberIsTheCreatorsChoice) {
    Tokenizer tokenizer("\nx", "eval", 0);
    ASSERT_EQ(tokenizer.next(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.line(), 1);
}

TEST(TokenizerLookahead, PeekKeepsNextClearsAcceptTests) {
    Tokenizer tokenizer("a ; b", "t.kel", 1);
    EXPECT_EQ(tokenizer.peek(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.peek(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.text(), "a");
    EXPECT_FALSE(tokenizer.accept(';'));
    EXPECT_EQ(tokenizer.next(), Kel::TK_IDENT);
    EXPECT_TRUE(tokenizer.accept(';'));
    EXPECT_EQ(tokenizer.next(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.text(), "b");
    EXPECT_EQ(tokenizer.peek(), Kel::TK_END);
    EXPECT_EQ(tokenizer.next(), Kel::TK_END);
    EXPECT_TRUE(tokenizer.accept(Kel::TK_END));
    EXPECT_EQ(tokenizer.peek(), Kel::TK_END);
}

TEST(TokenizerLookahead, UnknownByteIsNotKeptByPeek) {
    Tokenizer tokenizer("\\x", "t.kel", 1);
    EXPECT_EQ(tokenizer.peek(), Kel::TK_UNKNOWN);
    EXPECT_EQ(tokenizer.peek(), Kel::TK_IDENT);
    EXPECT_EQ(tokenizer.text(), "x");
}

TEST(TokenizerDirectives, DefineReplacesByTokens) {
    EXPECT_EQ(tokens("#define N 10\nN+1"), "int:10 + int:1");
    EXPECT_EQ(tokens("#define F(x) x\nF"), "( id:x ) id:x");
    EXPECT_EQ(tokens("#define A 1\n#define A 2\nA"), "int:2");
    // Keywords are identifiers, so they can be macros too.
    EXPECT_EQ(tokens("#define while if\nwhile"), "id:if");
}

TEST(TokenizerDirectives, DefineAtTheEndOfTextDefinesNothing) {
    EXPECT_EQ(tokens("#define N"), "");
    EXPECT_EQ(tokens("#define N\nN x"), "id:x");
    EXPECT_EQ(tokens("#define N \nN x"), "id:x");
}

TEST(TokenizerDirectives, ReplacementKeepsTrailingComment) {
    EXPECT_EQ(tokens("#define N 1 // one\nN 2"), "int:1 int:2");
}

TEST(TokenizerDirectives, UndefRemovesAMacro) {
    EXPECT_EQ(tokens("#define N 1\nN\n#undef N\nN"), "int:1 id:N");
    EXPECT_EQ(tokensAndOutput("#undef 3\nx"), "id:x | warning t.kel 1: undef syntax error\n\n");
}

TEST(TokenizerDirectives, IfdefAndIfndefChooseTheirPart) {
    EXPECT_EQ(tokens("#ifdef X\na\n#else\nb\n#endif\nc"), "id:b id:c");
    EXPECT_EQ(tokens("#define X\n#ifdef X\na\n#else\nb\n#endif\nc"), "id:a id:c");
    EXPECT_EQ(tokens("#ifndef X\na\n#else\nb\n#endif"), "id:a");
    EXPECT_EQ(tokens("#define X 1\n#ifndef X\na\n#endif\nc"), "id:c");
}

TEST(TokenizerDirectives, NestedConditionalInsideSkippedPartDoesNotEndIt) {
    const char* text = "#ifdef X\n"
                       "#ifdef Y\n a\n#else\n b\n#endif\n"
                       " c\n"
                       "#else\n d\n#endif\n e";
    EXPECT_EQ(tokens(text), "id:d id:e");
    EXPECT_EQ(tokens(std::string("#define Y\n") + text), "id:d id:e");
}

TEST(TokenizerDirectives, RestOfOpeningLineBelongsToTheSkippedRegion) {
    EXPECT_EQ(tokens("#ifdef X a\nb\n#endif c\nd"), "id:d");
    EXPECT_EQ(tokens("#ifdef X\na\n#else b\nc\n#endif"), "id:c");
}

TEST(TokenizerDirectives, SkippedRegionChangesNoMacro) {
    EXPECT_EQ(tokens("#ifdef D\n#define L 3\n#else\n#define L 1\n#endif\nL"), "int:1");
    EXPECT_EQ(tokens("#define D\n#ifdef D\n#define L 3\n#else\n#define L 1\n#endif\nL"), "int:3");
    EXPECT_EQ(tokens("#define L 1\n#ifdef D\n#undef L\n#endif\nL"), "int:1");
}

TEST(TokenizerDirectives, SyntaxErrorsAreWarnedAndTheLineSkipped) {
    EXPECT_EQ(tokensAndOutput("# 3 x\ny"),
              "id:y | warning t.kel 1: tokenizer directive syntax error\n\n");
    EXPECT_EQ(tokensAndOutput("#define 3\ny"), "id:y | warning t.kel 1: define syntax error\n\n");
    EXPECT_EQ(tokensAndOutput("#ifdef (\ny"), "id:y | warning t.kel 1: ifdef syntax error\n\n");
    EXPECT_EQ(tokensAndOutput("#ifndef (\ny"), "id:y | warning t.kel 1: ifndef syntax error\n\n");
    EXPECT_EQ(tokensAndOutput("x\n#endif\ny"),
              "id:x id:y | warning t.kel 2: endif syntax error\n\n");
    EXPECT_EQ(tokensAndOutput("#pragma once\ny"),
              "id:y | tokenizer t.kel 1: unknown tokenizer directive #pragma\n\n");
}

TEST(TokenizerDirectives, InterpreterLineIsIgnoredSilently) {
    EXPECT_EQ(tokensAndOutput("#!/usr/bin/kel -x\nprint"), "id:print | ");
}

TEST(TokenizerDirectives, DirectiveMayStandAnywhereATokenBegins) {
    EXPECT_EQ(tokens("a #define B 2\nB"), "id:a int:2");
}

TEST(TokenizerDirectives, TextEndingInsideADirectiveEndsInput) {
    EXPECT_EQ(tokensAndOutput("a #"), "id:a | ");
    EXPECT_EQ(tokensAndOutput("a # "), "id:a | ");
    EXPECT_EQ(tokensAndOutput("a #else"), "id:a | ");
    EXPECT_EQ(tokensAndOutput("#include \"never"), " | ");
}

TEST(TokenizerDirectives, UnclosedConditionalStopsAtTheEnd) {
    EXPECT_EQ(tokens("a\n#ifdef X\nb\nc"), "id:a");
}

class TokenizerIncludes : public testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("kel_include_" + std::to_string(::getpid()) + "_" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder / "dir");
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string write(const std::string& relative, const std::string& text) {
        std::filesystem::path path = m_folder / relative;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::string readFile(const std::string& path) {
        testing::internal::CaptureStdout();
        auto tokenizer = Tokenizer::open(path);
        std::string result = tokenizer ? tokens(*tokenizer) : "(no tokenizer)";
        return result + " | " + testing::internal::GetCapturedStdout();
    }

    std::filesystem::path m_folder;
};

TEST_F(TokenizerIncludes, FileBesideTheIncludingFileIsFound) {
    write("dir/x.kel", "inner");
    std::string a = write("dir/a.kel", "before\n#include \"x.kel\" after\nlast");
    EXPECT_EQ(readFile(a), "id:before id:inner id:after id:last | ");
}

TEST_F(TokenizerIncludes, AngleBracketsAndMismatchedClosersWork) {
    write("dir/x.kel", "inner");
    std::string a = write("dir/a.kel", "#include <x.kel\"\nz");
    EXPECT_EQ(readFile(a), "id:inner id:z | ");
}

TEST_F(TokenizerIncludes, MissingFileIsReportedAndSkipped) {
    std::string a = write("dir/a.kel", "a\n#include \"nowhere.kel\"\nb");
    EXPECT_EQ(readFile(a),
              "id:a id:b | tokenizer " + a + " 2: can't open include file <nowhere.kel>\n\n");
}

TEST_F(TokenizerIncludes, MessagesAndLinesComeFromTheIncludedFile) {
    std::string x = write("dir/x.kel", "\n\n#bogus\n");
    std::string a = write("dir/a.kel", "#include \"x.kel\"\n#oops\n");
    testing::internal::CaptureStdout();
    auto tokenizer = Tokenizer::open(a);
    ASSERT_TRUE(tokenizer);
    tokens(*tokenizer);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "tokenizer " + (m_folder / "dir/x.kel").string() +
                  " 3: unknown tokenizer directive #bogus\n\n"
                  "tokenizer " +
                  a + " 2: unknown tokenizer directive #oops\n\n");
}

TEST_F(TokenizerIncludes, DefinitionsOfAnIncludedFileStayInForce) {
    write("dir/defs.kel", "#define SIZE 3\n");
    std::string a = write("dir/a.kel", "#include \"defs.kel\"\nSIZE");
    EXPECT_EQ(readFile(a), "int:3 | ");
}

TEST_F(TokenizerIncludes, IncludeInASkippedRegionOpensNothing) {
    std::string a = write("dir/a.kel", "#ifdef X\n#include \"missing.kel\"\nq\n#endif\nz");
    EXPECT_EQ(readFile(a), "id:z | ");
}

TEST_F(TokenizerIncludes, UnterminatedNameKeepsTheLineCount) {
    write("dir/x.kel", "inner");
    std::string a = write("dir/a.kel", "#include \"x.kel\n#oops\n");
    EXPECT_EQ(readFile(a),
              "id:inner | tokenizer " + a + " 2: unknown tokenizer directive #oops\n\n");
}

TEST_F(TokenizerIncludes, FileIncludingItselfIsOpenedOnce) {
    std::string a = write("dir/a.kel", "x\n#include \"a.kel\"\n#include \"a.kel\"\ny");
    EXPECT_EQ(readFile(a), "id:x id:y | tokenizer " + a +
                               " 2: include file <a.kel> includes itself\n\n"
                               "tokenizer " +
                               a + " 3: include file <a.kel> includes itself\n\n");
}

TEST_F(TokenizerIncludes, MutuallyIncludingFilesStopAtTheRepeat) {
    write("dir/b.kel", "b\n#include \"a.kel\"\n");
    std::string a = write("dir/a.kel", "a\n#include \"b.kel\"\nend");
    EXPECT_EQ(readFile(a), "id:a id:b id:end | tokenizer " + (m_folder / "dir/b.kel").string() +
                               " 2: include file <a.kel> includes itself\n\n");
}

TEST_F(TokenizerIncludes, ChainOfDistinctFilesIsBounded) {
    for (int i = 0; i < Kel::MAX_NESTING_DEPTH + 5; ++i)
        write("dir/f" + std::to_string(i) + ".kel",
              "#include \"f" + std::to_string(i + 1) + ".kel\"\n");
    std::string last = "f" + std::to_string(Kel::MAX_NESTING_DEPTH + 1) + ".kel";
    std::string out = readFile((m_folder / "dir/f0.kel").string());
    EXPECT_NE(out.find("include file <" + last + "> nested too deep"), std::string::npos) << out;
}

TEST_F(TokenizerIncludes, DirectoryOrMissingFileMakesNoTokenizer) {
    EXPECT_EQ(Tokenizer::open((m_folder / "dir").string()), nullptr);
    EXPECT_EQ(Tokenizer::open((m_folder / "none.kel").string()), nullptr);
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

TEST(TokenizerMacros, MacrosExpandThroughOtherMacros) {
    EXPECT_EQ(tokens("#define A B B\n#define B 1\nA"), "int:1 int:1");
    EXPECT_EQ(tokens("#define E\n#define A E E x E\nA A"), "id:x id:x");
}

TEST(TokenizerMacros, SelfReferenceStaysAName) {
    EXPECT_EQ(tokensAndOutput("#define A A + 1\nA"),
              "id:A + int:1 | tokenizer t.kel define:A 2: macro A expands itself\n\n");
    EXPECT_EQ(tokensAndOutput("#define A B\n#define B A\nA"),
              "id:A | tokenizer t.kel define:A define:B 3: macro A expands itself\n\n");
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

TEST(TokenizerRobustness, RandomBytesScanToTheEnd) {
    std::mt19937 random(12345);
    const char alphabet[] = "#\"'/*\\\r\n\t 0xXe.<>=!&|+-abcdefine";
    testing::internal::CaptureStdout();
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 64, '\0');
        for (char& byte : text)
            byte = random() % 3 == 0 ? static_cast<char>(random())
                                     : alphabet[random() % (sizeof alphabet - 1)];
        Tokenizer tokenizer(text, "fuzz", 1);
        int count = 0;
        while (tokenizer.next() != Kel::TK_END)
            ASSERT_LT(++count, 100000);
    }
    testing::internal::GetCapturedStdout();
}

} // namespace
