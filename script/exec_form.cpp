// Deriving the execution form of a code block: one step per instruction, the
// operands the run loop needs copied into it, and the runs of instructions
// that a single step can stand for recognised once, here, instead of on
// every execution.
#include "exec_form.h"

#include "code_block.h"
#include "instructions.h"
#include "numbers.h"
#include "object.h"

#include <algorithm>

namespace Kel {
namespace {

// Numbers every parameter list made.
uint64_t g_parameterListSerial = 0;

// Longest parameter list bound in one step. Longer lists are bound by their
// instructions; the limit keeps the span in its byte and the layout small.
constexpr size_t MAX_FUSED_PARAMETERS = CallArguments::MAX_ARGUMENTS;

// A variable's read, an operand and +=, -= or *=.
constexpr uint8_t COMPOUND_SPAN = 3;

// A variable's read and a member of it, in one step.
constexpr uint8_t MEMBER_READ_SPAN = 2;

// A jump target as the jump instructions clamp it: an index outside the
// block's range ends the block, at the step that stands for its end.
int32_t clampedTarget(const CodeBlock& block, int64_t target) {
    return target >= 0 && target < block.size() ? static_cast<int32_t>(target) : block.size();
}

uint8_t byteAt(const CodeBlock& block, int index) {
    return index < block.size() ? byteCodeOf(*block.at(index)) : 0;
}

bool isComparison(uint8_t byte) {
    return byte >= OP_EQ && byte <= OP_GT;
}

// A variable's read or an int constant.
bool isOperand(uint8_t byte) {
    return byte == OP_VARIABLE || byte == OP_PUSH_INT;
}

bool isConditionalJump(uint8_t byte) {
    return byte == OP_JT || byte == OP_JF || byte == OP_JRT || byte == OP_JRF;
}

// Where a jump at `index` lands: absolute jumps name the index, relative ones
// count from the instruction after them.
int32_t jumpTarget(const CodeBlock& block, int index) {
    OpCode* op = block.at(index);
    switch (byteCodeOf(*op)) {
    case OP_JMP:
        return clampedTarget(block, static_cast<JMP*>(op)->target());
    case OP_JT:
        return clampedTarget(block, static_cast<JT*>(op)->target());
    case OP_JF:
        return clampedTarget(block, static_cast<JF*>(op)->target());
    case OP_JR:
        return clampedTarget(block, int64_t{index} + 1 + static_cast<JR*>(op)->target());
    case OP_JRT:
        return clampedTarget(block, int64_t{index} + 1 + static_cast<JRT*>(op)->target());
    default:
        return clampedTarget(block, int64_t{index} + 1 + static_cast<JRF*>(op)->target());
    }
}

// A comparison at `compare` whose result only the conditional jump after it
// reads: the step compares and jumps, standing for `span` instructions.
void setCompareJump(Step& step, const CodeBlock& block, int compare, StepAction action, int span) {
    const uint8_t jump = byteAt(block, compare + 1);
    step.action = action;
    step.operation = static_cast<uint8_t>(byteAt(block, compare) - OP_EQ);
    step.target = jumpTarget(block, compare + 1);
    step.when = jump == OP_JT || jump == OP_JRT;
    step.span = static_cast<uint8_t>(span);
}

// Whether the value on top of the stack at `index` is dropped before anything
// reads it: the next instruction is a statement's POP, or an `if` whose test
// compares two operands (whatever that runs leaves the stack below them as
// it was) and whose every way on starts with a POP: the one behind the test,
// and where the test jumps to, inside the body or after it.
bool droppedUnread(const CodeBlock& block, int index) {
    uint8_t byte = byteAt(block, index);
    if (byte == OP_POP) return true;
    if (byte != OP_SCOPE) return false;
    const CodeBlock& body = *static_cast<SCOPE*>(block.at(index))->block();
    if (!isOperand(byteAt(body, 0)) || !isOperand(byteAt(body, 1)) ||
        !isComparison(byteAt(body, 2)) || !isConditionalJump(byteAt(body, 3)) ||
        byteAt(body, 4) != OP_POP)
        return false;
    int32_t target = jumpTarget(body, 3);
    return target == body.size() ? byteAt(block, index + 1) == OP_POP
                                 : byteAt(body, target) == OP_POP;
}

// A parameter's read or an int constant.
bool isParameterOperand(const CodeBlock& block, int index, const ParameterList& list) {
    uint8_t byte = byteAt(block, index);
    return byte == OP_PUSH_INT ||
           (byte == OP_VARIABLE &&
            list.indexOf(static_cast<VARIABLE*>(block.at(index))->name()) != ParameterList::ABSENT);
}

// Whether the instruction at `index` is an `if` whose test compares two of
// the list's parameters or int constants.
bool testsParameters(const CodeBlock& block, int index, const ParameterList& list) {
    if (byteAt(block, index) != OP_SCOPE) return false;
    const CodeBlock& body = *static_cast<SCOPE*>(block.at(index))->block();
    return isParameterOperand(body, 0, list) && isParameterOperand(body, 1, list) &&
           isComparison(byteAt(body, 2)) && isConditionalJump(byteAt(body, 3));
}

// Whether the instructions at `first` and `second` are reads of one name.
bool readsSame(const CodeBlock& block, int first, int second) {
    return byteAt(block, first) == OP_VARIABLE && byteAt(block, second) == OP_VARIABLE &&
           static_cast<VARIABLE*>(block.at(first))->name() ==
               static_cast<VARIABLE*>(block.at(second))->name();
}

uint8_t operandKind(uint8_t byte, OperandKinds constant) {
    return byte == OP_PUSH_INT ? constant : 0;
}

bool isIntStep(uint8_t byte) {
    return byte == OP_INC || byte == OP_DEC || byte == OP_PINC || byte == OP_PDEC;
}

// ++ or -- on an int: its direction, and whether prefix.
void setIntStep(Step& step, uint8_t byte) {
    step.operation = byte == OP_DEC || byte == OP_PDEC ? 1 : 0;
    step.when = byte == OP_PINC || byte == OP_PDEC;
    // The copy of the old value a postfix step pushes is nearly always
    // dropped unseen (a loop's `i++`): one holder serves each time that
    // nothing else holds it any more.
    if (!step.when) step.constant = Holder::make(new variable::Variable::vInt(0));
}

Holder* constantHolder(OpCode* op, uint8_t byte) {
    switch (byte) {
    case OP_PUSH_INT:
        return static_cast<PUSH_INT*>(op)->holder().get();
    case OP_PUSH_HEX:
        return static_cast<PUSH_HEX*>(op)->holder().get();
    case OP_PUSH_FLOAT:
        return static_cast<PUSH_FLOAT*>(op)->holder().get();
    default:
        return static_cast<PUSH_STRING*>(op)->holder().get();
    }
}

} // namespace

uint32_t ParameterList::indexOf(std::string_view name) const {
    for (uint32_t i = 0; i < names.size(); ++i)
        if (names[i].view() == name) return i;
    return ABSENT;
}

ExecForm::ExecForm(const CodeBlock& block) {
    m_steps.resize(static_cast<size_t>(block.size()));
    for (int i = 0; i < block.size(); ++i)
        translate(block, i);
    // Over the steps made: each looks at the one after it.
    for (int i = 0; i + 1 < block.size(); ++i) {
        fuseAssignRead(block, i);
        fuseLoopStep(block, i);
        fuseCompoundElement(block, i);
    }
    m_steps.push_back(Step{nullptr, {nullptr}, 0, STEP_END, 0, 0, false, 0});
}

ExecForm::~ExecForm() {
    for (Step& step : m_steps)
        if ((step.action == STEP_INT_STEP || step.action == STEP_READ_INT_STEP ||
             step.action == STEP_LOOP_INT_STEP) &&
            step.constant)
            step.constant->release();
}

void ExecForm::translate(const CodeBlock& block, int index) {
    Step& step = m_steps[static_cast<size_t>(index)];
    step = Step{block.at(index), {nullptr}, 0, STEP_INSTRUCTION, 0, 1, false, 0};
    if (fuseCall(block, index) || fuseParameters(block, index) || fuseOperands(block, index) ||
        fuseComparisonJump(block, index) || fuseMemberRead(block, index) ||
        fuseReadIntStep(block, index))
        return;
    uint8_t byte = byteAt(block, index);
    switch (byte) {
    case OP_PUSH_INT:
    case OP_PUSH_HEX:
    case OP_PUSH_FLOAT:
    case OP_PUSH_STRING:
        step.action = STEP_PUSH_CONSTANT;
        step.constant = constantHolder(step.op, byte);
        break;
    case OP_POP:
        step.action = STEP_POP;
        break;
    case OP_VARIABLE:
        step.action = STEP_VARIABLE;
        break;
    case OP_SUBSTITUTION:
        step.action = STEP_SUBSTITUTE;
        break;
    case OP_INC:
    case OP_DEC:
    case OP_PINC:
    case OP_PDEC:
        step.action = STEP_INT_STEP;
        setIntStep(step, byte);
        break;
    case OP_SADD:
    case OP_SSUB:
    case OP_SMUL:
        step.action = STEP_COMPOUND;
        step.operation = static_cast<uint8_t>(byte - OP_SADD);
        break;
    case OP_CALL:
        step.action = STEP_CALL;
        step.target = block.kindAt(index + 1);
        break;
    case OP_LIST:
        step.action = STEP_LIST;
        break;
    case OP_SCOPE:
        step.action = STEP_BLOCK;
        break;
    case OP_RETURN:
        step.action = STEP_RETURN;
        break;
    case OP_JMP:
    case OP_JR:
        step.action = STEP_JUMP;
        step.target = jumpTarget(block, index);
        break;
    case OP_JT:
    case OP_JF:
    case OP_JRT:
    case OP_JRF:
        step.action = STEP_JUMP_IF;
        step.target = jumpTarget(block, index);
        step.when = byte == OP_JT || byte == OP_JRT;
        break;
    default:
        if (byte >= OP_ADD && byte <= OP_SHR) {
            step.action = STEP_OPERATOR;
            step.operation = static_cast<uint8_t>(byte - OP_ADD);
            // `x = a op b`: the result need not be made when x is an int too.
            step.when = byteAt(block, index + 1) == OP_SUBSTITUTION;
            if (step.when) step.span = 2;
        } else if (isComparison(byte)) {
            step.action = STEP_COMPARE;
            step.operation = static_cast<uint8_t>(byte - OP_EQ);
        }
        break;
    }
}

// A comparison whose result only a conditional jump reads never needs the
// int it would push.
bool ExecForm::fuseComparisonJump(const CodeBlock& block, int index) {
    uint8_t byte = byteAt(block, index);
    if (!isComparison(byte) || !isConditionalJump(byteAt(block, index + 1))) return false;
    setCompareJump(m_steps[static_cast<size_t>(index)], block, index, STEP_COMPARE_JUMP, 2);
    return true;
}

// Two operands read only to be compared or combined need not be pushed:
// `a < b` that a jump tests, `a + b` and the other two-operand operators,
// `a[b]`, where a and b are each a variable or an int constant.
bool ExecForm::fuseOperands(const CodeBlock& block, int index) {
    if (!isOperand(byteAt(block, index)) || !isOperand(byteAt(block, index + 1))) return false;
    uint8_t byte = byteAt(block, index + 2);
    Step& step = m_steps[static_cast<size_t>(index)];
    if (isComparison(byte) && isConditionalJump(byteAt(block, index + 3))) {
        setCompareJump(step, block, index + 2, STEP_OPERANDS_COMPARE_JUMP, 4);
    } else if (byte >= OP_ADD && byte <= OP_SHR) {
        step.action = STEP_OPERANDS_OPERATOR;
        step.operation = static_cast<uint8_t>(byte - OP_ADD);
        step.span = 3;
        // `x += a op b` or `x = a op b`: the result need not be made when x
        // is an int too.
        uint8_t next = byteAt(block, index + 3);
        step.when =
            next == OP_SADD || next == OP_SSUB || next == OP_SMUL || next == OP_SUBSTITUTION;
        step.target = next == OP_SUBSTITUTION ? SUBSTITUTION_AFTER : next - OP_SADD;
    } else if (byte == OP_INDEX) {
        step.action = STEP_OPERANDS_INDEX;
        step.span = INDEX_SPAN;
        uint8_t next = byteAt(block, index + INDEX_SPAN);
        if (next == OP_PUSH_INT && byteAt(block, index + 4) == OP_SUBSTITUTION &&
            byteAt(block, index + 5) == OP_POP) {
            // `a[b] = 1;`: the element need not be pushed to take the number.
            step.operation = INDEX_WRITE;
            step.span = INDEX_SPAN + ELEMENT_WRITE_SPAN;
        } else if (isConditionalJump(next)) {
            // `if (a[b])`: nor to be tested.
            step.operation = INDEX_JUMP;
            step.span = INDEX_SPAN + 1;
            step.target = jumpTarget(block, index + INDEX_SPAN);
            step.when = next == OP_JT || next == OP_JRT;
        }
    } else {
        return false;
    }
    step.second = block.at(index + 1);
    step.operands =
        static_cast<uint8_t>((byteAt(block, index) == OP_PUSH_INT ? FIRST_IS_CONSTANT : 0) |
                             (byteAt(block, index + 1) == OP_PUSH_INT ? SECOND_IS_CONSTANT : 0));
    return true;
}

// `a.name`: the variable's holder is never pushed, only the member.
bool ExecForm::fuseMemberRead(const CodeBlock& block, int index) {
    if (byteAt(block, index) != OP_VARIABLE || byteAt(block, index + 1) != OP_MEMBER) return false;
    Step& step = m_steps[static_cast<size_t>(index)];
    step.action = STEP_READ_MEMBER;
    step.second = block.at(index + 1);
    step.span = MEMBER_READ_SPAN;
    return true;
}

// `x++` (a loop's step), `++x` and the like: the variable's holder is never
// pushed before it changes.
bool ExecForm::fuseReadIntStep(const CodeBlock& block, int index) {
    if (byteAt(block, index) != OP_VARIABLE || !isIntStep(byteAt(block, index + 1))) return false;
    Step& step = m_steps[static_cast<size_t>(index)];
    setIntStep(step, byteAt(block, index + 1));
    step.action = STEP_READ_INT_STEP;
    step.span = 2;
    return true;
}

// `x += a op b;` or `x = a op b;`: x's holder need not be pushed and popped
// when it is an int.
void ExecForm::fuseAssignRead(const CodeBlock& block, int index) {
    Step& step = m_steps[static_cast<size_t>(index)];
    const Step& operands = m_steps[static_cast<size_t>(index) + 1];
    if (step.action != STEP_VARIABLE || operands.action != STEP_OPERANDS_OPERATOR ||
        !operands.when || byteAt(block, index + 1 + operands.span + 1) != OP_POP)
        return;
    step.action = STEP_ASSIGN_READ;
    // The read, the operands' step, the assignment and the pop.
    step.span = static_cast<uint8_t>(operands.span + 3);
}

// `x += y;` needs no x pushed to be popped. `for (...; ...; i++) body` or
// `k += i`: the step's value is kept on the stack through the test only to be
// popped where the body starts, so on the way into the body it need not be
// made at all.
void ExecForm::fuseLoopStep(const CodeBlock& block, int index) {
    Step& step = m_steps[static_cast<size_t>(index)];
    uint8_t compound = byteAt(block, index + 2);
    bool counts = step.action == STEP_READ_INT_STEP;
    bool adds = step.action == STEP_VARIABLE && isOperand(byteAt(block, index + 1)) &&
                (compound == OP_SADD || compound == OP_SSUB || compound == OP_SMUL);
    int jumpAt = counts ? index + 2 : index + 3;
    uint8_t jump = byteAt(block, jumpAt);
    if (adds && jump == OP_POP) {
        // `x += y;` as a statement: x's holder, pushed only to be popped.
        step.action = STEP_COMPOUND_STATEMENT;
    } else {
        if ((!counts && !adds) || (jump != OP_JMP && jump != OP_JR)) return;
        int32_t test = jumpTarget(block, jumpAt);
        if (test >= block.size()) return;
        const Step& compare = m_steps[static_cast<size_t>(test)];
        if (compare.action != STEP_OPERANDS_COMPARE_JUMP ||
            byteAt(block, test + compare.span) != OP_POP)
            return;
        step.target = test;
        uint8_t stepped = readsSame(block, index, test) ? TEST_READS_STEPPED : 0;
        if (counts) {
            step.action = STEP_LOOP_INT_STEP;
            step.operands = stepped;
            return;
        }
        step.action = STEP_LOOP_COMPOUND;
        step.operands = stepped;
    }
    step.second = block.at(index + 1);
    step.operands |= operandKind(byteAt(block, index + 1), SECOND_IS_CONSTANT);
    step.operation = static_cast<uint8_t>(compound - OP_SADD);
    step.span = COMPOUND_SPAN;
}

// `x += a[b];`: neither x's holder nor the element need be pushed.
void ExecForm::fuseCompoundElement(const CodeBlock& block, int index) {
    Step& step = m_steps[static_cast<size_t>(index)];
    const Step& element = m_steps[static_cast<size_t>(index) + 1];
    if (step.action != STEP_VARIABLE || element.action != STEP_OPERANDS_INDEX ||
        element.operation != INDEX_READ)
        return;
    int compound = index + 1 + INDEX_SPAN;
    uint8_t byte = byteAt(block, compound);
    if ((byte != OP_SADD && byte != OP_SSUB && byte != OP_SMUL) ||
        byteAt(block, compound + 1) != OP_POP)
        return;
    step.action = STEP_COMPOUND_ELEMENT;
    step.operation = static_cast<uint8_t>(byte - OP_SADD);
    step.target = index + 1;
    // The read, the index's instructions and the compound; the pop besides.
    step.span = INDEX_SPAN + 2;
}

// Recognises `PUSH_NULL, LOCAL n1, (PUSH_NULL, LOCAL nk, LIST)*, ARGUMENT` with
// names that differ, and lays out the table its declarations build.
bool ExecForm::fuseParameters(const CodeBlock& block, int index) {
    if (byteAt(block, index) != OP_PUSH_NULL || byteAt(block, index + 1) != OP_LOCAL) return false;
    ParameterList list;
    list.serial = ++g_parameterListSerial;
    list.names.push_back(SharedString(static_cast<LOCAL*>(block.at(index + 1))->name()));
    int next = index + 2;
    while (byteAt(block, next) == OP_PUSH_NULL && byteAt(block, next + 1) == OP_LOCAL &&
           byteAt(block, next + 2) == OP_LIST) {
        list.names.push_back(SharedString(static_cast<LOCAL*>(block.at(next + 1))->name()));
        next += 3;
    }
    if (byteAt(block, next) != OP_ARGUMENT || list.names.size() > MAX_FUSED_PARAMETERS)
        return false;
    for (size_t i = 0; i < list.names.size(); ++i) {
        for (size_t j = 0; j < i; ++j)
            if (list.names[i].view() == list.names[j].view()) return false;
    }
    list.layout.setQuiet();
    for (const SharedString& name : list.names)
        list.layout.insert(name);
    for (const SharedString& name : list.names)
        list.slots.push_back(list.layout.slotIndex(*list.layout.find(name.view())));

    list.droppedUnread = droppedUnread(block, next + 1);
    list.leadingTest = testsParameters(block, next + 1, list);

    Step& step = m_steps[static_cast<size_t>(index)];
    step.action = STEP_PARAMETERS;
    step.target = static_cast<int32_t>(m_parameters.size());
    step.span = static_cast<uint8_t>(next + 1 - index);
    step.operands = static_cast<uint8_t>(list.names.size());
    m_parameters.push_back(std::move(list));
    return true;
}

// Recognises `VARIABLE f` or `VARIABLE o, MEMBER m`, then one or more
// arguments, each an operand or two operands and a two-operand operator, all
// but the first followed by `LIST`, then `CALL`: each argument pushes one
// value, so the lists and the call take exactly those values.
bool ExecForm::fuseCall(const CodeBlock& block, int index) {
    if (byteAt(block, index) != OP_VARIABLE) return false;
    CallArguments call;
    int next = index + 1;
    OpCode* member = byteAt(block, next) == OP_MEMBER ? block.at(next++) : nullptr;
    while (byteAt(block, next) != OP_CALL) {
        if (call.arguments.size() == MAX_FUSED_PARAMETERS || !isOperand(byteAt(block, next)))
            return false;
        CallArguments::Argument argument{block.at(next), nullptr,
                                         operandKind(byteAt(block, next), FIRST_IS_CONSTANT), 0};
        uint8_t byte = byteAt(block, next + 2);
        if (isOperand(byteAt(block, next + 1)) && byte >= OP_ADD && byte <= OP_SHR) {
            argument.second = block.at(next + 1);
            argument.operands |= operandKind(byteAt(block, next + 1), SECOND_IS_CONSTANT);
            argument.operation = static_cast<uint8_t>(byte - OP_ADD);
            next += 2;
        }
        ++next;
        call.arguments.push_back(argument);
        if (call.arguments.size() > 1 && byteAt(block, next++) != OP_LIST) return false;
    }
    if (call.arguments.empty()) return false;
    call.member = member;
    call.after = next + 1;
    call.nextKind = block.kindAt(next + 1);

    Step& step = m_steps[static_cast<size_t>(index)];
    step.action = STEP_CALL_ARGUMENTS;
    step.target = static_cast<int32_t>(m_calls.size());
    step.span = static_cast<uint8_t>(next + 1 - index);
    m_calls.push_back(std::move(call));
    return true;
}

void ExecForm::decline(const Step& call) const {
    // The steps are this form's own; only the run loop's view of them is const.
    Step& step = const_cast<Step&>(call);
    if (m_calls[static_cast<size_t>(step.target)].member) {
        step.action = STEP_READ_MEMBER;
        step.second = m_calls[static_cast<size_t>(step.target)].member;
        step.span = MEMBER_READ_SPAN;
    } else {
        step.action = STEP_VARIABLE;
        step.span = 1;
    }
}

} // namespace Kel
