// Compiled code: every instruction written and read back, the file framing,
// label tables, and a reader that survives damaged and absurdly nested input
// (random and truncated files are the compiled-file fuzzer's).
#include "script_support.h"

#include "code_reader.h"
#include "code_writer.h"
#include "disassembler.h"
#include "pointer.h"

#include <type_traits>

using namespace script_test;

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

// Written to a file, the bytes go out in pieces between blocks: a script of
// many pieces comes out the same as in memory.
TEST_F(CompiledCode, AFileGetsTheSameBytesInPieces) {
    const std::string text(1000, 'x');
    CodeBlock* block = CodeBlock::create();
    for (int i = 0; i < 200; ++i)
        block->appendRaw(new SCOPE(makeBlock({new PUSH_STRING(text)})));
    Ref function = makeFunction({new SCOPE(block)});
    FILE* file = std::tmpfile();
    ASSERT_TRUE(file && writeCompiledScript(function, file));
    std::vector<uint8_t> bytes = writeCompiledScript(function);
    std::vector<uint8_t> written(bytes.size() + 1);
    std::rewind(file);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    EXPECT_EQ(written, bytes);
}

TEST_F(CompiledCode, OperandsAreLittleEndianAfterTheMagic) {
    std::vector<uint8_t> bytes =
        writeCompiledScript(makeFunction({new PUSH_INT(0x01020304), new LOOP(5, makeBlock({}))}));
    std::vector<uint8_t> expected = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00, 0x02, 0x04, 0x03,
                                     0x02, 0x01, 0x1A, 0x05, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(isCompiledScript(bytes.data(), bytes.size()));
    EXPECT_FALSE(isCompiledScript(reinterpret_cast<const uint8_t*>("abcd"), 4));
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

// Files as read back: anything but the framing gives an empty function,
// unknown bytes are skipped, an operand running past the end keeps what came
// before it, and a member inside a block belongs to the enclosing function.
TEST_F(CompiledCode, DamagedAndOddFilesReadAsFarAsTheyCan) {
    const std::vector<uint8_t> head = {0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x00};
    auto file = [&](std::vector<uint8_t> body) {
        body.insert(body.begin(), head.begin(), head.end());
        return body;
    };
    const std::pair<std::vector<uint8_t>, const char*> rows[] = {
        {{}, ""},
        {{0x1A, 0xF0, 0xDE}, ""},
        {{0x1A, 0xF0, 0xDE, 0xBD, 0xF1, 0x00, 0x06}, ""},       // wrong magic
        {{0xBC, 0xDE, 0xF0, 0x1A, 0xF1, 0x00, 0x06}, ""},       // big-endian magic
        {{0x1A, 0xF0, 0xDE, 0xBC}, ""},                         // nothing after the magic
        {{0x1A, 0xF0, 0xDE, 0xBC, 0xF1}, ""},                   // one byte after it
        {{0x1A, 0xF0, 0xDE, 0xBC, 0xF1, 0x01, 0x00, 0x06}, ""}, // a named top level
        {{0x1A, 0xF0, 0xDE, 0xBC, 0x06, 0x00, 0x06}, ""},
        {file({0x00, 0x01, 0x06, 0x1E, 0x4F, 0xEE, 0x16, 0xFF}), "PUSH_NULL\nYIELD\n"},
        {file({0x19, 0x06, 0xFF, 0xFF}), "SCOPE\n  PUSH_NULL\n"}, // the alternate scope byte
        {file({0x18, 0xF1, 'h', 0x00, 0x06, 0xFF, 0x16, 0xFF, 0xFF}),
         "SCOPE\n  YIELD\nfunction h\n  PUSH_NULL\n"},
        {file({0x06, 0x02, 0x01, 0x02}), "PUSH_NULL\n"},
        {file({0x06, 0x04, 1, 2, 3, 4, 5, 6, 7}), "PUSH_NULL\n"},
        {file({0x06, 0x05, 'a', 'b'}), "PUSH_NULL\n"},
        {file({0x06, 0x1A, 0x01, 0x00}), "PUSH_NULL\n"},
        {file({0x06, 0xF0, 0x00, 0x00, 0x00, 0x00, 'x'}), "PUSH_NULL\n"},
    };
    for (const auto& [bytes, expected] : rows) {
        Ref function = readBack(bytes);
        EXPECT_EQ(disassemble(function), expected) << bytes.size() << " bytes";
        EXPECT_EQ(type(function), TYPE_OBJECT);
        EXPECT_EQ(function.value()->count(), 0);
    }
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

    // Within the bound nesting reads back whole.
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
