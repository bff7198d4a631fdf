// What the parser's grammar routines share for building code: the writable
// code block of a function object, moving a temporary block into its final
// place, and fixing up jumps. Instructions enter blocks through
// CodeBlock::append, where the peephole optimiser lives (appender.cpp).
#pragma once

#include "holder.h"

namespace Kel {

class CodeBlock;

namespace variable::Variable {
class vObject;
}

namespace codegen {

// The code block of `function`, ready to be appended to: made on first use,
// copied first when another function object shares it.
CodeBlock& writableCode(variable::Variable::vObject& function);

// A new block for code whose place is not known yet.
CodeBlock* temporaryBlock();

// Moves the instructions of `from`, a temporary block, to the end of `to` in
// order, past the optimiser (they were optimised where they were made), and
// drops `from`.
void appendBlock(CodeBlock& to, CodeBlock* from);

// A new function object whose code is `block` (whose reference it takes).
Ref functionOf(CodeBlock* block);

// Drops a trailing parentheses marker now instead of at the next append, so
// that a size taken as a jump target stays true once the next instruction
// arrives.
void settle(CodeBlock& code);

// Points the jump at `index` to `target`.
void setJump(CodeBlock& code, int index, int target);

} // namespace codegen
} // namespace Kel
