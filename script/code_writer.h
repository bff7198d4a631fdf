// The compiled-code writer: instruction streams, code blocks with their label
// tables, function objects and whole compiled script files, in the byte format
// that the compiled-code reader (code_reader.h) reads back.
#pragma once

#include "byte_writer.h"
#include "holder.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace Kel {

class CodeBlock;

// The first four bytes of a compiled script file (stored little-endian).
constexpr uint32_t COMPILED_SCRIPT_MAGIC = 0xBCDEF01Au;
// Function objects nested deeper than this (through members that lead back to
// an enclosing function, say) are not written or read: the nesting stops the
// native stack from running out on a cycle or on a hostile file.
constexpr int MAX_COMPILED_NESTING = 256;

// A code block: its instructions, its labels (0xF0 ... 0xFF) if any, then 0xFF.
void writeBlock(const CodeBlock& block, ByteWriter& out);
// A function object: 0xF1, `name`, every member with code as a nested function
// object, then its own code block (just 0xFF when it has none).
void writeFunction(const Ref& function, std::string_view name, ByteWriter& out);
// A compiled script file: the magic, then `function` as the anonymous top level.
std::vector<uint8_t> writeCompiledScript(const Ref& function);
// The same bytes written to `file` as they are made; false when a write failed.
bool writeCompiledScript(const Ref& function, FILE* file);

} // namespace Kel
