// Compiled code: every instruction written and read back, the file framing,
// label tables, and a reader that survives truncated, damaged and absurdly
// nested input.
#include "exec_support.h"

#include "code_reader.h"
#include "code_writer.h"
#include "pointer.h"

#include <type_traits>

using namespace exec_test;

namespace {

class CompiledCode : public FreshGlobal {};

// One instance of every instruction class, with operands that exercise sign
// and byte order.
template <class Op> OpCode* sample() {
    if constexpr (std::is_default_constructible_v<Op>)
        return new Op;
    else if constexpr (std::is_same_v<Op, PUSH_INT> || std::is_same_v<Op, LOCALINDEX>)
        return new Op(-123456789);
    else if constexpr (std::is_same_v<Op, PUSH_HEX>)
        return new Op(0xDEADBEEFu);
    else if constexpr (std::is_same_v<Op, PUSH_FLOAT>)
        return new Op(-2.75e10);
    else if constexpr (std::is_constructible_v<Op, std::string_view>)
        return new Op("name_\xE3\x81\x82");
    else if constexpr (std::is_constructible_v<Op, const Ref&>)
        return new Op(makeFunction({new POP, new PUSH_STRING("inner")}));
    else if constexpr (std::is_same_v<Op, SCOPE>)
        return new Op(makeBlock({new VARIABLE("x"), new PINC}));
    else if constexpr (std::is_same_v<Op, LOOP>)
        return new Op(3, makeBlock({new BREAK}));
    else
        return new Op(0x01020304); // the jumps
}

struct Sample {
    uint8_t byte;
    OpCode* (*make)();
};

const std::vector<Sample>& everyInstruction() {
    static const std::vector<Sample> all = {
#define KEL_OPCODE_SAMPLE(name, code, kind, operand) {code, &sample<name>},
        KEL_OPCODES(KEL_OPCODE_SAMPLE)
#undef KEL_OPCODE_SAMPLE
    };
    return all;
}

Ref readBack(const std::vector<uint8_t>& bytes) {
    return readCompiledScript(bytes.data(), bytes.size());
}

// ---- Round trips ----------------------------------------------------------------------

// Read code enters its block through the appender, like generated code: what
// comes back is what the appender makes of the instruction (unary plus, which
// does nothing, it drops).
TEST_F(CompiledCode, EveryInstructionReadsBackAsItselfWithTheSameBytes) {
    for (const Sample& entry : everyInstruction()) {
        SCOPED_TRACE(opcodeName(entry.byte));
        Ref function = makeFunction({entry.make()});
        std::vector<uint8_t> bytes = writeCompiledScript(function);
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(bytes[6], entry.byte);
        EXPECT_EQ(bytes.back(), STREAM_END);

        CodeBlock* appended = CodeBlock::create();
        appended->append(entry.make());
        Ref copy = readBack(bytes);
        CodeBlock* code = copy.value()->code();
        ASSERT_EQ(code ? code->size() : 0, appended->size());
        if (appended->size() == 1) {
            EXPECT_EQ(byteCodeOf(*code->at(0)), entry.byte);
            EXPECT_EQ(code->at(0)->kind(), opcodeKind(entry.byte));
            EXPECT_EQ(writeCompiledScript(copy), bytes);
        }
        appended->release();
    }
}

TEST_F(CompiledCode, FileStartsWithTheMagicAndTheAnonymousTopLevel) {
    std::vector<uint8_t> bytes = writeCompiledScript(makeFunction({new GOTO("here")}));
    std::vector<uint8_t> expected = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x17,
                                     'h',  'e',  'r',  'e',  0x00, 0xFF};
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(isCompiledScript(bytes.data(), bytes.size()));
}

TEST_F(CompiledCode, OperandsAreLittleEndian) {
    std::vector<uint8_t> bytes =
        writeCompiledScript(makeFunction({new PUSH_INT(0x01020304), new LOOP(5, makeBlock({}))}));
    std::vector<uint8_t> expected = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x02, 0x04, 0x03,
                                     0x02, 0x01, 0x1A, 0x05, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(bytes, expected);
}

TEST_F(CompiledCode, AlternateScopeByteReadsAsScope) {
    std::vector<uint8_t> bytes = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x19, 0x06, 0xFF, 0xFF};
    Ref function = readBack(bytes);
    ASSERT_EQ(function.value()->codeLength(), 1);
    auto* scope = dynamic_cast<SCOPE*>(function.value()->code()->at(0));
    ASSERT_NE(scope, nullptr);
    EXPECT_EQ(scope->block()->size(), 1);
}

// A unit with a named helper, a loop with break, a goto over code, a function
// literal and constants of every kind. (That compiled files run as their
// source does is checked by the Kel suite, which runs every script both ways.)
Ref makeProgram() {
    CodeBlock* body =
        makeBlock({new VARIABLE("i"), new PINC, new PUSH_INT(10), new GT, new JF(6), new BREAK,
                   new VARIABLE("s"), new VARIABLE("i"), new SADD, new POP, new JMP(0)});
    Ref unit = makeFunction({new POP,
                             new VARIABLE("s"),
                             new PUSH_INT(0),
                             new SUBSTITUTION,
                             new POP,
                             new VARIABLE("i"),
                             new PUSH_INT(0),
                             new SUBSTITUTION,
                             new POP,
                             new LOOP(0, body),
                             new GOTO("skip"),
                             new VARIABLE("s"),
                             new PUSH_INT(1000),
                             new SUBSTITUTION,
                             new POP,
                             /* 15 skip: */ new VARIABLE("s"),
                             new VARIABLE("helper"),
                             new PUSH_INT(21),
                             new CALL,
                             new LIST,
                             new PUSH_CODE(makeFunction({new POP, new PUSH_STRING("lit")})),
                             new PUSH_NULL,
                             new CALL,
                             new LIST,
                             new PUSH_FLOAT(2.5),
                             new LIST,
                             new PUSH_HEX(0xFF),
                             new LIST});
    unit.value()->code()->addLabel("skip", 15);
    unit.value()->setMember("helper", makeFunction({new VARIABLE("n"), new ARGUMENT, new POP,
                                                    new VARIABLE("n"), new PUSH_INT(2), new MUL}));
    return unit;
}

TEST_F(CompiledCode, LabelsWhoseIndexStartsWithTheClosingByteSurvive) {
    // Index 255 is written ff 00 00 00: its first byte is the table's closing byte.
    CodeBlock* block = CodeBlock::create();
    for (int i = 0; i < 600; ++i)
        block->appendRaw(new PUSH_NULL);
    block->addLabel("at255", 255);
    block->addLabel("at511", 511);
    block->addLabel("at0", 0);
    block->addLabel("end", 600);
    Ref function = makeFunction({new SCOPE(block), new YIELD});
    function.value()->code()->addLabel("top", 1);

    Ref copy = readBack(writeCompiledScript(function));
    ASSERT_EQ(copy.value()->codeLength(), 2);
    CodeBlock* read = static_cast<SCOPE*>(copy.value()->code()->at(0))->block();
    EXPECT_EQ(read->size(), 600);
    for (auto [name, index] : {std::pair{"at255", 255}, {"at511", 511}, {"at0", 0}, {"end", 600}}) {
        int found = -1;
        EXPECT_TRUE(read->findLabel(name, found)) << name;
        EXPECT_EQ(found, index) << name;
    }
    int top = -1;
    EXPECT_TRUE(copy.value()->code()->findLabel("top", top));
    EXPECT_EQ(top, 1);
}

// ---- Framing -------------------------------------------------------------------------------

bool isEmptyFunction(const Ref& function) {
    return function.value()->typeCode() == TYPE_OBJECT && !function.value()->code() &&
           function.value()->count() == 0 && textOf(function) == "[null]";
}

TEST_F(CompiledCode, AnythingButTheFramingGivesAnEmptyFunction) {
    const std::vector<std::vector<uint8_t>> rejected = {
        {},
        {0x1A, 0xF0, 0xDE},
        {0x1A, 0xF0, 0xDE, 0xBD, 0xF1, 0x00, 0x06},       // wrong magic
        {0xBC, 0xDE, 0xF0, 0x1A, 0xF1, 0x00, 0x06},       // big-endian magic
        {0x1A, 0xF0, 0xDE, 0xBC},                         // nothing after the magic
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1},                   // one byte after it
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x01, 0x00, 0x06}, // a named top level
        {0x1A, 0xF0, 0xDE, 0xBC, 0x06, 0x00, 0x06},
    };
    for (const std::vector<uint8_t>& bytes : rejected)
        EXPECT_TRUE(isEmptyFunction(readBack(bytes))) << bytes.size() << " bytes";
    EXPECT_FALSE(isCompiledScript(reinterpret_cast<const uint8_t*>("abcd"), 4));
}

TEST_F(CompiledCode, UnknownBytesAreSkipped) {
    std::vector<uint8_t> bytes = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x00,
                                  0x01, 0x06, 0x1E, 0x4F, 0xEE, 0x16, 0xFF};
    Ref function = readBack(bytes);
    ASSERT_EQ(function.value()->codeLength(), 2);
    EXPECT_EQ(byteCodeOf(*function.value()->code()->at(0)), OP_PUSH_NULL);
    EXPECT_EQ(byteCodeOf(*function.value()->code()->at(1)), OP_YIELD);
}

TEST_F(CompiledCode, MemberInsideABlockBelongsToTheEnclosingFunction) {
    std::vector<uint8_t> bytes = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x18, 0xF1,
                                  'h',  0x00, 0x06, 0xFF, 0x16, 0xFF, 0xFF};
    Ref function = readBack(bytes);
    Holder* member = function.value()->findMember("h");
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->value()->codeLength(), 1);
    ASSERT_EQ(function.value()->codeLength(), 1);
    EXPECT_EQ(static_cast<SCOPE*>(function.value()->code()->at(0))->block()->size(), 1);
}

// ---- Damaged input -------------------------------------------------------------------------

TEST_F(CompiledCode, OperandRunningPastTheEndKeepsWhatCameBefore) {
    const std::vector<std::vector<uint8_t>> cut = {
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x06, 0x02, 0x01, 0x02},
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x06, 0x04, 1, 2, 3, 4, 5, 6, 7},
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x06, 0x05, 'a', 'b'},
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x06, 0x1A, 0x01, 0x00},
        {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x06, 0xF0, 0x00, 0x00, 0x00, 0x00, 'x'},
    };
    for (const std::vector<uint8_t>& bytes : cut) {
        Ref function = readBack(bytes);
        ASSERT_NE(function.value()->code(), nullptr);
        EXPECT_EQ(function.value()->codeLength(), 1) << bytes.size() << " bytes";
        EXPECT_EQ(byteCodeOf(*function.value()->code()->at(0)), OP_PUSH_NULL);
    }
}

TEST_F(CompiledCode, EveryTruncationReadsWithoutHarm) {
    std::vector<uint8_t> bytes = writeCompiledScript(makeProgram());
    for (size_t length = 0; length <= bytes.size(); ++length) {
        Ref function = readCompiledScript(bytes.data(), length);
        ASSERT_TRUE(function);
        writeCompiledScript(function);
    }
    // Only the whole file gives the whole program back.
    EXPECT_EQ(writeCompiledScript(readCompiledScript(bytes.data(), bytes.size())), bytes);
}

// Depth of nested SCOPE blocks read, following each block's first instruction.
int scopeDepth(const Ref& function) {
    int depth = 0;
    CodeBlock* block = function.value()->code();
    while (block && block->size() > 0) {
        auto* scope = dynamic_cast<SCOPE*>(block->at(0));
        if (!scope) break;
        ++depth;
        block = scope->block();
    }
    return depth;
}

TEST_F(CompiledCode, NestingIsBounded) {
    std::vector<uint8_t> header = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00};
    std::vector<uint8_t> blocks = header;
    blocks.insert(blocks.end(), 200000, 0x18);
    Ref deep = readBack(blocks);
    EXPECT_GT(scopeDepth(deep), 0);
    EXPECT_LE(scopeDepth(deep), MAX_COMPILED_NESTING);

    std::vector<uint8_t> functions = header;
    for (int i = 0; i < 100000; ++i)
        functions.insert(functions.end(), {0x07, 0xF1, 0x00});
    ASSERT_TRUE(readBack(functions));

    std::vector<uint8_t> members = header;
    for (int i = 0; i < 100000; ++i)
        members.insert(members.end(), {0xF1, 'm', 0x00});
    ASSERT_TRUE(readBack(members));
}

TEST_F(CompiledCode, NestingWithinTheBoundReadsBackWhole) {
    CodeBlock* inner = makeBlock({new PUSH_INT(1)});
    for (int i = 0; i < MAX_COMPILED_NESTING - 2; ++i)
        inner = makeBlock({new SCOPE(inner)});
    Ref function = makeFunction({new SCOPE(inner)});
    std::vector<uint8_t> bytes = writeCompiledScript(function);
    Ref copy = readBack(bytes);
    EXPECT_EQ(scopeDepth(copy), MAX_COMPILED_NESTING - 1);
    EXPECT_EQ(writeCompiledScript(copy), bytes);
}

TEST_F(CompiledCode, MemberLeadingBackToItsFunctionIsWrittenBounded) {
    // A pointer member with code leads back to its own function: a cycle.
    Ref function = makeFunction({new PUSH_INT(1)});
    function.value()->setMember("self", Ref(new vPointer(function.get())));
    std::vector<uint8_t> bytes = writeCompiledScript(function);
    EXPECT_LT(bytes.size(), 100000u);
    ASSERT_TRUE(readBack(bytes));
    function.value()->removeMember("self");
}

} // namespace
