// The peephole optimiser, which every instruction entering a code block passes
// (generated or read from a compiled file): it drops discarded values, turns a
// discarded postfix step into a prefix one and folds constants, looking only at
// the block's last few instructions, which the parser's jump arithmetic needs.
#include "code_block.h"

#include "env.h"
#include "instructions.h"
#include "member_table.h"
#include "value.h"

#include <cstdint>
#include <initializer_list>

namespace Kel {
namespace {

using namespace variable::Variable;

// Folding a string repetition that would produce more bytes than this is
// left to run time, so that a literal cannot make the compiler allocate
// without bound.
constexpr int64_t MAX_FOLDED_TEXT = 64 * 1024;

// The constant's own value, or none for PUSH_NULL, which has no value of its
// own to receive a folded result.
const Ref* constantValue(const OpCode* op) {
    if (auto* constant = dynamic_cast<const PUSH_INT*>(op)) return &constant->holder();
    if (auto* constant = dynamic_cast<const PUSH_HEX*>(op)) return &constant->holder();
    if (auto* constant = dynamic_cast<const PUSH_FLOAT*>(op)) return &constant->holder();
    if (auto* constant = dynamic_cast<const PUSH_STRING*>(op)) return &constant->holder();
    return nullptr;
}

bool repeatsTextTooLong(const OpCode* operation, const OpCode* left, const OpCode* right) {
    if (!dynamic_cast<const MUL*>(operation) && !dynamic_cast<const SMUL*>(operation)) return false;
    auto* text = dynamic_cast<const PUSH_STRING*>(left);
    const Ref* count = constantValue(right);
    if (!text || !count) return false;
    int64_t times = count->value()->toInt();
    return times > 1 && static_cast<int64_t>(text->value().size()) * times > MAX_FOLDED_TEXT;
}

// Runs `operation` over copies of the constants' values in a scratch
// environment, as it would run later, and answers its result.
Ref evaluate(OpCode* operation, std::initializer_list<OpCode*> constants) {
    Env scratch;
    for (OpCode* constant : constants) {
        constant->execute(scratch);
        Ref value = scratch.pop();
        scratch.push(Ref::adopt(value->cloneHolder()));
    }
    operation->execute(scratch);
    Ref result = scratch.pop();
    while (scratch.stackSize() != 0)
        scratch.pop();
    return result;
}

// A new constant holding `result`, of the class of the result itself: the
// arithmetic keeps the left operand's class anyway, and a comparison or `!`
// gives an int at run time, so the folded literal must be an int too. None
// for a constant without a value of its own or a result no literal can hold.
OpCode* folded(const OpCode* constant, const Ref& result) {
    if (!constantValue(constant)) return nullptr;
    vBase* answer = result.value();
    switch (answer->typeCode()) {
    case TYPE_INT:
        return new PUSH_INT(answer->toInt());
    case TYPE_HEX:
        return new PUSH_HEX(static_cast<uint32_t>(answer->toInt()));
    case TYPE_FLOAT:
        return new PUSH_FLOAT(answer->toFloat());
    case TYPE_STRING:
        return new PUSH_STRING(answer->toString().view());
    default:
        return nullptr;
    }
}

} // namespace

void CodeBlock::append(OpCode* op) {
    int kind = op->kind();
    int size = this->size();

    // A label at the end marks where a jump will land: nothing before it may
    // be dropped or merged any more, or the label would point past its place.
    if (size > 0 && m_labels && !m_labels->empty()) {
        bool labelled = false;
        m_labels->forEach([&](MemberTable::Entry& label) { labelled |= label.number == size; });
        if (labelled) {
            if (kind == KIND_PLUS)
                delete op;
            else
                appendRaw(op);
            return;
        }
    }

    // The parentheses marker only matters to a list that follows it; left in
    // place it would hide the value below it from the folds further down.
    int last = kindAt(size - 1);
    if (kind != KIND_LIST && last == KIND_PARENTHESES) {
        removeLast();
        --size;
        last = kindAt(size - 1);
    }
    // Unary plus does nothing, so it never reaches the block.
    if (kind == KIND_PLUS) {
        delete op;
        return;
    }
    if (size == 0) {
        appendRaw(op);
        return;
    }

    // A JR skips exactly one constant (the result of "||" and "&&", the false
    // branch of "?:"); that constant must stay where it is. Only a constant or
    // a variable at the end can be one that is folded or dropped.
    bool guardedLast =
        (last == KIND_CONSTANT || last == KIND_VARIABLE) && kindAt(size - 2) == KIND_JR;

    // A discarded constant or variable was never needed; a discarded
    // postfix step needs no copy of the old value, so it becomes a prefix one.
    if (kind == KIND_POP) {
        if ((last == KIND_CONSTANT || last == KIND_VARIABLE) && !guardedLast) {
            removeLast();
            delete op;
            return;
        }
        if (last == KIND_INC)
            replace(size - 1, new PINC);
        else if (last == KIND_DEC)
            replace(size - 1, new PDEC);
        appendRaw(op);
        return;
    }

    // A unary operator or postfix step on a constant is done now, once, instead
    // of on every run of the block.
    if ((kind == KIND_UNARY || kind == KIND_INC || kind == KIND_DEC) && last == KIND_CONSTANT &&
        !guardedLast) {
        OpCode* constant = at(size - 1);
        OpCode* result =
            constantValue(constant) ? folded(constant, evaluate(op, {constant})) : nullptr;
        if (result) {
            replace(size - 1, result);
            delete op;
            return;
        }
    }

    // Likewise a two-operand operator on two constants, unless the left one is
    // the constant a JR skips to (it is only one branch's result).
    if (kind == KIND_BINARY && size >= 2 && last == KIND_CONSTANT &&
        kindAt(size - 2) == KIND_CONSTANT && kindAt(size - 3) != KIND_JR) {
        OpCode* left = at(size - 2);
        OpCode* right = at(size - 1);
        OpCode* result = constantValue(left) && !repeatsTextTooLong(op, left, right)
                             ? folded(left, evaluate(op, {left, right}))
                             : nullptr;
        if (result) {
            replace(size - 2, result);
            removeLast();
            delete op;
            return;
        }
    }

    // Nothing to fold: the instruction goes in as it is.
    appendRaw(op);
}

} // namespace Kel
