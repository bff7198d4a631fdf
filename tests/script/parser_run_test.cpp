// Compiled source driven by a host: each program is compiled, merged into a
// fresh global object, called with an argument and must leave the stack
// empty; a compiled block copies whole. Language behaviour itself is checked
// by the Kel scripts.
#include "script_support.h"

#include "disassembler.h"
#include "parser.h"
#include "tokenizer.h"

using namespace script_test;

namespace {

class ParserRun : public FreshGlobal {
protected:
    // Compiles `source` and makes it the global object's content.
    void load(std::string_view source) {
        Tokenizer tokenizer(source, "run.kel", 1);
        CompileResult unit = compile(tokenizer);
        ASSERT_EQ(unit.errors, 0) << source;
        Env::global()->assign(unit.function);
    }
};

TEST_F(ParserRun, ResultsOfCallsWithAnArgumentLeaveTheStackEmpty) {
    struct Row {
        const char* source;
        int argument;
        const char* result;
    };
    const Row rows[] = {
        {"return 1 + 2 * 3;", 0, "7"},
        {"return arg * 10 + 1;", 4, "41"},
        {"x = 7; x -= 2; x <<= 1; return x;", 0, "10"},
        {"s = \"ab\"; s += 1; return s * 2;", 0, "ab1ab1"},
        // The right operand of a decided || is never evaluated.
        {"calls = 0; f() { calls += 1; return 1; } r = 1 || f(); return calls * 10 + r;", 0, "1"},
        {"a = 0; return a ? 1 : (2 + arg) * 3;", 1, "9"},
        // A label stops the discarded "k;" from merging with what follows it.
        {"k = 0; k; l: k++; if (k < 4) goto l; return k;", 0, "4"},
        // Every continue comes back through the step with one value on the
        // stack; a step that lost its POP would leave one behind each time.
        {"n = 0; i = 0; guard = 0;\n"
         "for (; i < 1000; i++) { if (guard++ > 2000) break; if (i < 1000) continue; n; }\n"
         "return i;",
         0, "1000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        load(row.source);
        Env env;
        Ref global = Env::global();
        Ref result = global.value()->callSync(env, Ref(new vInt(row.argument)), global.get());
        EXPECT_EQ(env.stackSize(), 0u);
        EXPECT_EQ(str(result), row.result);
    }
}

// Every instruction keeps the line of the statement it was compiled for, also
// where the optimiser drops one and where a loop's step goes behind its body.
TEST_F(ParserRun, InstructionsKeepTheLinesOfTheirStatements) {
    Tokenizer tokenizer("a;\nb;\nc;\nd = 1;\nfor (i = 0;\n i < 2;\n i++) {\n e = i;\n}", "l", 1);
    CompileResult unit = compile(tokenizer);
    auto lines = [](const CodeBlock& block) {
        std::string out;
        for (int i = 0; i < block.size(); ++i)
            out += opcodeName(byteCodeOf(*block.at(i))) +
                   ("@" + std::to_string(block.placeAt(i).line)) + " ";
        return out;
    };
    const CodeBlock& code = *static_cast<vObject*>(unit.function.value())->codeBlock();
    EXPECT_EQ(lines(code),
              "VARIABLE@0 ARGUMENT@0 POP@1 VARIABLE@4 PUSH_INT@4 SUBSTITUTION@4 LOOP@8 ");
    EXPECT_EQ(lines(*static_cast<LOOP*>(code.at(code.size() - 1))->block()),
              "POP@5 VARIABLE@5 PUSH_INT@5 SUBSTITUTION@5 VARIABLE@5 PUSH_INT@5 LT@5 JF@5 POP@8 "
              "VARIABLE@8 VARIABLE@8 SUBSTITUTION@8 POP@8 VARIABLE@5 INC@5 JMP@8 ");
}

// A folded constant is an instruction like any other: copying its block
// clones it whole.
TEST_F(ParserRun, FoldedConstantSurvivesCopyingItsBlock) {
    Tokenizer tokenizer("x = 2 * 21;", "t.kel", 1);
    CompileResult result = compile(tokenizer);
    Ref copy = Ref::adopt(result.function->cloneHolder());
    // Writing into a shared block copies it, cloning every instruction.
    copy.value()->addLabel("end");
    ASSERT_NE(copy.value()->code(), result.function.value()->code());
    EXPECT_EQ(disassemble(copy),
              "VARIABLE arg\nARGUMENT\nPOP\nVARIABLE x\nPUSH_INT 42\nSUBSTITUTION\nend:\n");
}

} // namespace
