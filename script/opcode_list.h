// The one list of every instruction: class name, byte code in compiled files,
// kind code, and the shape of its operand. The compiled-code reader, the
// disassembler and the code generator all expand it, so they cannot disagree.
#pragma once

#include "opcode.h"

#include <cstdint>

namespace Kel {

// What follows an instruction's byte code in a compiled stream.
enum OperandShape {
    OPERAND_NONE,
    OPERAND_INT,      // 4 bytes, signed
    OPERAND_HEX,      // 4 bytes, unsigned
    OPERAND_FLOAT,    // 8 bytes, IEEE double
    OPERAND_STRING,   // bytes and a zero byte
    OPERAND_NAME,     // bytes and a zero byte
    OPERAND_FUNCTION, // a function object (0xF1, name, members, code)
    OPERAND_TARGET,   // 4 bytes: an instruction index in the same block
    OPERAND_OFFSET,   // 4 bytes: a distance from the next instruction
    OPERAND_BLOCK,    // a code block stream
    OPERAND_LOOP,     // 4 bytes restart index, then a code block stream
};

// X(NAME, BYTE, KIND, OPERAND)
#define KEL_OPCODES(X)                                                                             \
    X(PUSH_INT, 0x02, KIND_CONSTANT, OPERAND_INT)                                                  \
    X(PUSH_HEX, 0x03, KIND_CONSTANT, OPERAND_HEX)                                                  \
    X(PUSH_FLOAT, 0x04, KIND_CONSTANT, OPERAND_FLOAT)                                              \
    X(PUSH_STRING, 0x05, KIND_CONSTANT, OPERAND_STRING)                                            \
    X(PUSH_NULL, 0x06, KIND_CONSTANT, OPERAND_NONE)                                                \
    X(PUSH_CODE, 0x07, KIND_NONE, OPERAND_FUNCTION)                                                \
    X(VARIABLE, 0x08, KIND_VARIABLE, OPERAND_NAME)                                                 \
    X(POP, 0x09, KIND_POP, OPERAND_NONE)                                                           \
    X(GLOBAL, 0x0A, KIND_NONE, OPERAND_NAME)                                                       \
    X(LOCAL, 0x0B, KIND_NONE, OPERAND_NAME)                                                        \
    X(STATIC, 0x0C, KIND_NONE, OPERAND_NAME)                                                       \
    X(DECLARATION, 0x0D, KIND_NONE, OPERAND_NAME)                                                  \
    X(INSTANCE, 0x0E, KIND_NONE, OPERAND_NONE)                                                     \
    X(MEMBER, 0x0F, KIND_NONE, OPERAND_NAME)                                                       \
    X(INDEX, 0x10, KIND_NONE, OPERAND_NONE)                                                        \
    X(LOCALINDEX, 0x11, KIND_NONE, OPERAND_INT)                                                    \
    X(CALL, 0x12, KIND_NONE, OPERAND_NONE)                                                         \
    X(RETURN, 0x13, KIND_RETURN, OPERAND_NONE)                                                     \
    X(BREAK, 0x14, KIND_NONE, OPERAND_NONE)                                                        \
    X(CONTINUE, 0x15, KIND_NONE, OPERAND_NONE)                                                     \
    X(YIELD, 0x16, KIND_NONE, OPERAND_NONE)                                                        \
    X(GOTO, 0x17, KIND_NONE, OPERAND_NAME)                                                         \
    X(SCOPE, 0x18, KIND_NONE, OPERAND_BLOCK)                                                       \
    X(LOOP, 0x1A, KIND_NONE, OPERAND_LOOP)                                                         \
    X(SUBSTITUTION, 0x1B, KIND_BINARY, OPERAND_NONE)                                               \
    X(ASSIGNMENT, 0x1C, KIND_BINARY, OPERAND_NONE)                                                 \
    X(ARGUMENT, 0x1D, KIND_NONE, OPERAND_NONE)                                                     \
    X(PLUS, 0x1F, KIND_PLUS, OPERAND_NONE)                                                         \
    X(MINUS, 0x20, KIND_UNARY, OPERAND_NONE)                                                       \
    X(DEREF, 0x21, KIND_NONE, OPERAND_NONE)                                                        \
    X(REF, 0x22, KIND_NONE, OPERAND_NONE)                                                          \
    X(NOT, 0x23, KIND_UNARY, OPERAND_NONE)                                                         \
    X(COMPL, 0x24, KIND_UNARY, OPERAND_NONE)                                                       \
    X(INC, 0x25, KIND_INC, OPERAND_NONE)                                                           \
    X(DEC, 0x26, KIND_DEC, OPERAND_NONE)                                                           \
    X(PINC, 0x27, KIND_UNARY, OPERAND_NONE)                                                        \
    X(PDEC, 0x28, KIND_UNARY, OPERAND_NONE)                                                        \
    X(CLOSURE, 0x29, KIND_NONE, OPERAND_NONE)                                                      \
    X(ADD, 0x2B, KIND_BINARY, OPERAND_NONE)                                                        \
    X(SUB, 0x2C, KIND_BINARY, OPERAND_NONE)                                                        \
    X(MUL, 0x2D, KIND_BINARY, OPERAND_NONE)                                                        \
    X(DIV, 0x2E, KIND_BINARY, OPERAND_NONE)                                                        \
    X(MOD, 0x2F, KIND_BINARY, OPERAND_NONE)                                                        \
    X(AND, 0x30, KIND_BINARY, OPERAND_NONE)                                                        \
    X(OR, 0x31, KIND_BINARY, OPERAND_NONE)                                                         \
    X(XOR, 0x32, KIND_BINARY, OPERAND_NONE)                                                        \
    X(SHL, 0x33, KIND_BINARY, OPERAND_NONE)                                                        \
    X(SHR, 0x34, KIND_BINARY, OPERAND_NONE)                                                        \
    X(SADD, 0x35, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SSUB, 0x36, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SMUL, 0x37, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SDIV, 0x38, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SMOD, 0x39, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SAND, 0x3A, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SOR, 0x3B, KIND_BINARY, OPERAND_NONE)                                                        \
    X(SXOR, 0x3C, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SSHL, 0x3D, KIND_BINARY, OPERAND_NONE)                                                       \
    X(SSHR, 0x3E, KIND_BINARY, OPERAND_NONE)                                                       \
    X(EQ, 0x3F, KIND_BINARY, OPERAND_NONE)                                                         \
    X(NEQ, 0x40, KIND_BINARY, OPERAND_NONE)                                                        \
    X(LE, 0x41, KIND_BINARY, OPERAND_NONE)                                                         \
    X(GE, 0x42, KIND_BINARY, OPERAND_NONE)                                                         \
    X(LT, 0x43, KIND_BINARY, OPERAND_NONE)                                                         \
    X(GT, 0x44, KIND_BINARY, OPERAND_NONE)                                                         \
    X(BAND, 0x45, KIND_BINARY, OPERAND_NONE)                                                       \
    X(BOR, 0x46, KIND_BINARY, OPERAND_NONE)                                                        \
    X(JMP, 0x47, KIND_NONE, OPERAND_TARGET)                                                        \
    X(JT, 0x48, KIND_NONE, OPERAND_TARGET)                                                         \
    X(JF, 0x49, KIND_NONE, OPERAND_TARGET)                                                         \
    X(JR, 0x4A, KIND_JR, OPERAND_OFFSET)                                                           \
    X(JRT, 0x4B, KIND_NONE, OPERAND_OFFSET)                                                        \
    X(JRF, 0x4C, KIND_NONE, OPERAND_OFFSET)                                                        \
    X(LIST, 0x4D, KIND_LIST, OPERAND_NONE)                                                         \
    X(PARENTHESES, 0x4E, KIND_PARENTHESES, OPERAND_NONE)

// Byte codes, OP_PUSH_INT and so on.
enum OpByte : uint8_t {
#define KEL_OPCODE_ENUM(name, byte, kind, operand) OP_##name = byte,
    KEL_OPCODES(KEL_OPCODE_ENUM)
#undef KEL_OPCODE_ENUM
};

// Bytes of the compiled stream that are not instructions.
constexpr uint8_t OP_SCOPE_ALTERNATE = 0x19; // read as SCOPE, never written
constexpr uint8_t STREAM_LABELS = 0xF0;      // a block's label table follows
constexpr uint8_t STREAM_FUNCTION = 0xF1;    // a named function object follows
constexpr uint8_t STREAM_END = 0xFF;         // closes a block or a label table

} // namespace Kel
