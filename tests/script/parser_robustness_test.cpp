// No source text may crash the front end: random bytes and random mixes of
// the language's own tokens compile (with errors, mostly) and disassemble.
// Run under the sanitizers, any bad read or write fails the test.
#include "disassembler.h"
#include "parser.h"
#include "tokenizer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Compiles `source`, silencing what it prints; answers the error count. Even
// a unit full of errors must come out whole, binding its argument first.
int compileQuietly(const std::string& source) {
    testing::internal::CaptureStdout();
    Kel::Tokenizer tokenizer(source, "fuzz.kel", 1);
    Kel::CompileResult result = Kel::compile(tokenizer);
    std::string code = Kel::disassemble(result.function);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(code.rfind("VARIABLE arg\nARGUMENT\n", 0), 0u) << source;
    return result.errors;
}

TEST(ParserRobustness, RandomBytes) {
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 80, '\0');
        for (char& byte : text)
            byte = static_cast<char>(random());
        compileQuietly(text);
    }
}

TEST(ParserRobustness, RandomTokenSoup) {
    const char* const pieces[] = {
        "(",        ")",     "{",      "}",      "[",     "]",     ";",      ",",
        ".",        "?",     ":",      "=",      ":=",    "+=",    "<<=",    "+",
        "-",        "*",     "/",      "%",      "!",     "~",     "&",      "|",
        "^",        "&&",    "||",     "++",     "--",    "<",     "==",     "$",
        "@",        "@1",    "x",      "y",      "f",     "1",     "0x2",    "1.5",
        "\"s\"",    "'t'",   "if",     "else",   "while", "for",   "return", "break",
        "continue", "goto",  "global", "static", "local", "yield", "\\",     "#define M x +\n",
        "M",        "/*c*/", "//c\n",  "\n",
    };
    constexpr size_t PIECE_COUNT = sizeof pieces / sizeof pieces[0];
    std::mt19937 random(77);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            text += pieces[random() % PIECE_COUNT];
            text += ' ';
        }
        compileQuietly(text);
    }
}

TEST(ParserRobustness, EveryPrefixOfAProgram) {
    const std::string program = "#define N 3\n"
                                "f(a, b) { local s = 0; for (i = 0; i < a; i++) { if (i % 2) "
                                "continue; s += b ? i : -i; } return s; }\n"
                                "g { top: x = (y){ return $(z){ return y + z; }; }; goto top; }\n"
                                "while (N) { yield f(N, \"t\\n\") || g && 0x1F; break; } else {}\n";
    for (size_t length = 0; length <= program.size(); ++length)
        compileQuietly(program.substr(0, length));
    EXPECT_EQ(compileQuietly(program), 0);
}

} // namespace
