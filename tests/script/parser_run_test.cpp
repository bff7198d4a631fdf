// Compiled source runs in the interpreter loop: each program is compiled,
// merged into a fresh global object, called and driven, and what it returns
// is read back as text.
#include "env.h"
#include "numbers.h"
#include "parser.h"
#include "tokenizer.h"
#include "value.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Kel::Env;
using Kel::Ref;

class ParserRun : public testing::Test {
protected:
    // Every program gets a global object of its own; the process's one is
    // put back afterwards.
    void SetUp() override {
        m_savedGlobal = Env::global();
        Env::global() = Kel::makeEmpty();
    }
    void TearDown() override { Env::global() = m_savedGlobal; }

    // Compiles `source` and makes it the global object's content.
    void load(std::string_view source) {
        Kel::Tokenizer tokenizer(source, "run.kel", 1);
        Kel::CompileResult unit = Kel::compile(tokenizer);
        ASSERT_EQ(unit.errors, 0) << source;
        Env::global()->assign(unit.function);
    }

    // Runs the loaded unit with `argument` to its end; its result as text.
    std::string run(std::string_view source, int argument = 0) {
        load(source);
        Env env;
        Ref global = Env::global();
        Ref result = global.value()->callSync(env, Ref(new Kel::variable::Variable::vInt(argument)),
                                              global.get());
        EXPECT_EQ(env.stackSize(), 0u);
        return result.value()->toString().str();
    }

    Ref m_savedGlobal;
};

TEST_F(ParserRun, ArithmeticAndTheArgument) {
    EXPECT_EQ(run("return 1 + 2 * 3;"), "7");
    EXPECT_EQ(run("return arg * 10 + 1;", 4), "41");
    EXPECT_EQ(run("x = 7; x -= 2; x <<= 1; return x;"), "10");
    EXPECT_EQ(run("s = \"ab\"; s += 1; return s * 2;"), "ab1ab1");
}

TEST_F(ParserRun, RecursiveDefinitionsCallEachOther) {
    EXPECT_EQ(run("fact(n) { if (n <= 1) return 1; return n * fact(n - 1); }\n"
                  "return fact(10);"),
              "3628800");
    EXPECT_EQ(run("isEven(n) { if (n == 0) return 1; return isOdd(n - 1); }\n"
                  "isOdd(n) { if (n == 0) return 0; return isEven(n - 1); }\n"
                  "return isEven(10) * 10 + isOdd(7);"),
              "11");
}

TEST_F(ParserRun, DefinitionWithSeveralParameters) {
    EXPECT_EQ(run("add(a, b, c) return a * 100 + b * 10 + c;\nreturn add(1, 2, 3);"), "123");
}

TEST_F(ParserRun, ShortCircuitAndConditional) {
    EXPECT_EQ(run("a = 0; return a || 5;"), "5");
    EXPECT_EQ(run("calls = 0; f() { calls += 1; return 1; } r = 1 || f(); return calls * 10 + r;"),
              "1");
    EXPECT_EQ(run("a = 1; return a && 7;"), "7");
    EXPECT_EQ(run("a = 0; return a && 7;"), "[null]");
    EXPECT_EQ(run("a = 0; return a ? 1 : (2 + arg) * 3;", 1), "9");
    EXPECT_EQ(run("a = 3; return a ? (a > 2 ? \"big\" : \"small\") : \"none\";"), "big");
}

TEST_F(ParserRun, LoopsWithBreakContinueAndElse) {
    EXPECT_EQ(run("s = 0; for (i = 0; i < 10; i++) { if (i % 2 == 0) continue; s += i; }\n"
                  "return s;"),
              "25");
    EXPECT_EQ(run("s = 0; i = 0; while (1) { i++; if (i > 4) break; s += i; } return s;"), "10");
    EXPECT_EQ(run("r = 0; while (0) r = 1; else r = 2; return r;"), "2");
    EXPECT_EQ(run("r = 0; for (;;) { r = 5; break; } return r;"), "5");
}

TEST_F(ParserRun, ContinueKeepsTheStackBalanced) {
    // Every continue comes back through the step with one value on the
    // stack; a step that lost its POP would leave one behind each time.
    EXPECT_EQ(
        run("n = 0; i = 0; guard = 0;\n"
            "for (; i < 1000; i++) { if (guard++ > 2000) break; if (i < 1000) continue; n; }\n"
            "return i;"),
        "1000");
}

TEST_F(ParserRun, GotoToALabel) {
    EXPECT_EQ(run("i = 0;\ntop: i++;\nif (i < 5) goto top;\nreturn i;"), "5");
}

TEST_F(ParserRun, ClassesFromValueThenNameDeclarations) {
    EXPECT_EQ(run("Point { 0 x; 0 y; y = 4; }\nPoint p; p.x = 3; return p.x * 10 + p.y;"), "34");
}

TEST_F(ParserRun, ClosuresCaptureTheirScope) {
    EXPECT_EQ(run("make(n) { return $(a) { return a + n; }; }\nadd2 = make(2); return add2(5);"),
              "7");
}

TEST_F(ParserRun, StaticsKeepTheirValueBetweenCalls) {
    EXPECT_EQ(run("counter() { static c = 0; c++; return c; }\n"
                  "counter(); counter(); return counter();"),
              "3");
}

TEST_F(ParserRun, YieldSuspendsAndTheResumeValueComesBack) {
    load("x = yield arg + 1; return x * 2;");
    Env env;
    Ref global = Env::global();
    env.push(Ref(new Kel::variable::Variable::vInt(1)));
    global.value()->call(env, global.get());
    env.drive();
    ASSERT_NE(env.current(), nullptr);
    EXPECT_EQ(env.pop().value()->toString().str(), "2");
    env.push(Ref(new Kel::variable::Variable::vInt(21)));
    env.drive();
    EXPECT_EQ(env.current(), nullptr);
    EXPECT_EQ(env.pop().value()->toString().str(), "42");
}

} // namespace
