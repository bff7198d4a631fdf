// The disassembler: compiled code as text, one instruction per line with its
// operand, the blocks of SCOPE, LOOP and PUSH_CODE indented beneath their
// instruction, labels as "name:" lines. For tests and the kel tool.
#pragma once

#include "holder.h"

#include <string>

namespace Kel {

class CodeBlock;

// Function objects nested deeper than this (only a value built at run time
// can nest without end) are shown as "..." instead.
constexpr int MAX_DISASSEMBLY_DEPTH = 64;

// The code of `function`, then every member that has code, each as
// "function NAME" with its own disassembly indented beneath.
std::string disassemble(const Ref& function);
// The instructions of one block.
std::string disassemble(const CodeBlock& block);

} // namespace Kel
