// Reading compiled code back into function objects. Every read is checked
// against the end of the input, nesting is bounded, and a byte that starts
// nothing known is skipped, so any input yields a (possibly partial) function
// and never a read outside the buffer. Instructions enter their blocks as they
// were written, past the optimiser: it ran when the code was generated, and a
// block's labels come after its code, so running it again here could fold
// across a label it cannot see yet.
#include "code_reader.h"

#include "code_block.h"
#include "code_writer.h"
#include "instructions.h"
#include "value.h"

#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>

namespace Kel {

using namespace variable::Variable;

namespace {

// The file opens with the magic, then 0xF1 0x00: the anonymous top level.
constexpr size_t MAGIC_SIZE = 4;
constexpr size_t HEADER_SIZE = MAGIC_SIZE + 2;

// Builds instruction `byte` from `operands` when that class takes them.
template <class Op, class... Operands> OpCode* build(Operands&&... operands) {
    if constexpr (std::is_constructible_v<Op, Operands...>)
        return new Op(std::forward<Operands>(operands)...);
    else
        return nullptr;
}

template <class... Operands> OpCode* makeInstruction(uint8_t byte, Operands&&... operands) {
    switch (byte) {
#define KEL_OPCODE_BUILD(name, code, kind, operand)                                                \
    case code:                                                                                     \
        return build<name>(std::forward<Operands>(operands)...);
        KEL_OPCODES(KEL_OPCODE_BUILD)
#undef KEL_OPCODE_BUILD
    }
    return nullptr;
}

// Where instructions and labels go: the code of a function object, or the
// block of a SCOPE or LOOP being read.
struct Sink {
    vBase* function;  // the function object being built; receives 0xF1 members
    CodeBlock* block; // a nested block, or none for the function's own code

    int length() const {
        if (block) return block->size();
        CodeBlock* code = function->code();
        return code ? code->size() : 0;
    }
    void append(OpCode* op) const {
        if (block) {
            block->appendRaw(op);
            return;
        }
        if (!function->code())
            function->appendOp(op); // the first one makes the block
        else
            function->code()->appendRaw(op);
    }
    void addLabel(std::string_view name, int index) const {
        if (block) {
            block->addLabel(name, index);
            return;
        }
        if (!function->code()) function->addLabel(name); // makes the block
        function->code()->addLabel(name, index);
    }
};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    void skip(size_t count) { m_position += count; }
    // Reads instructions, labels and members into `sink` up to 0xFF or the end.
    void readStream(const Sink& sink, int depth);

private:
    bool atEnd() const { return m_stopped || m_position >= m_size; }
    size_t left() const { return m_size - m_position; }
    bool readByte(uint8_t& value);
    bool readU32(uint32_t& value);
    bool readF64(double& value);
    bool readText(std::string_view& value);
    void readInstruction(uint8_t byte, const Sink& sink, int depth);
    OpCode* readOperandInstruction(uint8_t byte, OperandShape shape, vBase* function, int depth);
    CodeBlock* readBlock(vBase* function, int depth);
    Ref readFunction(int depth);
    void readMember(const Sink& sink, int depth);
    void readLabels(const Sink& sink);
    bool labelIndexFollows(const Sink& sink) const;
    // Damage or the nesting bound: keep what was read, read nothing more.
    void stop() { m_stopped = true; }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
    bool m_stopped = false;
};

bool Reader::readByte(uint8_t& value) {
    if (atEnd()) return false;
    value = m_data[m_position++];
    return true;
}

bool Reader::readU32(uint32_t& value) {
    if (atEnd() || left() < 4) {
        stop();
        return false;
    }
    value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t{m_data[m_position++]} << (8 * i);
    return true;
}

bool Reader::readF64(double& value) {
    if (atEnd() || left() < 8) {
        stop();
        return false;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t{m_data[m_position++]} << (8 * i);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

// A text runs to its zero byte; one that reaches the end of input is damage.
bool Reader::readText(std::string_view& value) {
    if (atEnd()) {
        stop();
        return false;
    }
    const void* zero = std::memchr(m_data + m_position, 0, left());
    if (!zero) {
        stop();
        return false;
    }
    size_t length = static_cast<const uint8_t*>(zero) - (m_data + m_position);
    value = std::string_view(reinterpret_cast<const char*>(m_data + m_position), length);
    m_position += length + 1;
    return true;
}

void Reader::readStream(const Sink& sink, int depth) {
    if (depth > MAX_COMPILED_NESTING) {
        stop();
        return;
    }
    uint8_t byte;
    while (readByte(byte)) {
        if (byte == STREAM_END) return;
        if (byte == STREAM_LABELS)
            readLabels(sink);
        else if (byte == STREAM_FUNCTION)
            readMember(sink, depth);
        else
            readInstruction(byte, sink, depth);
    }
}

// A byte that is no instruction builds nothing and is skipped.
void Reader::readInstruction(uint8_t byte, const Sink& sink, int depth) {
    if (byte == OP_SCOPE_ALTERNATE) byte = OP_SCOPE;
    if (!opcodeName(byte)[0]) return;
    OperandShape shape = opcodeOperand(byte);
    OpCode* op = shape == OPERAND_NONE ? makeInstruction(byte)
                                       : readOperandInstruction(byte, shape, sink.function, depth);
    if (op) sink.append(op);
}

OpCode* Reader::readOperandInstruction(uint8_t byte, OperandShape shape, vBase* function,
                                       int depth) {
    uint32_t number = 0;
    double real = 0;
    std::string_view text;
    switch (shape) {
    case OPERAND_INT:
    case OPERAND_TARGET:
    case OPERAND_OFFSET:
        return readU32(number) ? makeInstruction(byte, static_cast<int32_t>(number)) : nullptr;
    case OPERAND_HEX:
        return readU32(number) ? makeInstruction(byte, number) : nullptr;
    case OPERAND_FLOAT:
        return readF64(real) ? makeInstruction(byte, real) : nullptr;
    case OPERAND_STRING:
    case OPERAND_NAME:
        return readText(text) ? makeInstruction(byte, text) : nullptr;
    case OPERAND_FUNCTION: {
        Ref literal = readFunction(depth + 1);
        return literal ? makeInstruction(byte, literal) : nullptr;
    }
    case OPERAND_BLOCK: {
        CodeBlock* block = readBlock(function, depth + 1);
        return block ? makeInstruction(byte, block) : nullptr;
    }
    case OPERAND_LOOP: {
        if (!readU32(number)) return nullptr;
        CodeBlock* block = readBlock(function, depth + 1);
        return block ? makeInstruction(byte, static_cast<int32_t>(number), block) : nullptr;
    }
    case OPERAND_NONE:
        break;
    }
    return nullptr;
}

// A block cut short by damage still runs as far as it was read. Members met
// inside it (0xF1) still belong to the enclosing function.
CodeBlock* Reader::readBlock(vBase* function, int depth) {
    if (depth > MAX_COMPILED_NESTING) {
        stop();
        return nullptr;
    }
    CodeBlock* block = CodeBlock::create();
    Sink sink{function, block};
    readStream(sink, depth);
    return block;
}

// PUSH_CODE's operand: 0xF1, a name (functions are anonymous here), the stream.
Ref Reader::readFunction(int depth) {
    uint8_t byte;
    if (atEnd() || m_data[m_position] != STREAM_FUNCTION) return Ref();
    readByte(byte);
    std::string_view name;
    if (!readText(name) || depth > MAX_COMPILED_NESTING) {
        stop();
        return Ref();
    }
    Ref function = makeEmpty();
    readStream(Sink{function.value(), nullptr}, depth);
    return function;
}

// 0xF1 inside a stream: a named member of the function being built.
void Reader::readMember(const Sink& sink, int depth) {
    std::string_view name;
    if (!readText(name)) return;
    Holder* member = sink.function->member(name);
    if (!member) {
        stop();
        return;
    }
    readStream(Sink{member->value(), nullptr}, depth + 1);
}

// 0xF0: {index, name} pairs closed by 0xFF. An index whose low byte is 0xFF
// (255, 511, ...) starts with the closing byte itself; labelIndexFollows()
// tells the two apart.
void Reader::readLabels(const Sink& sink) {
    while (!atEnd()) {
        if (m_data[m_position] == STREAM_END && !labelIndexFollows(sink)) {
            ++m_position;
            return;
        }
        uint32_t index;
        std::string_view name;
        if (!readU32(index) || !readText(name)) return;
        // A label outside the block could only send pc astray.
        if (index <= static_cast<uint32_t>(sink.length()))
            sink.addLabel(name, static_cast<int>(index));
    }
}

// The writer closes a label table with 0xFF and the block with a second 0xFF,
// so 0xFF followed by 0xFF always closes. Otherwise 0xFF starts an index when
// the four bytes name a position inside the block and a name follows.
bool Reader::labelIndexFollows(const Sink& sink) const {
    if (left() < 6 || m_data[m_position + 1] == STREAM_END) return false;
    uint32_t index = 0;
    for (int i = 0; i < 4; ++i)
        index |= uint32_t{m_data[m_position + i]} << (8 * i);
    if (index > static_cast<uint32_t>(sink.length())) return false;
    return std::memchr(m_data + m_position + 4, 0, left() - 4) != nullptr;
}

} // namespace

bool isCompiledScript(const uint8_t* data, size_t size) {
    if (!data || size < MAGIC_SIZE) return false;
    uint32_t magic = 0;
    for (size_t i = 0; i < MAGIC_SIZE; ++i)
        magic |= uint32_t{data[i]} << (8 * i);
    return magic == COMPILED_SCRIPT_MAGIC;
}

Ref readCompiledScript(const uint8_t* data, size_t size) {
    Ref function = makeEmpty();
    if (!isCompiledScript(data, size) || size < HEADER_SIZE) return function;
    if (data[MAGIC_SIZE] != STREAM_FUNCTION || data[MAGIC_SIZE + 1] != 0) return function;
    Reader reader(data, size);
    reader.skip(HEADER_SIZE);
    reader.readStream(Sink{function.value(), nullptr}, 1);
    return function;
}

} // namespace Kel
