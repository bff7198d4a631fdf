// Names and operand shapes of the byte codes, and the byte code of an
// instruction object, all expanded from the one instruction list.
#include "instructions.h"

#include <typeindex>
#include <unordered_map>

namespace Kel {

uint8_t byteCodeOf(const OpCode& op) {
    static const std::unordered_map<std::type_index, uint8_t> codes = {
#define KEL_OPCODE_TYPE(name, byte, kind, operand) {typeid(name), byte},
        KEL_OPCODES(KEL_OPCODE_TYPE)
#undef KEL_OPCODE_TYPE
    };
    auto found = codes.find(typeid(op));
    return found == codes.end() ? 0 : found->second;
}

const char* opcodeName(uint8_t byte) {
    switch (byte) {
#define KEL_OPCODE_NAME(name, code, kind, operand)                                                 \
    case code:                                                                                     \
        return #name;
        KEL_OPCODES(KEL_OPCODE_NAME)
#undef KEL_OPCODE_NAME
    }
    return "";
}

OperandShape opcodeOperand(uint8_t byte) {
    switch (byte) {
#define KEL_OPCODE_OPERAND(name, code, kind, operand)                                              \
    case code:                                                                                     \
        return operand;
        KEL_OPCODES(KEL_OPCODE_OPERAND)
#undef KEL_OPCODE_OPERAND
    }
    return OPERAND_NONE;
}

} // namespace Kel
