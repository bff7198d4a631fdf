// Writing compiled code. Each instruction serialises itself; this file adds
// the framing around them: blocks with label tables, function objects with
// their members, and the file header.
#include "code_writer.h"

#include "code_block.h"
#include "member_table.h"
#include "object.h"
#include "opcode.h"
#include "opcode_list.h"

namespace Kel {

using namespace variable::Variable;

namespace {

// Depth of function objects being written, across the values' serialize calls.
int g_functionDepth = 0;

struct FunctionDepthGuard {
    FunctionDepthGuard() { ++g_functionDepth; }
    ~FunctionDepthGuard() { --g_functionDepth; }
};

void writeFunctionBody(const vObject& function, ByteWriter& out) {
    // Members with code first: the reader fills them in before the code that uses them.
    if (g_functionDepth < MAX_COMPILED_NESTING) {
        function.members().forEach([&](MemberTable::Entry& member) {
            vBase* value = member.value.value();
            if (value && value->code()) value->serialize(member.name.view(), out);
        });
    }
    if (const CodeBlock* block = function.codeBlock())
        writeBlock(*block, out);
    else
        out.byte(STREAM_END);
}

// The magic, then the function as the anonymous top level.
void writeScript(const Ref& function, ByteWriter& out) {
    out.u32(COMPILED_SCRIPT_MAGIC);
    writeFunction(function, "", out);
}

} // namespace

void writeBlock(const CodeBlock& block, ByteWriter& out) {
    for (int i = 0; i < block.size(); ++i)
        block.at(i)->serialize(out);
    const MemberTable& labels = block.labels();
    if (!labels.empty()) {
        out.byte(STREAM_LABELS);
        labels.forEach([&](MemberTable::Entry& label) {
            out.i32(label.number);
            out.text(label.name.view());
        });
        out.byte(STREAM_END);
    }
    out.byte(STREAM_END);
    out.settle();
}

void writeFunction(const Ref& function, std::string_view name, ByteWriter& out) {
    vBase* value = function.value();
    if (value && value->typeCode() == TYPE_OBJECT) {
        value->serialize(name, out);
        return;
    }
    // Not a function object: an empty function keeps the stream readable.
    out.byte(STREAM_FUNCTION);
    out.text(name);
    out.byte(STREAM_END);
}

std::vector<uint8_t> writeCompiledScript(const Ref& function) {
    ByteWriter out;
    writeScript(function, out);
    return out.take();
}

bool writeCompiledScript(const Ref& function, FILE* file) {
    ByteWriter out(file);
    writeScript(function, out);
    return out.finish();
}

} // namespace Kel

namespace Kel::variable::Variable {

void vObject::serialize(std::string_view name, ByteWriter& out) {
    FunctionDepthGuard guard;
    out.byte(STREAM_FUNCTION);
    out.text(name);
    writeFunctionBody(*this, out);
}

} // namespace Kel::variable::Variable
