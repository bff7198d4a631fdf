// Disassembly of code blocks and function objects. The operand of each
// instruction is read through its class's accessors, chosen by the one
// instruction list, so every instruction the system knows is shown.
#include "disassembler.h"

#include "code_block.h"
#include "instructions.h"
#include "member_table.h"
#include "object.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace Kel {
namespace {

using variable::Variable::TYPE_OBJECT;
using variable::Variable::vBase;

void writeBlock(std::string& out, const CodeBlock& block, int depth);
void writeFunction(std::string& out, vBase* function, int depth);

void indent(std::string& out, int depth) {
    out.append(static_cast<size_t>(2 * depth), ' ');
}

void appendNumber(std::string& out, const char* format, auto value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

// The shortest form that reads back as the same double.
void appendFloat(std::string& out, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    if (std::strtod(buffer, nullptr) != value) std::snprintf(buffer, sizeof buffer, "%.17g", value);
    out += buffer;
}

// Quoted, with the line breaks, quotes, backslashes and control bytes a
// line of output must not hold written as escapes.
void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char byte : text) {
        switch (byte) {
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
                appendNumber(out, "\\x%02X",
                             static_cast<unsigned>(static_cast<unsigned char>(byte)));
            else
                out += byte;
        }
    }
    out += '"';
}

// The operand of one instruction class (after its name), and the nested
// block or function beneath it.
template <class Instruction> void writeOperand(std::string& out, const Instruction& op, int depth) {
    if constexpr (requires { op.name(); }) {
        out += ' ';
        out += op.name();
    } else if constexpr (requires { op.target(); }) {
        appendNumber(out, " %d", op.target());
    } else if constexpr (requires { op.index(); }) {
        appendNumber(out, " %d", op.index());
    } else if constexpr (requires { op.restart(); }) {
        appendNumber(out, " %d", op.restart());
    } else if constexpr (requires { op.value(); }) {
        auto value = op.value();
        out += ' ';
        if constexpr (std::is_same_v<decltype(value), int32_t>)
            appendNumber(out, "%d", value);
        else if constexpr (std::is_same_v<decltype(value), uint32_t>)
            appendNumber(out, "0x%X", value);
        else if constexpr (std::is_same_v<decltype(value), double>)
            appendFloat(out, value);
        else
            appendQuoted(out, value);
    }
    out += '\n';
    if constexpr (requires { op.block(); }) {
        if (op.block()) writeBlock(out, *op.block(), depth + 1);
    } else if constexpr (requires { op.function(); }) {
        writeFunction(out, op.function().value(), depth + 1);
    }
}

void writeInstruction(std::string& out, const OpCode& op, int depth) {
    indent(out, depth);
    uint8_t code = byteCodeOf(op);
    switch (code) {
#define KEL_WRITE_INSTRUCTION(name, byte, kind, operand)                                           \
    case byte:                                                                                     \
        out += #name;                                                                              \
        writeOperand(out, static_cast<const name&>(op), depth);                                    \
        return;
        KEL_OPCODES(KEL_WRITE_INSTRUCTION)
#undef KEL_WRITE_INSTRUCTION
    }
    out += "?\n";
}

void writeBlock(std::string& out, const CodeBlock& block, int depth) {
    std::vector<std::pair<int, std::string_view>> labels;
    block.labels().forEach(
        [&](MemberTable::Entry& label) { labels.emplace_back(label.number, label.name.view()); });
    auto writeLabelsAt = [&](int index) {
        for (const auto& [at, name] : labels) {
            if (at == index) {
                indent(out, depth);
                out.append(name);
                out += ":\n";
            }
        }
    };
    for (int i = 0; i < block.size(); ++i) {
        writeLabelsAt(i);
        writeInstruction(out, *block.at(i), depth);
    }
    writeLabelsAt(block.size());
}

void writeFunction(std::string& out, vBase* function, int depth) {
    if (!function) return;
    if (depth > MAX_DISASSEMBLY_DEPTH) {
        indent(out, depth);
        out += "...\n";
        return;
    }
    if (CodeBlock* code = function->code()) writeBlock(out, *code, depth);
    if (function->typeCode() != TYPE_OBJECT) return;
    static_cast<variable::Variable::vObject*>(function)->members().forEach(
        [&](MemberTable::Entry& member) {
            vBase* value = member.value.value();
            if (!value || !value->code()) return;
            indent(out, depth);
            out += "function ";
            out.append(member.name.view());
            out += '\n';
            writeFunction(out, value, depth + 1);
        });
}

} // namespace

std::string disassemble(const Ref& function) {
    std::string out;
    writeFunction(out, function.value(), 0);
    return out;
}

std::string disassemble(const CodeBlock& block) {
    std::string out;
    writeBlock(out, block, 0);
    return out;
}

} // namespace Kel
