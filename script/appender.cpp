// The one door every instruction enters a code block through, so that code
// read from a compiled file is treated exactly like freshly generated code.
#include "code_block.h"

namespace Kel {

void CodeBlock::append(OpCode* op) { appendRaw(op); }

} // namespace Kel
