// The compiled-code reader: rebuilds function objects from the byte format of
// the compiled-code writer (code_writer.h). It never trusts its input: a
// truncated or damaged file gives whatever could be read before the damage.
#pragma once

#include "holder.h"

#include <cstddef>
#include <cstdint>

namespace Kel {

// True when `data` starts with the compiled-script magic.
bool isCompiledScript(const uint8_t* data, size_t size);
// A new function object read from a compiled script file. A file without the
// magic followed by 0xF1 0x00 gives an empty function.
Ref readCompiledScript(const uint8_t* data, size_t size);

} // namespace Kel
